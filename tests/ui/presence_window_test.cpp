// SPDX-License-Identifier: GPL-3.0-or-later
// The presence monitors in the program: what the window and its tabs do as emulated devices
// come and go, the identities accepted, the same-mode option and the run-time flags.
#include <gtest/gtest.h>

#include <QStackedWidget>

#include "device_pages_rig.h"

using namespace orvane;
using pagestest::DeviceRig;
using device::DeviceModel;

namespace {

int DevicePage(DeviceRig& rig) { return rig.control<QStackedWidget>("tab_switch")->currentIndex(); }

TEST(PresenceWindow, MouseAloneShowsTheWindowAndLeavingHidesIt) {
    DeviceRig rig({DeviceModel::Mouse});
    ASSERT_TRUE(rig.waitForTab("ms_tab"));
    EXPECT_TRUE(shelltest::WaitUntil([&] { return rig.devices->flags.mousePresent.load(); }));
    EXPECT_TRUE(rig.window->isVisible());
    EXPECT_TRUE(rig.checked("ms_tab"));
    EXPECT_EQ(DevicePage(rig), 1);

    rig.device(DeviceModel::Mouse).unplug();
    EXPECT_TRUE(shelltest::WaitUntil([&] { return !rig.shown("ms_tab"); }));
    EXPECT_TRUE(shelltest::WaitUntil([&] { return !rig.window->isVisible(); }));
    EXPECT_FALSE(rig.devices->flags.mousePresent);

    rig.device(DeviceModel::Mouse).plug();  // found again by a later scan
    EXPECT_TRUE(rig.waitForTab("ms_tab"));
    EXPECT_TRUE(rig.window->isVisible());
}

TEST(PresenceWindow, MousepadAloneDoesNotShowTheWindow) {
    DeviceRig rig({DeviceModel::Mousepad});
    ASSERT_TRUE(rig.waitForTab("mp_tab"));
    rig.settle();
    EXPECT_FALSE(rig.window->isVisible());
    EXPECT_TRUE(rig.checked("mp_tab"));
    EXPECT_EQ(DevicePage(rig), 2);
    EXPECT_FALSE(rig.shown("mp_deng_same_mode"));  // no other device to share the effect with

    rig.device(DeviceModel::Mousepad).unplug();
    EXPECT_TRUE(shelltest::WaitUntil([&] { return !rig.shown("mp_tab"); }));
    EXPECT_FALSE(rig.window->isVisible());
}

TEST(PresenceWindow, MouseLeavingSwitchesToTheKeyboardOfTheRightModel) {
    struct Case {
        DeviceModel keyboard;
        const char* tab;
        const char* otherTab;
        int kind;
    };
    for (const auto& c : {Case{DeviceModel::RgbKeyboard, "kb_tab", "kb_onecolor_tab", runtime::RuntimeFlags::RgbKeyboard},
                          Case{DeviceModel::MonoKeyboard, "kb_onecolor_tab", "kb_tab", runtime::RuntimeFlags::SingleColourKeyboard}}) {
        SCOPED_TRACE(c.tab);
        DeviceRig rig({c.keyboard, DeviceModel::Mouse});
        ASSERT_TRUE(rig.waitForTab(c.tab));
        ASSERT_TRUE(rig.waitForTab("ms_tab"));
        EXPECT_FALSE(rig.shown(c.otherTab));
        EXPECT_EQ(rig.devices->flags.keyboardKind, c.kind);
        rig.control<QAbstractButton>("ms_tab")->click();
        ASSERT_EQ(DevicePage(rig), 1);

        rig.device(DeviceModel::Mouse).unplug();
        EXPECT_TRUE(shelltest::WaitUntil([&] { return !rig.shown("ms_tab"); }));
        EXPECT_TRUE(rig.checked(c.tab));
        EXPECT_EQ(DevicePage(rig), 0);
        EXPECT_TRUE(rig.window->isVisible());
    }
}

TEST(PresenceWindow, KeyboardLeavingShowsTheMousepadAndLastOneHidesTheWindow) {
    DeviceRig rig({DeviceModel::RgbKeyboard, DeviceModel::Mousepad});
    ASSERT_TRUE(rig.waitForTab("kb_tab"));
    ASSERT_TRUE(rig.waitForTab("mp_tab"));
    EXPECT_TRUE(rig.window->isVisible());  // the keyboard brought it up
    EXPECT_TRUE(shelltest::WaitUntil([&] { return rig.shown("mp_deng_same_mode"); }));

    rig.device(DeviceModel::RgbKeyboard).unplug();
    EXPECT_TRUE(shelltest::WaitUntil([&] { return !rig.shown("kb_tab"); }));
    EXPECT_TRUE(rig.checked("mp_tab"));
    EXPECT_EQ(DevicePage(rig), 2);
    EXPECT_EQ(rig.devices->flags.keyboardKind, runtime::RuntimeFlags::NoKeyboard);
    EXPECT_TRUE(shelltest::WaitUntil([&] { return !rig.shown("mp_deng_same_mode"); }));

    rig.device(DeviceModel::Mousepad).unplug();
    EXPECT_TRUE(shelltest::WaitUntil([&] { return !rig.window->isVisible(); }));
}

TEST(PresenceWindow, SecondMouseModelShowsTheSixthStage) {
    for (const auto& [model, sixth] : {std::pair{DeviceModel::Mouse, false}, std::pair{DeviceModel::Mouse2, true}}) {
        SCOPED_TRACE(sixth);
        DeviceRig rig({model});
        ASSERT_TRUE(rig.waitForTab("ms_tab"));
        EXPECT_EQ(rig.devices->mouse.model.load() == DeviceModel::Mouse2, sixth);
        EXPECT_EQ(rig.shown("ms_DPI6_la"), sixth);
        EXPECT_EQ(rig.shown("ms_DPI6_va"), sixth);
        EXPECT_TRUE(rig.shown("ms_DPI5_va"));
    }
}

TEST(PresenceWindow, KeyboardWithTooManyKeysShowsItsMessageOnceAndStaysConnected) {
    DeviceRig rig({DeviceModel::RgbKeyboard},
                  [](programtest::ProgramRig& r) { r.firmware(DeviceModel::RgbKeyboard, [](sim::DeviceFirmware& fw) { fw.setKeyCount(171); }); });
    ASSERT_TRUE(rig.waitForTab("kb_tab"));
    EXPECT_TRUE(shelltest::WaitUntil([&] { return !rig.dialogs.shown.empty(); }));
    rig.settle();  // probes go on; the message is not repeated
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].text, "message_text_19");
    EXPECT_TRUE(rig.runtime().connection(device::DeviceKind::Keyboard).connected);
}

TEST(PresenceWindow, ScreenshotWaitEndsWhenEveryMonitorHasLooked) {
    DeviceRig rig({DeviceModel::Mouse, DeviceModel::Mousepad});
    EXPECT_TRUE(shelltest::WaitUntil([&] { return rig.feature<app::PresenceFeature>()->settled(); }));
    EXPECT_TRUE(rig.runtime().connection(device::DeviceKind::Mouse).connected);
    EXPECT_TRUE(rig.runtime().connection(device::DeviceKind::Mousepad).connected);
    rig.feature<app::MousePageFeature>()->showPerformance();
    EXPECT_EQ(DevicePage(rig), 1);
    EXPECT_TRUE(rig.checked("ms_rich_Op_tab"));
    EXPECT_EQ(rig.control<QStackedWidget>("ms_tab_switch")->currentIndex(), 3);
}

}  // namespace
