// SPDX-License-Identifier: GPL-3.0-or-later
// Application-linked profiles on a real wlroots compositor (headless sway): the foreign
// toplevel manager naming the activated window's app_id, the watchers switching to the
// profile linked by that app_id (by the executable's name, and by the desktop entry of that
// name) and back, an unlinked application switching nothing, the compositor going away,
// and `orvanectl foreground [--watch]` against it.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <thread>

#include "platform/foreground.h"
#include "profiles/app_watchers.h"
#include "profiles/profile_links.h"
#include "support/sway_session.h"
#include "unit/profile_fixture.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using profiles::ListId;
using testing::SwaySession;

class SwayTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        sway = SwaySession::Start(&why);
        if (!sway) GTEST_SKIP() << "needs a headless sway: " << why;
        for (const char* app : {"game-one", "desk-game", "unlinked-app"})
            ASSERT_TRUE(sway->open(app)) << app << " did not open: " << sway->log();
    }
    /// A Foreground on the session's compositor only (no X display).
    std::unique_ptr<platform::Foreground> foreground() {
        return std::make_unique<platform::Foreground>(
            platform::Foreground::Options{":orvane-no-display", sway->display(), true});
    }
    /// Focuses `app` and waits (bounded) until `fg` has been told.
    void front(platform::Foreground& fg, const std::string& app) {
        ASSERT_TRUE(sway->focus(app)) << app;
        uint64_t seen = 0;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (fg.query().appId != app && std::chrono::steady_clock::now() < deadline)
            fg.waitForChange({}, std::chrono::milliseconds(200), seen);
        ASSERT_EQ(fg.query().appId, app);
    }

    std::unique_ptr<SwaySession> sway;
};

TEST_F(SwayTest, NamesTheActivatedToplevelsAppId) {
    auto fg = foreground();
    EXPECT_EQ(fg->backend(), "wlroots");
    EXPECT_EQ(fg->coverage(), platform::ForegroundApp::Coverage::AllWindows);
    for (const char* app : {"game-one", "unlinked-app", "game-one"}) {
        SCOPED_TRACE(app);
        front(*fg, app);
        const auto seen = fg->query();
        EXPECT_EQ(seen.executable, std::nullopt) << "the protocol names no process";
        EXPECT_EQ(seen.describe(), std::string("app_id ") + app);
    }
}

TEST_F(SwayTest, WatcherSwitchesByAppIdAndBackAndAnUnlinkedAppSwitchesNothing) {
    // game-one is linked by its executable's name; desk-game by its desktop entry, whose
    // program has another name.
    testing::ProfileRig rig;
    profiles::ProfileOperations ops{rig.store, {}};
    rig.initAll();
    for (int i = 0; i < 3; ++i) ops.addProfile(ListId::MouseKeys);
    ops.selectProfile(ListId::MouseKeys, 3);
    const fs::path apps = rig.data / "apps", share = rig.data / "share" / "applications";
    fs::create_directories(apps);
    fs::create_directories(share);
    for (const char* name : {"game-one", "desk-binary"}) {
        std::ofstream(apps / name) << "#!/bin/sh\n";
        fs::permissions(apps / name, fs::perms::owner_all);
    }
    std::ofstream(share / "desk-game.desktop")
        << "[Desktop Entry]\nType=Application\nName=Desk Game\nExec=env GAME=1 \"" << (apps / "desk-binary").string()
        << "\" --fullscreen %U\n";
    ::setenv("XDG_DATA_HOME", (rig.data / "share").c_str(), 1);
    ASSERT_TRUE(profiles::LinkProfile(rig.store, ListId::MouseKeys, 1, (apps / "game-one").string(),
                                      profiles::LinkSource::CheckBox).changed);
    ASSERT_TRUE(profiles::LinkProfile(rig.store, ListId::MouseKeys, 2, (apps / "desk-binary").string(),
                                      profiles::LinkSource::CheckBox).changed);

    auto fg = foreground();
    std::atomic<int> selections{0};
    profiles::ProfileWatcher watcher(ListId::MouseKeys, rig.store, [&] { return fg->query(); },
                                     [&](const profiles::WatcherChoice& c, std::stop_token) {
                                         if (profiles::ApplyWatcherChoice(ops, c)) ++selections;
                                     });
    struct Step {
        const char* app;
        int shown;
        bool selects;
    } const steps[] = {
        {"unlinked-app", 3, false},  // the user's own profile stays; nothing is sent
        {"game-one", 1, true},       // the executable's name
        {"game-one", 1, false},      // still in front: nothing is sent again
        {"desk-game", 2, true},      // the desktop entry's program
        {"unlinked-app", 3, true},   // the user's own profile comes back
        {"unlinked-app", 3, false},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.app);
        front(*fg, step.app);
        const int before = selections;
        EXPECT_EQ(watcher.pass(), step.selects);
        EXPECT_EQ(selections - before, step.selects ? 1 : 0);
        EXPECT_EQ(rig.store.list(ListId::MouseKeys).selection, step.shown);
        EXPECT_EQ(rig.store.recordedSelection(ListId::MouseKeys), 3) << "\"select\" keeps the user's choice";
    }
    ::unsetenv("XDG_DATA_HOME");
}

