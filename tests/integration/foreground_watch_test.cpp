// SPDX-License-Identifier: GPL-3.0-or-later
// Application-linked profiles under a real X server: ForegroundApp reading the active
// window's executable, and the watchers selecting the linked profile and giving the user's
// own back, with windows of two different executables brought to the front as a window
// manager does.

#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/foreground_app.h"
#include "profiles/app_watchers.h"
#include "profiles/profile_links.h"
#include "support/x_session.h"
#include "unit/profile_fixture.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using profiles::LinkSource;
using profiles::ListId;
using testing::XSession;

const fs::path kHelper = ORVANE_X_WINDOW;

std::string SelfExecutable() { return fs::read_symlink("/proc/self/exe").string(); }

class XTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        x = XSession::Start(&why);
        if (!x) GTEST_SKIP() << "needs Xvfb: " << why;
        gameOne = x->copyAs(kHelper, "game-one");
        gameTwo = x->copyAs(kHelper, "Game Two");
        auto one = x->open(gameOne);
        auto two = x->open(gameTwo);
        ASSERT_TRUE(one && two);
        windowOne = one->id;
        windowTwo = two->id;
    }
    void front(uint32_t window) { ASSERT_TRUE(x->activate(kHelper, window)); }

    std::unique_ptr<XSession> x;
    fs::path gameOne, gameTwo;
    uint32_t windowOne = 0, windowTwo = 0;
};

TEST_F(XTest, ForegroundAppNamesTheExecutableOfTheActiveWindow) {
    platform::ForegroundApp foreground(x->display());
    EXPECT_TRUE(foreground.hasDisplay());
    EXPECT_EQ(foreground.query(), std::nullopt) << "no window manager has named an active window yet";

    front(windowOne);
    EXPECT_EQ(foreground.query(), fs::canonical(gameOne).string());
    front(windowTwo);
    EXPECT_EQ(foreground.describe(), fs::canonical(gameTwo).string());

    // A window that says it belongs to this process: the test program's own executable.
    const auto own = x->open(kHelper, getpid());
    ASSERT_TRUE(own);
    front(own->id);
    EXPECT_EQ(foreground.query(), SelfExecutable());

    // Never a wrong match: a window of another machine, of a process that is gone, no
    // window in front, a window that was closed.
    const auto remote = x->open(kHelper, getpid(), "another-host");
    ASSERT_TRUE(remote);
    front(remote->id);
    EXPECT_EQ(foreground.query(), std::nullopt);
    const auto orphan = x->open(kHelper, 0x7FFFFFF0);
    ASSERT_TRUE(orphan);
    front(orphan->id);
    EXPECT_EQ(foreground.query(), std::nullopt);
    front(0);
    EXPECT_EQ(foreground.describe(), "unknown");
    front(windowOne);
    x->close(*x->open(gameOne));  // another window of game-one comes and goes
    EXPECT_EQ(foreground.query(), fs::canonical(gameOne).string());
}

TEST_F(XTest, CoverageOfAnX11OrAWaylandSession) {
    platform::ForegroundApp foreground(x->display());
    ::unsetenv("WAYLAND_DISPLAY");
    ::setenv("XDG_SESSION_TYPE", "x11", 1);
    EXPECT_EQ(foreground.coverage(), platform::ForegroundApp::Coverage::AllWindows);
    ::setenv("WAYLAND_DISPLAY", "wayland-0", 1);  // XWayland: the X11 windows only
    EXPECT_EQ(foreground.coverage(), platform::ForegroundApp::Coverage::X11WindowsOnly);
    ::unsetenv("WAYLAND_DISPLAY");
}

TEST(ForegroundWithoutX, AnswersUnknown) {
    platform::ForegroundApp none(":not-a-display");
    EXPECT_EQ(none.coverage(), platform::ForegroundApp::Coverage::None);
    EXPECT_FALSE(none.hasDisplay());
    EXPECT_EQ(none.query(), std::nullopt);
    EXPECT_EQ(none.describe(), "unknown");
}

/// A watcher of the mouse key list on the session's display, performing its choices at once
/// (the program hands them to the window's thread) and counting the selections made.
struct WatchRig : testing::ProfileRig {
    profiles::ProfileOperations ops{store, {}};
    platform::ForegroundApp foreground;
    std::atomic<int> selections{0};
    profiles::ProfileWatcher watcher;

    explicit WatchRig(const std::string& display)
        : foreground(display),
          watcher(ListId::MouseKeys, store, [this] { return foreground.query(); },
                  [this](const profiles::WatcherChoice& c, std::stop_token) {
                      if (profiles::ApplyWatcherChoice(ops, c)) ++selections;
                  }) {
        initAll();
        ops.addProfile(ListId::MouseKeys);
        ops.addProfile(ListId::MouseKeys);
        ops.addProfile(ListId::MouseKeys);
        userSelects(0);
    }
    void userSelects(int n) { ops.selectProfile(ListId::MouseKeys, n); }
    int shown() const { return store.list(ListId::MouseKeys).selection; }
    int recorded() const { return store.recordedSelection(ListId::MouseKeys); }
    profiles::LinkResult link(int position, const fs::path& app, LinkSource source = LinkSource::CheckBox) {
        return profiles::LinkProfile(store, ListId::MouseKeys, position, app.string(), source);
    }
};

