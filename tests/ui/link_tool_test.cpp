// SPDX-License-Identifier: GPL-3.0-or-later
// orvanectl's link, links, foreground and version commands run as the built tool: links
// written into a scratch data folder, the application in front of a private X server, and
// the versions of a local update server.

#include <gtest/gtest.h>

#include <httplib.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/ini_file.h"
#include "support/x_session.h"
#include "ui/tool_run.h"

namespace {

namespace fs = std::filesystem;

class LinkTool : public orvane::testing::ToolTest {
protected:
    /// Runs orvanectl with the scratch data and configuration folders, on `display` (none
    /// when empty).
    Run run(const QStringList& args, const QString& display = {}) {
        return ToolTest::run(args, {{"XDG_CONFIG_HOME", QString::fromStdString(config.string())},
                                    {"DISPLAY", display},
                                    {"WAYLAND_DISPLAY", ""},
                                    {"no_proxy", "127.0.0.1"}});
    }
    void machineSetting(const char* key, const std::string& value) {
        ASSERT_TRUE(orvane::platform::IniFile(config / "Orvane" / "machine.ini")
                        .writeString("Orvane Gaming Software 3.0", key, value));
    }

    fs::path config = fs::path(scratch.path().toStdString()) / "config";
};

TEST_F(LinkTool, LinksAndUnlinksProfiles) {
    const auto game = fs::path(scratch.path().toStdString()) / "Game.bin";
    std::ofstream(game) << "x";
    const QString gamePath = QString::fromStdString(game.string());

    const Run linked = run({"link", "ms", "key", "0", gamePath});
    ASSERT_EQ(linked.code, 0) << linked.err.toStdString();
    EXPECT_EQ(linked.out, "ms key: profile 0 linked to " + gamePath + "\n");
    ASSERT_EQ(run({"link", "kb", "led", "0", gamePath}).code, 0);
    EXPECT_EQ(run({"links"}).out, "kb led 0\tNew Profile 1\t" + gamePath + "\nms key 0\tNew Profile 1\t" + gamePath + "\n");
    EXPECT_EQ(run({"links", "kb"}).out, "kb led 0\tNew Profile 1\t" + gamePath + "\n");

    EXPECT_EQ(run({"link", "ms", "key", "0", "--remove"}).out, "ms key: profile 0 unlinked\n");
    EXPECT_EQ(run({"links", "ms"}).out, "");

    struct Case {
        QStringList args;
        int code;
        const char* says;
    } const cases[] = {
        {{"link", "kb", "led", "3", gamePath}, 1, "no profile 3"},
        {{"link", "mp", "key", "0", gamePath}, 1, "has no key profiles"},
        {{"link", "kb", "led", "0"}, 2, "usage"},
        {{"links", "xx"}, 2, "usage"},
        {{"foreground", "extra"}, 2, "usage"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const Run r = run(c.args);
        EXPECT_EQ(r.code, c.code);
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.says)) << r.err.toStdString();
    }
}

TEST_F(LinkTool, RefusesAnApplicationAnotherProfileHas) {
    ASSERT_EQ(run({"profiles", "kb"}).code, 0);
    // A second keyboard lighting profile, as the program's "add" leaves the index.
    orvane::platform::IniFile index(data / "kb" / "kbProfile.ini");
    index.writeString("PROFILEDENGNAME", "1", "Second");
    index.writeString("PROFILEDENGCOUNT", "count", "2");
    fs::copy_file(data / "kb" / "New Profile 1.led", data / "kb" / "Second.led");

    ASSERT_EQ(run({"link", "kb", "led", "0", "/usr/bin/env"}).code, 0);
    const Run refused = run({"link", "kb", "led", "1", "/usr/bin/../bin/env"});  // the same file
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(refused.err.contains("already linked to profile 0")) << refused.err.toStdString();
    EXPECT_EQ(index.readString("PROFILELIKEDENGEXE", "1"), "0");
    // Case counts on Linux: another name is another application.
    EXPECT_EQ(run({"link", "kb", "led", "1", "/USR/BIN/ENV"}).code, 0);
    EXPECT_EQ(index.readString("PROFILELIKEDENGEXE", "1"), "1");
}

TEST_F(LinkTool, ForegroundPrintsTheActiveApplication) {
    EXPECT_EQ(run({"foreground"}).out, "none\tunknown\n");
    std::string why;
    auto x = orvane::testing::XSession::Start(&why);
    if (!x) GTEST_SKIP() << "needs Xvfb: " << why;
    const auto game = x->copyAs(ORVANE_X_WINDOW, "some-game");
    const auto window = x->open(game);
    ASSERT_TRUE(window);
    const QString display = QString::fromStdString(x->display());
    EXPECT_EQ(run({"foreground"}, display).out, "x11\tunknown\n");
    ASSERT_TRUE(x->activate(ORVANE_X_WINDOW, window->id));
    const Run r = run({"foreground"}, display);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out.toStdString(), "x11\t" + fs::canonical(game).string() + "\n");
}