TEST_F(SwayTest, TheCompositorGoingAwayLeavesUnknownAndWakesTheWatchers) {
    auto fg = foreground();
    front(*fg, "game-one");
    uint64_t seen = 0;
    fg->waitForChange({}, std::chrono::milliseconds(0), seen);  // takes its place in the count
    std::atomic<bool> woke{false};
    std::jthread waiter([&] {
        uint64_t mine = seen;
        fg->waitForChange({}, std::chrono::seconds(60), mine);
        woke = true;
    });
    sway->stop();
    waiter.join();  // a notice, not the minute's time-out, ends it (a hang would fail the test's time limit)
    EXPECT_TRUE(woke);
    EXPECT_FALSE(fg->query().known());
    EXPECT_EQ(fg->backend(), "none");
}

TEST_F(SwayTest, StopsPromptlyWhileWaiting) {
    auto fg = foreground();
    std::stop_source stop;
    std::jthread waiter([&] {
        uint64_t seen = 0;
        while (fg->waitForChange(stop.get_token(), std::chrono::hours(1), seen)) {
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    stop.request_stop();
    waiter.join();
    fg.reset();  // the listening thread ends with it
}

/// orvanectl with WAYLAND_DISPLAY set to the session, stdout read through a pipe.
struct ForegroundTool {
    pid_t pid = -1;
    int out = -1;
    ForegroundTool(const std::string& display, std::vector<std::string> args) {
        args.insert(args.begin(), ORVANECTL);
        std::vector<std::string> env{"WAYLAND_DISPLAY=" + display, "PATH=/usr/bin:/bin"};
        std::vector<char*> argv, envp;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        for (auto& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
        ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        ::close(fds[1]);
        out = fds[0];
    }
    ~ForegroundTool() {
        if (out >= 0) ::close(out);
        if (pid > 0 && ::waitpid(pid, nullptr, WNOHANG) == 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }
    std::string line() {
        std::string text;
        char c = 0;
        for (;;) {
            pollfd p{out, POLLIN, 0};
            if (::poll(&p, 1, 20000) <= 0 || ::read(out, &c, 1) != 1 || c == '\n') return text;
            text += c;
        }
    }
    int exitCode() {
        int status = 0;
        if (::waitpid(pid, &status, 0) != pid) return -1;
        pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
};

TEST_F(SwayTest, ToolNamesTheBackendAndWatchesChanges) {
    auto fg = foreground();
    front(*fg, "game-one");
    ForegroundTool once(sway->display(), {"foreground"});
    EXPECT_EQ(once.line(), "wlroots\tapp_id game-one");
    EXPECT_EQ(once.exitCode(), 0);

    for (const int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        front(*fg, "game-one");
        ForegroundTool watch(sway->display(), {"foreground", "--watch"});
        EXPECT_EQ(watch.line(), "wlroots\tapp_id game-one");
        front(*fg, "unlinked-app");
        EXPECT_EQ(watch.line(), "wlroots\tapp_id unlinked-app");
        front(*fg, "desk-game");
        EXPECT_EQ(watch.line(), "wlroots\tapp_id desk-game");
        ::kill(watch.pid, signal);
        EXPECT_EQ(watch.exitCode(), 0);
        EXPECT_EQ(watch.line(), "") << "nothing more after the signal";
    }
}

}  // namespace
}  // namespace orvane
