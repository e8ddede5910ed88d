// SPDX-License-Identifier: GPL-3.0-or-later
// The session autostart entry: its Exec line for any program path, on and off through the
// entry file (written atomically, removed), entries that desktop settings switched off, and
// a folder that cannot be written.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/atomic_file.h"
#include "platform/autostart.h"

namespace orvane::platform {
namespace {

namespace fs = std::filesystem;

struct ScratchFolder {
    fs::path path;
    ScratchFolder() {
        std::string pattern = (fs::temp_directory_path() / "orvane-autostart-XXXXXX").string();
        path = ::mkdtemp(pattern.data());
    }
    ~ScratchFolder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

std::string ExecLine(const std::string& text) {
    const auto at = text.find("\nExec=");
    return at == std::string::npos ? "" : text.substr(at + 6, text.find('\n', at + 1) - at - 6);
}

TEST(Autostart, TheExecLineQuotesWhatTheDesktopEntryRulesReserve) {
    const struct { const char* program; const char* exec; } cases[] = {
        {"/usr/bin/orvane", "/usr/bin/orvane --minimized"},
        {"/home/a b/orvane", "\"/home/a b/orvane\" --minimized"},
        {"/opt/$x/`o`/\"q\"/orvane", "\"/opt/\\\\$x/\\\\`o\\\\`/\\\\\"q\\\\\"/orvane\" --minimized"},
        {"/opt/back\\slash/orvane", "\"/opt/back\\\\\\\\slash/orvane\" --minimized"},  // four backslashes
        {"/opt/100%/orvane", "/opt/100%%/orvane --minimized"},
        {"/opt/tab\there/orvane", "\"/opt/tab\\there/orvane\" --minimized"},
    };
    for (const auto& c : cases) EXPECT_EQ(ExecLine(AutostartEntryText(c.program)), c.exec) << c.program;
    const std::string text = AutostartEntryText("/usr/bin/orvane");
    EXPECT_EQ(text.rfind("[Desktop Entry]\n", 0), 0u);
    EXPECT_NE(text.find("\nType=Application\n"), std::string::npos);
    EXPECT_NE(text.find("\nIcon=com.orvane.configurator\n"), std::string::npos);  // the installed icon
}

TEST(Autostart, OnWritesTheEntryAndOffRemovesIt) {
    ScratchFolder scratch;
    const fs::path entry = scratch.path / "config" / "autostart" / kAutostartFileName;  // folders made on demand
    EXPECT_FALSE(AutostartEnabled(entry));
    std::string error;
    ASSERT_TRUE(SetAutostart(true, "/usr/bin/orvane", &error, entry)) << error;
    EXPECT_TRUE(AutostartEnabled(entry));
    EXPECT_EQ(ReadWholeFile(entry), AutostartEntryText("/usr/bin/orvane"));
    EXPECT_EQ(std::distance(fs::directory_iterator(entry.parent_path()), fs::directory_iterator()), 1)
        << "no temporary file left beside it";
    if (std::system("command -v desktop-file-validate >/dev/null 2>&1") == 0) {
        EXPECT_EQ(std::system(("desktop-file-validate '" + entry.string() + "'").c_str()), 0);
    }
    ASSERT_TRUE(SetAutostart(false, "/usr/bin/orvane", &error, entry)) << error;
    EXPECT_FALSE(fs::exists(entry));
    EXPECT_FALSE(AutostartEnabled(entry));
    EXPECT_TRUE(SetAutostart(false, "/usr/bin/orvane", &error, entry)) << "off when already off";
}

TEST(Autostart, AnEntrySwitchedOffByTheDesktopCountsAsOffUntilSwitchedOnAgain) {
    ScratchFolder scratch;
    const fs::path entry = scratch.path / kAutostartFileName;
    const struct { const char* text; bool enabled; } cases[] = {
        {"[Desktop Entry]\nExec=orvane\nHidden=true\n", false},
        {"[Desktop Entry]\nExec=orvane\nX-GNOME-Autostart-enabled = false\n", false},
        {"[Desktop Entry]\nHidden=false\nX-GNOME-Autostart-enabled=true\n", true},
        {"[Desktop Action x]\nHidden=true\n[Desktop Entry]\nExec=orvane\n", true},  // another group's key
        {"", true},
        {"\xff\xfe\x00garbage=\n[[", true},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteFileAtomically(entry, c.text));
        EXPECT_EQ(AutostartEnabled(entry), c.enabled) << c.text;
    }
    ASSERT_TRUE(WriteFileAtomically(entry, "[Desktop Entry]\nHidden=true\n"));
    ASSERT_TRUE(SetAutostart(true, "/usr/bin/orvane", nullptr, entry));
    EXPECT_TRUE(AutostartEnabled(entry));
}

TEST(Autostart, AFolderThatCannotBeWrittenIsReported) {
    ScratchFolder scratch;
    const fs::path blocker = scratch.path / "autostart";
    std::ofstream(blocker) << "a file where the folder should be";
    std::string error;
    EXPECT_FALSE(SetAutostart(true, "/usr/bin/orvane", &error, blocker / kAutostartFileName));
    EXPECT_NE(error.find("autostart entry"), std::string::npos) << error;
    error.clear();
    fs::create_directories(scratch.path / "full" / kAutostartFileName / "child");  // a folder in its place
    EXPECT_FALSE(SetAutostart(false, "/usr/bin/orvane", &error, scratch.path / "full" / kAutostartFileName));
    EXPECT_FALSE(error.empty());
}

TEST(Autostart, TheFolderFollowsXdgConfigHome) {
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string keep = saved ? saved : "";
    ::setenv("XDG_CONFIG_HOME", "/tmp/orvane-config", 1);
    EXPECT_EQ(AutostartEntryPath(), fs::path("/tmp/orvane-config/autostart/orvane.desktop"));
    ::setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
    if (const char* home = std::getenv("HOME"); home && *home) {
        EXPECT_EQ(AutostartFolder(), fs::path(home) / ".config" / "autostart");
    }
    if (saved) ::setenv("XDG_CONFIG_HOME", keep.c_str(), 1);
    else ::unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace orvane::platform