TEST_F(LinkTool, VersionAsksTheServer) {
    httplib::Server server;
    server.Post("/download/getVersionV1", [](const httplib::Request& req, httplib::Response& res) {
        const std::pair<const char*, const char*> versions[] = {
            {"eyJjb21tYW5kX3R5cGUiOiJLeDAyNyIsImdldFVybCI6MX0=", R"({"Data":{"version":"2.9.9"}})"},  // Kx027
            {"eyJjb21tYW5kX3R5cGUiOiJLeDAyNiIsImdldFVybCI6MX0=", R"({"Data":{"version":"1.0.6"}})"},  // Kx026
        };
        res.set_content(R"({"Result_Code":"0"})", "application/json");  // a product it names no version for
        for (const auto& [query, reply] : versions)
            if (req.body.find(query) != std::string::npos) res.set_content(reply, "application/json");
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    std::thread serving([&] { server.listen_after_bind(); });
    for (int i = 0; i < 500 && !server.is_running(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    machineSetting("DisplayVersion", "2.0.0");
    const QString base = "http://127.0.0.1:" + QString::number(port);
    const QString expected =
        "installed 2.0.0\nKx022 KestrelPro: unknown\nKx026 KestrelEliteRGBJP: 1.0.6\n"
        "Kx023 HarrierEliteRGB: unknown\nKx027 OrvaneGamingJP: 2.9.9\nupdate available: yes\n";

    const Run given = run({"version", "--server", base});
    EXPECT_EQ(given.code, 0) << given.err.toStdString();
    EXPECT_EQ(given.out, expected);

    const Run unconfigured = run({"version"});
    EXPECT_EQ(unconfigured.code, 1);
    EXPECT_TRUE(unconfigured.err.contains("no update server configured")) << unconfigured.err.toStdString();
    EXPECT_TRUE(unconfigured.out.contains("update available: unknown"));
    // A value that is no address is said to be one, not taken for none.
    machineSetting("UpdateServer", "ftp://updates.example/path");
    const Run invalid = run({"version"});
    EXPECT_EQ(invalid.code, 1);
    EXPECT_TRUE(invalid.err.contains("UpdateServer=\"ftp://updates.example/path\"")) << invalid.err.toStdString();
    EXPECT_FALSE(invalid.err.contains("no update server configured")) << invalid.err.toStdString();

    machineSetting("UpdateServer", "127.0.0.1:" + std::to_string(port));
    EXPECT_EQ(run({"version"}).out, expected);
    machineSetting("DisplayVersion", "3.0.0");
    EXPECT_TRUE(run({"version"}).out.endsWith("update available: no\n"));

    server.stop();
    serving.join();

    // Replies that are not an answer: "could not check: REASON", exit 1, no server text raw.
    struct Bad {
        const char* what;
        int status;
        std::string body;
        const char* reason;
    } const bad[] = {
        {"HTTP 500", 500, R"({"Data":{"version":"9.9.9"}})", "the server answered HTTP 500"},
        {"HTML", 200, "<html>hello</html>", "the reply is not JSON"},
        {"a redirect", 301, "", "the server answered HTTP 301 (a redirect, not followed)"},
        {"malformed JSON", 200, R"({"Data":)", "the reply is not JSON"},
        {"terminal escapes", 200, R"({"Data":{"version":"\u001b]0;owned\u0007"}})",
         R"(its version "]0;owned" is not a dotted number)"},
    };
    for (const auto& b : bad) {
        SCOPED_TRACE(b.what);
        httplib::Server hostile;
        hostile.Post(".*", [&](const httplib::Request&, httplib::Response& res) {
            res.status = b.status;
            if (b.status == 301) res.set_header("Location", "http://127.0.0.1:1/elsewhere");
            res.set_content(b.body, "application/json");
        });
        const int hostilePort = hostile.bind_to_any_port("127.0.0.1");
        std::thread hosting([&] { hostile.listen_after_bind(); });
        for (int i = 0; i < 500 && !hostile.is_running(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        const Run r = run({"version", "--server", "http://127.0.0.1:" + QString::number(hostilePort)});
        hostile.stop();
        hosting.join();
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("could not check: ")) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(b.reason)) << r.err.toStdString();
        EXPECT_TRUE(r.out.endsWith("update available: unknown\n")) << r.out.toStdString();
        for (const QString& text : {r.out, r.err})
            for (const QChar ch : text) EXPECT_FALSE(ch.unicode() < 0x20 && ch != '\n') << int(ch.unicode());
    }

    const Run down = run({"version", "--server", base});
    EXPECT_EQ(down.code, 1);
    EXPECT_EQ(down.err.count('\n'), 1);
    EXPECT_EQ(run({"version", "--server", "ftp://127.0.0.1"}).code, 2);
}

}  // namespace
