// SPDX-License-Identifier: GPL-3.0-or-later
// A Flatpak application's executable read as the host's file, from a sandbox info file that
// is treated as hostile.

#include <gtest/gtest.h>

#include <fstream>

#include "platform/sandbox_path.h"
#include "unit/profile_fixture.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;

TEST(FlatpakHostPath, MapsAppPathsThroughTheSandboxInfo) {
    const fs::path scratch = testing::FreshFolder();
    const fs::path root = scratch / "root", files = scratch / "deploy" / "files";
    fs::create_directories(root);
    fs::create_directories(files / "bin");
    std::ofstream(files / "bin" / "game") << "x";
    std::ofstream(scratch / "outside") << "x";
    const auto info = [&](const std::string& text) { std::ofstream(root / ".flatpak-info", std::ios::trunc) << text; };
    const std::string good = "[Application]\nname=org.example.Game\n\n[Instance]\r\napp-path=" + files.string() + "\n";
    struct Case {
        const char* what;
        std::string info;  // empty: no info file
        std::string exe;
        std::optional<std::string> host;
    } const cases[] = {
        {"an application's file", good, "/app/bin/game", (files / "bin" / "game").string()},
        {"not under /app", good, "/usr/bin/game", std::nullopt},
        {"a file the host does not have", good, "/app/bin/other", std::nullopt},
        {"leaving app-path", good, "/app/../../outside", std::nullopt},
        {"app-path outside [Instance]", "[Application]\napp-path=" + files.string() + "\n", "/app/bin/game", std::nullopt},
        {"a relative app-path", "[Instance]\napp-path=deploy/files\n", "/app/bin/game", std::nullopt},
        {"no sandbox", "", "/app/bin/game", std::nullopt},
        {"an info file far too large", good + std::string(100 * 1024, '#'), "/app/bin/game", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::error_code ec;
        fs::remove(root / ".flatpak-info", ec);
        if (!c.info.empty()) info(c.info);
        EXPECT_EQ(platform::FlatpakHostPath(root, c.exe), c.host);
    }
    fs::remove_all(scratch);
}

}  // namespace
}  // namespace orvane
