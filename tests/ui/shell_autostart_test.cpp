// Started from the session (--minimized): a device arriving does not bring the window up,
// the tray icon does. The tray menu's "start with the session" check writes and removes the
// autostart entry.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>

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
