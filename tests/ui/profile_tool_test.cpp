// orvanectl's profile commands run as the built tool on a scratch data folder: listing (the
// first run fills the folder), selecting on an emulated device, export and import, and the
// one-line errors with their exit codes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tool_run.h"
#include "ui/pages/device_models.h"  // lifts Qt's "slots" macro around the device records
#pragma push_macro("slots")
#undef slots
#include "profiles/profile_operations.h"
#pragma pop_macro("slots")

namespace {

namespace fs = std::filesystem;
using orvane::profiles::ListId;

using tooltest::Bytes;
using ProfileTool = tooltest::ToolTest;

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
    EXPECT_EQ(Bytes(exported), Bytes(data / "kb" / "New Profile 1.led"));
    const Run imported = run({"profile", "import", "ms", "led", "0", QString::fromStdString(exported.string())});
    EXPECT_EQ(imported.code, 0) << imported.err.toStdString();
    const auto mouseFile = Bytes(data / "ms" / "New Profile 1.led");
    EXPECT_EQ(mouseFile.substr(16), Bytes(exported).substr(16, 64));
    EXPECT_EQ(mouseFile[4], '\x02');
}

TEST_F(ProfileTool, ErrorsAreOneLineWithTheirExitCode) {
    ASSERT_EQ(run({"profiles", "kb"}).code, 0);
    const auto noMagic = file("plain.pro");
    std::ofstream(noMagic, std::ios::binary) << std::string(600, 'x');
    const auto before = Bytes(data / "kb" / "New Profile 1.pro");
    struct Case {
        QStringList args;
        int code;
        const char* says;
    } const cases[] = {
        {{"profile", "import", "kb", "key", "0", QString::fromStdString(noMagic.string())}, 1, "not a profile file"},
        {{"profile", "import", "kb", "key", "0", QString::fromStdString(file("none.pro").string())}, 1, "cannot read"},
        {{"--simulate=kb", "profile", "select", "kb", "key", "5"}, 1, "no profile 5"},
        {{"profile", "select", "mp", "key", "0"}, 1, "has no key profiles"},
        {{"profile", "select", "kb", "keys", "0"}, 2, "usage"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const Run r = run(c.args);
        EXPECT_EQ(r.code, c.code);
        if (c.code == 1) {
            EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
            EXPECT_TRUE(r.err.contains(c.says)) << r.err.toStdString();
        } else {
            EXPECT_TRUE((r.err + r.out).contains(c.says));
        }
    }
    EXPECT_EQ(Bytes(data / "kb" / "New Profile 1.pro"), before);
}

}  // namespace
