// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up and the messages of the shell: started from the session (--minimized), the tray
// menu's autostart check, an unusable main.ini, a profile save the store refuses.
#include <gtest/gtest.h>

#include <QAction>
#include <QAbstractSlider>
#include <QMenu>

#include <fstream>

#include "app/features.h"
#include "platform/autostart.h"
#include "program_rig.h"

using namespace orvane;

namespace {

TEST(StartedMinimized, ADeviceDoesNotBringTheWindowUpButTheTrayDoes) {
    programtest::RigOptions o;
    o.models = {device::DeviceModel::Mouse};
    o.features = std::vector<std::string_view>{"presence", "mouse page"};
    o.startMinimized = true;
    programtest::ProgramRig minimized(o);
    ASSERT_TRUE(minimized.waitForTab("ms_tab"));
    minimized.settle();
    EXPECT_FALSE(minimized.window().isVisible());
    minimized.window().onTrayLeftClick();
    EXPECT_TRUE(minimized.window().isVisible());
}

TEST(AutostartFromTheTray, TheCheckWritesAndRemovesTheEntry) {
    programtest::RigOptions o;
    o.features = std::vector<std::string_view>{};
    programtest::ProgramRig rig(o);
    const auto entry = platform::AutostartEntryPath();
    std::filesystem::remove(entry);
    const auto autostartAction = [&](QMenu& menu) {
        rig.window().fillMenu(menu, true);
        return menu.findChild<QAction*>(QStringLiteral("autostart"));
    };
    QMenu first;
    QAction* item = autostartAction(first);
    ASSERT_NE(item, nullptr);
    EXPECT_FALSE(item->isChecked());
    item->trigger();
    EXPECT_TRUE(std::filesystem::exists(entry));
    EXPECT_TRUE(platform::AutostartEnabled());
    QMenu second;
    item = autostartAction(second);
    EXPECT_TRUE(item->isChecked());
    item->trigger();
    EXPECT_FALSE(platform::AutostartEnabled());
}

}  // namespace

namespace {

TEST(UnusableMainIni, IsToldOnceAndTheProgramGoesOn) {
    programtest::RigOptions o;
    o.features = std::vector<std::string_view>{};
    o.beforeBuild = [](programtest::ProgramRig& rig) { std::filesystem::create_directories(rig.path("main.ini")); };
    programtest::ProgramRig rig(o);
    shelltest::WaitUntil([&] { return !rig.dialogs.shown.empty(); }, 2000);
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].text, "message_text_36");
}

TEST(ProfileSaveFailure, APageEditIntoARepeatedNameIsRefusedAndSaid) {
    programtest::RigOptions o;
    o.models = {device::DeviceModel::Mousepad};
    o.features = std::vector<std::string_view>{"presence", "profiles", "mousepad page"};
    o.dataFromEnvironment = true;
    o.beforeBuild = [](programtest::ProgramRig& rig) {
        // An index edited by hand: the second entry repeats the first one's name.
        std::filesystem::create_directories(rig.data / "mp");
        std::ofstream(rig.data / "mp" / "mpProfile.ini")
            << "[PROFILEDENGCOUNT]\ncount=2\n[PROFILEDENGNAME]\n0=Pad\n1=PAD\n[PROFILEDENGSELECT]\nselect=1\n";
        std::filesystem::copy_file(programtest::ShippedDefaults() / "mpdengdefault.led", rig.data / "mp" / "Pad.led");
    };
    programtest::ProgramRig rig(o);
    ASSERT_TRUE(rig.waitForTab("mp_tab"));
    rig.settle();
    rig.dialogs.shown.clear();
    const auto before = std::filesystem::last_write_time(rig.data / "mp" / "Pad.led");
    for (int i = 0; i < 5; ++i) rig.control<QAbstractSlider>("mp_deng_speed_slider")->setValue(i + 2);
    rig.settle();
    shelltest::WaitUntil([] { return false; }, 100);  // the message is posted
    EXPECT_EQ(std::filesystem::last_write_time(rig.data / "mp" / "Pad.led"), before);  // the shared file is untouched
    ASSERT_FALSE(rig.dialogs.shown.empty());
    EXPECT_EQ(rig.dialogs.shown[0].text, "message_text_33");
}

}  // namespace
