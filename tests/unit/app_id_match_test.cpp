// SPDX-License-Identifier: GPL-3.0-or-later
// Matching an application a Wayland compositor names only by its app_id: the desktop
// entry's program (read from hostile files), the executable's name otherwise, and no match
// where two linked programs could be meant.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>

#include "platform/desktop_entry.h"
#include "profiles/profile_links.h"
#include "unit/profile_fixture.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;

TEST(DesktopEntryExec, ProgramOfTheExecLine) {
    struct Case {
        const char* text;
        std::optional<std::string> program;
    } const cases[] = {
        {"[Desktop Entry]\nExec=/usr/bin/game --full %U\n", "/usr/bin/game"},
        {"[Desktop Entry]\r\nName=G\r\nExec=game\r\n", "game"},
        {"[Desktop Entry]\nExec=\"/opt/My Game/run\" %f\n", "/opt/My Game/run"},
        {"[Desktop Entry]\nExec=\"/opt/q\\\"uote/x\"\n", "/opt/q\"uote/x"},
        {"[Desktop Entry]\nExec=env A=1 B=2 /opt/game/bin\n", "/opt/game/bin"},
        {"[Desktop Entry]\nExec=/usr/bin/env -u X A=1 game\n", "game"},
        {"[Desktop Entry]\nExec=env -S \"game --x\"\n", std::nullopt},
        {"[Desktop Entry]\nExec = spaced\n", "spaced"},
        {"[Desktop Entry]\nTryExec=/usr/bin/other\nExec=real\n", "real"},      // TryExec is not Exec
        {"[Desktop Action new]\nExec=action\n[Desktop Entry]\nExec=main\n", "main"},  // only the entry's group
        {"[Desktop Action new]\nExec=action\n", std::nullopt},
        {"Exec=outside\n", std::nullopt},  // before any group
        {"[Desktop Entry]\nExec=\n", std::nullopt},
        {"[Desktop Entry]\nExec=%U\n", std::nullopt},
        {"[Desktop Entry]\nExec=env A=1\n", std::nullopt},
        {"[Desktop Entry]\nExec=\"unterminated\n", "unterminated"},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(platform::DesktopExecProgram(c.text), c.program);
    }
}

struct EntryRig {
    testing::ProfileRig rig;
    fs::path user = rig.data / "user", system = rig.data / "system", bin = rig.data / "bin";
    EntryRig() {
        for (const auto& d : {user, system, bin}) fs::create_directories(d);
        for (const char* name : {"game", "other", "flatpak", "plain-file"}) {
            std::ofstream(bin / name) << "#!/bin/sh\n";
            fs::permissions(bin / name, std::string_view(name) == "plain-file" ? fs::perms::owner_read : fs::perms::owner_all);
        }
        fs::create_symlink(bin / "game", bin / "game-link");
    }
    void entry(const fs::path& folder, const std::string& id, const std::string& exec) {
        std::ofstream(folder / (id + ".desktop")) << "[Desktop Entry]\nType=Application\nExec=" << exec << "\n";
    }
    std::optional<std::string> program(const std::string& id) {
        return platform::DesktopEntryProgram(id, {user.string(), system.string()});
    }
};

TEST(DesktopEntryProgram, FindsTheProgramTheEntryStarts) {
    EntryRig r;
    const std::string game = fs::canonical(r.bin / "game").string();
    r.entry(r.system, "org.example.Game", (r.bin / "game-link").string() + " %U");  // a link: resolved
    r.entry(r.system, "shadowed", (r.bin / "other").string());
    r.entry(r.user, "shadowed", (r.bin / "game").string());  // the user's entry hides the system's
    r.entry(r.system, "by-name", "game --x");                  // looked up in PATH
    r.entry(r.system, "sandboxed", (r.bin / "flatpak").string() + " run org.example.Game");
    r.entry(r.system, "missing", (r.bin / "nowhere").string());
    r.entry(r.system, "not-executable", "plain-file");
    r.entry(r.system, "relative", "bin/game");
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", r.bin.c_str(), 1);
    {
        std::ofstream huge(r.system / "huge.desktop");
        huge << "[Desktop Entry]\nExec=" << (r.bin / "game").string() << "\n" << std::string(300 * 1024, '#');
    }
    struct Case {
        std::string id;
        std::optional<std::string> program;
    } const cases[] = {
        {"org.example.Game", game},
        {"shadowed", game},
        {"by-name", game},
        {"sandboxed", std::nullopt},  // flatpak starts every sandboxed app: no certain program
        {"missing", std::nullopt},
        {"not-executable", std::nullopt},
        {"relative", std::nullopt},
        {"huge", std::nullopt},
        {"no-such-entry", std::nullopt},
        {"../system/org.example.Game", std::nullopt},  // an app_id never leaves the folders
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(r.program(c.id), c.program);
    }
    ::setenv("PATH", path.c_str(), 1);
}

platform::ForegroundApplication Seen(std::optional<std::string> exe, std::optional<std::string> appId,
                                    std::optional<std::string> program = {}) {
    platform::ForegroundApplication app(std::move(exe));
    app.appId = std::move(appId);
    app.appIdProgram = std::move(program);
    return app;
}

TEST(AppIdMatch, LinkedPositionForAnAppId) {
    const auto links = std::vector<profiles::LinkEntry>{
        {"0", "/usr/bin/game"},       // 0: not linked
        {"1", "/opt/a/editor"},       // 1
        {"1", "/usr/bin/game"},       // 2
        {"1", "/opt/b/editor"},       // 3: another program named "editor"
        {"1", "/opt/c/Tool"},         // 4
        {"1", "/usr/bin/game"},       // 5: the same as 2 (the button allows it)
    };
    struct Case {
        const char* what;
        platform::ForegroundApplication app;
        std::optional<int> position;
    } const cases[] = {
        {"executable known: exact path", Seen("/usr/bin/game", {}), 2},
        {"executable known: the app_id is not looked at", Seen("/usr/bin/none", "game"), std::nullopt},
        {"app_id = the executable's name", Seen({}, "game"), 2},
        {"names of two different linked programs: not certain", Seen({}, "editor"), std::nullopt},
        {"the desktop entry's program decides", Seen({}, "org.example.Editor", "/opt/b/editor"), 3},
        {"the entry names another program than the name would", Seen({}, "game", "/usr/games/game"), std::nullopt},
        {"names compare with case", Seen({}, "tool"), std::nullopt},
        {"names compare whole", Seen({}, "gam"), std::nullopt},
        {"empty app_id", Seen({}, ""), std::nullopt},
        {"nothing known", Seen({}, {}), std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(profiles::LinkedPositionFor(links, c.app), c.position);
    }
}

}  // namespace
}  // namespace orvane
