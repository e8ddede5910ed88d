// SPDX-License-Identifier: GPL-3.0-or-later
// orvanectl's profile commands run as the built tool on a scratch data folder: listing (the
// first run fills the folder), selecting on an emulated device, export and import, and the
// one-line errors with their exit codes. Also its autostart command on a scratch config folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "profiles/profile_operations.h"
#include "ui/pages/device_models.h"
#include "ui/tool_run.h"

namespace {

namespace fs = std::filesystem;
using orvane::profiles::ListId;

using orvane::testing::FileBytes;

class ProfileTool : public orvane::testing::ToolTest {};

TEST_F(ProfileTool, ListsSelectsExportsAndImports) {
    const Run listed = run({"profiles", "ms"});
    ASSERT_EQ(listed.code, 0) << listed.err.toStdString();
    EXPECT_TRUE(listed.out.contains("ms led: count 1, selected 0\n* 0\tNew Profile 1\n"));
    EXPECT_TRUE(listed.out.contains("ms key: count 1, selected 0\n* 0\tNew Profile 1\n"));
    EXPECT_EQ(fs::file_size(data / "ms" / "New Profile 1.pro"), 16u + 512u);

    // A second key profile, made as the program would, selected on an emulated mouse.
    {
        orvane::keyboard::KeyboardModel keyboard;
        orvane::mouse::MouseModel mouse;
        orvane::mousepad::PadModel pad;
        orvane::profiles::ProfileStore store(data, {fs::path(ORVANE_SOURCE_DIR) / "data" / "defaults"},
                                             {&keyboard, &mouse, &pad});
        store.initProfileLists(orvane::device::DeviceKind::Mouse);
        orvane::profiles::ProfileOperations(store, {}).addProfile(ListId::MouseKeys);
    }
    const Run selected = run({"--simulate=ms", "profile", "select", "ms", "key", "1"});
    EXPECT_EQ(selected.code, 0) << selected.err.toStdString();
    EXPECT_EQ(selected.out, "ms key: selected 1 \"New Profile 2\"; key bank 0 sent\n");
    EXPECT_TRUE(run({"profiles", "ms"}).out.contains("* 1\tNew Profile 2"));

    // Export writes the stored file with the list's kind; import takes a body of another
    // device's list (cut to the mouse lighting size).
    const auto exported = file("kb.led");
    ASSERT_EQ(run({"profile", "export", "kb", "led", "0", QString::fromStdString(exported.string())}).code, 0);
    EXPECT_EQ(FileBytes(exported), FileBytes(data / "kb" / "New Profile 1.led"));
    const Run imported = run({"profile", "import", "ms", "led", "0", QString::fromStdString(exported.string())});
    EXPECT_EQ(imported.code, 0) << imported.err.toStdString();
    const auto mouseFile = FileBytes(data / "ms" / "New Profile 1.led");
    EXPECT_EQ(mouseFile.substr(16), FileBytes(exported).substr(16, 64));
    EXPECT_EQ(mouseFile[4], '\x02');
}

TEST_F(ProfileTool, ErrorsAreOneLineWithTheirExitCode) {
    ASSERT_EQ(run({"profiles", "kb"}).code, 0);
    const auto noMagic = file("plain.pro");
    std::ofstream(noMagic, std::ios::binary) << std::string(600, 'x');
    const auto before = FileBytes(data / "kb" / "New Profile 1.pro");
    const Failure cases[] = {
        {{"profile", "import", "kb", "key", "0", QString::fromStdString(noMagic.string())}, 1, "not a profile file"},
        {{"profile", "import", "kb", "key", "0", QString::fromStdString(file("none.pro").string())}, 1, "cannot read"},
        {{"--simulate=kb", "profile", "select", "kb", "key", "5"}, 1, "no profile 5"},
        {{"profile", "select", "mp", "key", "0"}, 1, "has no key profiles"},
        {{"profile", "select", "kb", "keys", "0"}, 2, "usage"},
    };
    for (const auto& c : cases) expectFailure(c);
    EXPECT_EQ(FileBytes(data / "kb" / "New Profile 1.pro"), before);
}

TEST_F(ProfileTool, AutostartOnOffAndStatus) {
    const fs::path entry = config / "autostart" / "orvane.desktop";
    EXPECT_EQ(run({"autostart", "status"}).out, "off\n");
    const Run on = run({"autostart", "on"});
    ASSERT_EQ(on.code, 0) << on.err.toStdString();
    EXPECT_EQ(on.out.toStdString(), "autostart on: " + entry.string() + "\n");
    // The program the entry starts is the built one, hidden in the tray.
    const fs::path program = fs::weakly_canonical(fs::path(QCoreApplication::applicationDirPath().toStdString()) /
                                                  ".." / "src" / "app" / "orvane");
    EXPECT_NE(FileBytes(entry).find("\nExec=" + program.string() + " --minimized\n"), std::string::npos) << FileBytes(entry);
    EXPECT_EQ(run({"autostart", "status"}).out, "on\n");
    EXPECT_EQ(run({"autostart", "off"}).out, "autostart off\n");
    EXPECT_FALSE(fs::exists(entry));
    EXPECT_EQ(run({"autostart", "status"}).out, "off\n");
    const Run wrong = run({"autostart", "maybe"});
    EXPECT_EQ(wrong.code, 2);
    EXPECT_TRUE(wrong.err.contains("usage: orvanectl autostart on|off|status"));
    // A file where the folder should be: one line, exit code 1.
    fs::remove_all(config / "autostart");
    std::ofstream(config / "autostart") << "not a folder";
    const Run blocked = run({"autostart", "on"});
    EXPECT_EQ(blocked.code, 1);
    EXPECT_EQ(blocked.err.count('\n'), 1) << blocked.err.toStdString();
}

}  // namespace
