// SPDX-License-Identifier: GPL-3.0-or-later
// The mouse's notifications in the program: a settings change is exactly one full re-read
// (and one refresh of the page), the slot button's notification reloads slot 0, a click sets
// both reactive triggers, an empty usage list does nothing.
#include <gtest/gtest.h>

#include <QAbstractSlider>

#include "app/features.h"
#include "program_rig.h"
#include "sim/firmware_device.h"

using namespace orvane;
using device::DeviceKind;
using device::DeviceModel;

namespace {

struct ListenerRig : programtest::ProgramRig {
    ListenerRig() : ProgramRig(Options()) {
        subscription = runtime().events.modelChanged.subscribe([this](const DeviceKind& k) {
            if (k == DeviceKind::Mouse) ++refreshes;
        });
    }
    static programtest::RigOptions Options() {
        programtest::RigOptions o;
        o.models = {DeviceModel::Mouse, DeviceModel::Mousepad};
        // No lighting workers: the triggers stay set for the test to see.
        o.features = std::vector<std::string_view>{"presence", "mouse page", "mousepad page", "listeners"};
        return o;
    }
    app::ListenerFeature& listeners() { return *feature<app::ListenerFeature>(); }
    sim::EmulatedDevice& mouse() { return device(DeviceModel::Mouse); }
    int refreshes = 0;
    runtime::Subscription subscription;
};

TEST(Listeners, SettingsChangedIsOneReadBackPerReport) {
    ListenerRig rig;
    ASSERT_TRUE(rig.waitForTab("ms_tab"));
    ASSERT_TRUE(shelltest::WaitUntil([&] { return rig.listeners().mouseListener()->found(); }));
    rig.settle();
    rig.refreshes = 0;
    rig.mouse().resetCounters();
    rig.mouse().sendNotification(0x0402);
    ASSERT_TRUE(shelltest::WaitUntil([&] { return rig.refreshes == 1; }));
    rig.wait(300);
    const uint64_t oneReadBack = rig.mouse().requestCount();
    EXPECT_EQ(rig.refreshes, 1);
    EXPECT_GT(oneReadBack, 1u);
    rig.mouse().sendNotification(0x0402);
    rig.mouse().sendNotification(0x0402);
    ASSERT_TRUE(shelltest::WaitUntil([&] { return rig.refreshes == 3; }));
    rig.wait(300);
    EXPECT_EQ(rig.refreshes, 3);
    EXPECT_EQ(rig.mouse().requestCount(), 3 * oneReadBack);

    // All usages released: nothing is read, nothing refreshed.
    rig.mouse().sendNotification(0);
    rig.wait(300);
    EXPECT_EQ(rig.refreshes, 3);
    EXPECT_EQ(rig.mouse().requestCount(), 3 * oneReadBack);
}

TEST(Listeners, SlotButtonReloadsSlotZeroAndClicksTrigger) {
    ListenerRig rig;
    ASSERT_TRUE(rig.waitForTab("ms_tab"));
    ASSERT_TRUE(shelltest::WaitUntil([&] { return rig.listeners().mouseListener()->found(); }));
    rig.settle();
    uint8_t deviceStage = 0;
    rig.firmware(DeviceModel::Mouse, [&](sim::DeviceFirmware& fw) {
        fw.pressDpiButton();  // next stage, then 0x0401
    });
    rig.firmware(DeviceModel::Mouse, [&](sim::DeviceFirmware& fw) {
        deviceStage = fw.slotRecord(0)[mouse::MouseState::off::activeDpiStage];
    });
    EXPECT_TRUE(shelltest::WaitUntil([&] { return rig.runtime().mouse.state().activeDpiStage() == deviceStage; }));

    rig.runtime().lighting.triggers.mouseClick = false;
    rig.runtime().lighting.triggers.padClick = false;
    rig.mouse().sendNotification(0x0403);
    EXPECT_TRUE(shelltest::WaitUntil([&] {
        return rig.runtime().lighting.triggers.mouseClick.load() && rig.runtime().lighting.triggers.padClick.load();
    }));
}

}  // namespace
