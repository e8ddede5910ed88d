// SPDX-License-Identifier: GPL-3.0-or-later
// Application-linked profiles under a real X server: ForegroundApp reading the active
// window's executable, and the watchers selecting the linked profile and giving the user's
// own back, with windows of two different executables brought to the front as a window
// manager does.

#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/atomic_file.h"

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

/// A copy of a small program running from a scratch folder, ended when the object goes.
struct RunningCopy {
    pid_t pid = -1;
    explicit RunningCopy(const fs::path& copy) {
        char* argv[] = {const_cast<char*>(copy.c_str()), const_cast<char*>("600"), nullptr};
        if (::posix_spawn(&pid, copy.c_str(), nullptr, nullptr, argv, environ) != 0) pid = -1;
        // Until the exec is done /proc/PID/exe still names this test program.
        for (int i = 0; i < 400 && pid > 0 && platform::ExecutableOfProcess(pid) != copy.string(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ~RunningCopy() {
        if (pid <= 0) return;
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
};

struct ScratchFolder {
    fs::path path;
    ScratchFolder() {
        std::string pattern = (fs::temp_directory_path() / "orvane-exe-XXXXXX").string();
        path = ::mkdtemp(pattern.data());
    }
    ~ScratchFolder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

/// Replaces `file` as a package manager does: a new file written beside it, renamed over it.
void ReplaceAsAnUpgradeDoes(const fs::path& program, const fs::path& file) {
    fs::copy_file(program, file.string() + ".new");
    fs::rename(file.string() + ".new", file);
}

TEST(ExecutableIdentity, RenamedReplacedOrRemovedWhileRunning) {
    const fs::path sleep = fs::canonical("/bin/sleep");
    ScratchFolder scratch;
    const auto dir = fs::canonical(scratch.path);
    struct Case {
        const char* what;
        const char* name;
        const char* renamedTo;  ///< null: not renamed
        bool replaced, removed;
        const char* kernelSays;  ///< what /proc/PID/exe names afterwards, as ExecutableOfProcess reads it
    } const cases[] = {
        {"untouched", "game", nullptr, false, false, "game"},
        {"renamed while it runs", "game", "game-renamed", false, false, "game-renamed"},
        {"replaced by an upgrade (\"game (deleted)\")", "game", nullptr, true, false, "game"},
        {"removed", "game", nullptr, false, true, "game"},
        {"a file really named so keeps its name", "tool (deleted)", nullptr, false, false, "tool (deleted)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path file = dir / c.name;
        fs::copy_file(sleep, file, fs::copy_options::overwrite_existing);
        RunningCopy running(file);
        ASSERT_GT(running.pid, 0);
        platform::ExecutableMemo memo;
        ASSERT_EQ(memo.of(running.pid), file.string());  // seen once while it has its name

        if (c.renamedTo) fs::rename(file, dir / c.renamedTo);
        if (c.replaced) ReplaceAsAnUpgradeDoes(sleep, file);
        if (c.removed) fs::remove(file);
        EXPECT_EQ(platform::ExecutableOfProcess(running.pid), (dir / c.kernelSays).string());
        EXPECT_EQ(memo.of(running.pid), file.string()) << "the executable it had when first seen";
        std::vector<fs::path> left;
        for (const auto& entry : fs::directory_iterator(dir)) left.push_back(entry.path());
        for (const auto& path : left) fs::remove(path);
    }
    platform::ExecutableMemo memo;
    EXPECT_EQ(memo.of(0x7FFFFFF0), std::nullopt) << "no such process";
}

TEST_F(XTest, WatcherFollowsALinkedProgramRenamedOrReplacedWhileItRuns) {
    WatchRig rig(x->display());
    const fs::path gameThree = x->copyAs(kHelper, "game-three");
    const auto three = x->open(gameThree);
    ASSERT_TRUE(three);
    ASSERT_TRUE(rig.link(1, gameOne).changed);
    ASSERT_TRUE(rig.link(2, gameThree).changed);
    front(windowOne);
    rig.watcher.pass();
    ASSERT_EQ(rig.shown(), 1);

    // game-one renamed while it runs: still the linked program.
    fs::rename(gameOne, gameOne.string() + ".old");
    front(windowTwo);
    rig.watcher.pass();
    EXPECT_EQ(rig.shown(), 0);
    front(windowOne);
    rig.watcher.pass();
    EXPECT_EQ(rig.shown(), 1);

    // game-three replaced by an upgrade before it was ever in front: its /proc entry reads
    // ".../game-three (deleted)".
    ReplaceAsAnUpgradeDoes(kHelper, gameThree);
    front(three->id);
    rig.watcher.pass();
    EXPECT_EQ(rig.shown(), 2);
}

TEST_F(XTest, WaitForChangeWakesOnANewActiveWindow) {
    platform::ForegroundApp foreground(x->display());
    uint64_t seen = 0;
    std::atomic<bool> woke{false};
    std::jthread waiter([&](std::stop_token stop) {
        foreground.waitForChange(stop, std::chrono::minutes(5), seen);
        woke = true;
    });
    // The waiter starts listening at some point: switch until it has seen a switch.
    for (int i = 0; i < 200 && !woke; ++i) {
        front(i % 2 ? windowOne : windowTwo);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    waiter.join();
    EXPECT_TRUE(woke);
    EXPECT_NE(seen, 0u) << "woken by the change, not by the five-minute period";

    // Several waiters: a stop ends each at once, the one reading the display too.
    std::vector<std::jthread> waiters;
    std::atomic<int> stopped{0};
    for (int i = 0; i < 3; ++i)
        waiters.emplace_back([&, mine = seen](std::stop_token stop) mutable {
            while (foreground.waitForChange(stop, std::chrono::minutes(5), mine)) {}
            ++stopped;
        });
    for (auto& w : waiters) w.request_stop();
    waiters.clear();
    EXPECT_EQ(stopped, 3);
}

TEST(ForegroundWithoutX, WaitForChangeWaitsOutThePeriod) {
    platform::ForegroundApp none(":not-a-display");
    uint64_t seen = 0;
    EXPECT_TRUE(none.waitForChange({}, std::chrono::milliseconds(20), seen));
    EXPECT_EQ(seen, 0u);
    std::stop_source stopped;
    stopped.request_stop();
    EXPECT_FALSE(none.waitForChange(stopped.get_token(), std::chrono::minutes(5), seen));
}

}  // namespace
}  // namespace orvane