TEST_F(XTest, WatcherShowsTheLinkedProfileWhileItsApplicationIsInFront) {
    WatchRig rig(x->display());
    ASSERT_TRUE(rig.link(1, gameOne).changed);
    ASSERT_TRUE(rig.link(2, gameTwo).changed);

    struct Step {
        const char* what;
        uint32_t window;
        int shown;
        bool selects;
    } const steps[] = {
        {"nothing in front: the user's profile stays", 0, 0, false},
        {"game-one comes to the front", windowOne, 1, true},
        {"game-one stays in front: nothing is sent again", windowOne, 1, false},
        {"Game Two comes to the front", windowTwo, 2, true},
        {"no window in front: the user's profile returns", 0, 0, true},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        front(step.window);
        const int before = rig.selections;
        EXPECT_EQ(rig.watcher.pass(), step.selects);
        EXPECT_EQ(rig.selections - before, step.selects ? 1 : 0);
        EXPECT_EQ(rig.shown(), step.shown);
        EXPECT_EQ(rig.recorded(), 0) << "\"select\" holds the user's choice after every pass";
    }

    // The user picks profile 3 while no linked application is in front: it holds.
    rig.userSelects(3);
    EXPECT_FALSE(rig.watcher.pass());
    EXPECT_EQ(rig.shown(), 3);
    front(windowTwo);
    rig.watcher.pass();
    EXPECT_EQ(rig.shown(), 2);
    EXPECT_EQ(rig.recorded(), 3);
    front(0);
    rig.watcher.pass();
    EXPECT_EQ(rig.shown(), 3);
}

TEST_F(XTest, LinksRefuseDuplicatesUnlinkAndTheLowerPositionWins) {
    WatchRig rig(x->display());
    ASSERT_TRUE(rig.link(2, gameOne).changed);

    // The check box refuses an application another profile of the list has.
    const auto refused = rig.link(1, gameOne);
    EXPECT_EQ(refused.message, "message_text_13");
    EXPECT_FALSE(refused.display.linked);
    EXPECT_FALSE(rig.store.link(ListId::MouseKeys, 1).linked());
    // The same application in another list is no clash.
    EXPECT_TRUE(profiles::LinkProfile(rig.store, ListId::MouseLighting, 0, gameOne.string(), LinkSource::CheckBox)
                    .display.linked);

    // The button accepts it; with two profiles on one application the lower position wins.
    EXPECT_TRUE(rig.link(1, gameOne, LinkSource::Button).display.linked);
    front(windowOne);
    rig.watcher.pass();
    EXPECT_EQ(rig.shown(), 1);

    // Unlinking writes "0" and " "; the next linked position takes over, then none.
    EXPECT_EQ(profiles::UnlinkProfile(rig.store, ListId::MouseKeys, 1).display.application, " ");
    EXPECT_EQ(rig.store.link(ListId::MouseKeys, 1).flag, "0");
    const auto index = platform::ReadWholeFile(rig.store.indexPath(ListId::MouseKeys)).value_or("");
    EXPECT_NE(index.find("1= \n", index.find("[PROCESS]")), std::string::npos) << index;
    rig.watcher.pass();
    EXPECT_EQ(rig.shown(), 2);
    profiles::UnlinkProfile(rig.store, ListId::MouseKeys, 2);
    rig.watcher.pass();
    EXPECT_EQ(rig.shown(), 0);
}

TEST_F(XTest, LinkingTheProgramsOwnExecutable) {
    WatchRig rig(x->display());
    ASSERT_TRUE(rig.link(2, SelfExecutable()).changed);
    const auto own = x->open(kHelper, getpid());  // a window of this process
    ASSERT_TRUE(own);
    front(own->id);
    rig.watcher.pass();
    EXPECT_EQ(rig.shown(), 2);
    front(windowOne);
    rig.watcher.pass();
    EXPECT_EQ(rig.shown(), 0);
}

TEST_F(XTest, WatcherThreadSwitchesAndStopsAtOnce) {
    WatchRig rig(x->display());
    ASSERT_TRUE(rig.link(1, gameOne).changed);
    std::jthread thread([&](std::stop_token stop) { rig.watcher.run(stop); });

    const auto waitFor = [&](int shown) {
        for (int i = 0; i < 100 && rig.shown() != shown; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return rig.shown();
    };
    front(windowOne);
    EXPECT_EQ(waitFor(1), 1);  // within a period (2 s) of coming to the front
    front(windowTwo);
    EXPECT_EQ(waitFor(0), 0);
    EXPECT_EQ(rig.recorded(), 0);

    // Stopping does not wait out the two-second period.
    const auto start = std::chrono::steady_clock::now();
    thread.request_stop();
    thread.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
}

}  // namespace
}  // namespace orvane
