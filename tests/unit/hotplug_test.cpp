// SPDX-License-Identifier: GPL-3.0-or-later
// The hot-plug signal the presence monitors sleep on: every waiter sees every raise once, a
// raise while nobody waits is not lost, a stop ends a wait at once; the udev watcher starts
// (where udev can be reached) and stops promptly.

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "device/hotplug.h"

namespace orvane::device {
namespace {

using namespace std::chrono_literals;

TEST(HotplugSignal, EachWaiterSeesEachRaiseOnce) {
    HotplugSignal signal;
    HotplugWaiter keyboard(signal), mouse(signal);
    signal.raise();  // nobody waits yet: kept for both
    EXPECT_TRUE(keyboard.wait({}, 1h));
    EXPECT_TRUE(keyboard.wokenByChange());
    EXPECT_TRUE(mouse.wait({}, 1h));
    EXPECT_TRUE(mouse.wokenByChange());
    // Seen: the next wait runs to its time-out.
    EXPECT_TRUE(keyboard.wait({}, 1ms));
    EXPECT_FALSE(keyboard.wokenByChange());
    // Two raises before a wait end one wait.
    signal.raise();
    signal.raise();
    EXPECT_TRUE(mouse.wait({}, 1h));
    EXPECT_TRUE(mouse.wait({}, 1ms));
    EXPECT_FALSE(mouse.wokenByChange());
    EXPECT_EQ(signal.count(), 3u);
}

TEST(HotplugSignal, ARaiseBeforeTheWaiterExistedDoesNotWakeIt) {
    HotplugSignal signal;
    signal.raise();
    HotplugWaiter late(signal);
    EXPECT_TRUE(late.wait({}, 1ms));
    EXPECT_FALSE(late.wokenByChange());
}

TEST(HotplugSignal, ARaiseFromAnotherThreadWakesEveryWaiter) {
    HotplugSignal signal;
    auto waitOnce = [&signal] {
        HotplugWaiter waiter(signal);
        return std::async(std::launch::async, [&signal, waiter]() mutable {
            waiter.wait({}, 1h);
            return waiter.wokenByChange();
        });
    };
    auto first = waitOnce();
    auto second = waitOnce();
    std::this_thread::sleep_for(20ms);  // usually both wait by now; a raise before is kept anyway
    signal.raise();
    EXPECT_TRUE(first.get());
    EXPECT_TRUE(second.get());
}

TEST(HotplugSignal, StopEndsAWaitAtOnce) {
    HotplugSignal signal;
    std::promise<bool> result;
    std::jthread worker([&](std::stop_token stop) {
        HotplugWaiter waiter(signal);
        result.set_value(waiter.wait(stop, 1h));
    });
    std::this_thread::sleep_for(20ms);
    worker.request_stop();
    auto future = result.get_future();
    ASSERT_EQ(future.wait_for(30s), std::future_status::ready);
    EXPECT_FALSE(future.get());
}

TEST(UdevHotplugWatcher, StartsWhereUdevIsReachableAndStopsPromptly) {
    HotplugSignal signal;
    UdevHotplugWatcher watcher(signal);
    if (!watcher.start()) GTEST_SKIP() << "udev's monitor cannot be opened here; the scans stay the only path";
    EXPECT_TRUE(watcher.running());
    EXPECT_TRUE(watcher.start());  // already running: nothing more
    auto stopped = std::async(std::launch::async, [&] { watcher.stop(); });
    EXPECT_EQ(stopped.wait_for(30s), std::future_status::ready);
    EXPECT_FALSE(watcher.running());
    watcher.stop();  // twice is harmless
}

}  // namespace
}  // namespace orvane::device
