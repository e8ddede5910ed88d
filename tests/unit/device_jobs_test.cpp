// SPDX-License-Identifier: GPL-3.0-or-later
// Device jobs: one queue per connection runs its jobs in order off the caller's thread and
// delivers each result through the poster; a job that needs an absent device does not run;
// stop drops what waits, delivers nothing more and is bounded even when a job overruns.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <atomic>
#include <mutex>
#include <thread>

#include "device/protocol/connection.h"
#include "runtime/device_jobs.h"
#include "runtime/ui_dispatcher.h"
#include "support/null_backend.h"

using namespace orvane;
using runtime::DeviceJobQueue;
using runtime::JobStatus;

namespace {

// A poster that runs deliveries on a thread of its own and counts them, standing in for the
// window's event loop.
struct CollectingPoster {
    std::mutex mutex;
    std::vector<std::function<void()>> pending;
    runtime::Poster poster() {
        return [this](std::function<void()> fn) {
            std::lock_guard guard(mutex);
            pending.push_back(std::move(fn));
        };
    }
    size_t size() {
        std::lock_guard guard(mutex);
        return pending.size();
    }
    size_t runAll() {
        std::vector<std::function<void()>> now;
        {
            std::lock_guard guard(mutex);
            now.swap(pending);
        }
        for (auto& fn : now) fn();
        return now.size();
    }
};

bool WaitFor(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return done();
}

TEST(DeviceJobs, RunInOrderOffTheCallersThreadAndReportThroughThePoster) {
    testing_support::NullBackend backend;
    protocol::DeviceConnection connection(backend, "ms");
    connection.connected = true;
    CollectingPoster delivery;
    DeviceJobQueue queue("ms", &connection, delivery.poster());
    std::vector<int> order;
    std::vector<JobStatus> statuses;
    const auto caller = std::this_thread::get_id();
    std::atomic<bool> offCaller{true};
    for (int i = 0; i < 5; ++i)
        queue.submit<int>({.name = "job"},
                          [&, i] {
                              if (std::this_thread::get_id() == caller) offCaller = false;
                              return i;
                          },
                          [&](JobStatus s, const int& v) {
                              statuses.push_back(s);
                              order.push_back(v);
                          });
    ASSERT_TRUE(WaitFor([&] { return !queue.idle() && delivery.size() == 5; }));
    EXPECT_TRUE(order.empty());  // nothing is delivered but through the poster
    EXPECT_EQ(delivery.runAll(), 5u);
    EXPECT_TRUE(queue.idle());
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(statuses, std::vector<JobStatus>(5, JobStatus::Done));
    EXPECT_TRUE(offCaller);
}

TEST(DeviceJobs, AJobThatNeedsAnAbsentDeviceDoesNotRun) {
    testing_support::NullBackend backend;
    protocol::DeviceConnection connection(backend, "kb");  // never connected
    DeviceJobQueue queue("kb", &connection, {});  // no poster: delivered on the queue's thread
    std::atomic<int> ran{0};
    std::atomic<int> notConnected{0}, done{0};
    queue.submit({.name = "bank"}, [&] { ++ran; }, [&](JobStatus s) { (s == JobStatus::NotConnected ? notConnected : done)++; });
    queue.submit({.name = "file", .needsDevice = false}, [&] { ++ran; }, [&](JobStatus s) { (s == JobStatus::Done ? done : notConnected)++; });
    ASSERT_TRUE(WaitFor([&] { return notConnected + done == 2; }));
    EXPECT_EQ(ran, 1);
    EXPECT_EQ(notConnected, 1);
    EXPECT_EQ(done, 1);
}

TEST(DeviceJobs, StopDropsWhatWaitsDeliversNothingMoreAndIsBounded) {
    CollectingPoster delivery;
    std::atomic<bool> release{false};
    std::atomic<int> delivered{0}, ran{0};
    {
        DeviceJobQueue queue("mp", nullptr, delivery.poster());
        queue.submit({.name = "long"}, [&] {
            ++ran;
            while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }, [&](JobStatus) { ++delivered; });
        for (int i = 0; i < 3; ++i) queue.submit({.name = "waiting"}, [&] { ++ran; }, [&](JobStatus) { ++delivered; });
        ASSERT_TRUE(WaitFor([&] { return ran == 1; }));
        QElapsedTimer clock;
        clock.start();
        EXPECT_FALSE(queue.stop(std::chrono::milliseconds(100)));  // the job in hand overruns
        EXPECT_LT(clock.elapsed(), 2000);
        queue.submit({.name = "after stop"}, [&] { ++ran; }, [&](JobStatus) { ++delivered; });
    }  // the queue is gone while its job still runs
    release = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    delivery.runAll();
    EXPECT_EQ(ran, 1);
    EXPECT_EQ(delivered, 0);
}

// A whole orvanectl command is one job; the jobs it submits to its own queue run within it
// and it reads their results before it goes on. Without the scope, or from another thread,
// a job waits its turn as always.
TEST(DeviceJobs, AJobsOwnJobsRunWithinItWhileNestedJobsRunAtOnce) {
    testing_support::NullBackend backend;
    protocol::DeviceConnection connection(backend, "kb");  // not connected
    CollectingPoster delivery;
    std::atomic<int> sent{0};
    const runtime::Sender sender = [&](std::function<void()> fn, std::stop_token) {
        ++sent;  // the program's sender runs fn on the window's thread and waits for it
        fn();
        return true;
    };
    DeviceJobQueue queue("kb", &connection, delivery.poster(), {}, sender);
    std::vector<std::string> steps;  // the queue's thread only, until the end
    queue.submit({.name = "command", .needsDevice = false}, [&] {
        {
            DeviceJobQueue::NestedJobsAtOnce nested;
            int value = 0;
            queue.submit<int>({.name = "profile", .needsDevice = false}, [&] { steps.push_back("inner ran"); return 7; },
                              [&](JobStatus s, const int& v) {
                                  steps.push_back(s == JobStatus::Done ? "inner delivered" : "inner not done");
                                  value = v;
                              });
            steps.push_back("command read " + std::to_string(value));
            queue.submit({.name = "bank"}, [&] { steps.push_back("bank ran"); },
                         [&](JobStatus s) { steps.push_back(s == JobStatus::NotConnected ? "bank: no device" : "bank?"); });
        }
        // Outside the scope: the job waits behind this one.
        queue.submit({.name = "later", .needsDevice = false}, [&] { steps.push_back("later ran"); });
        steps.push_back("command ends");
    });
    ASSERT_TRUE(WaitFor([&] { return delivery.size() == 2; }));  // the command's and later's onDone
    EXPECT_EQ(steps, (std::vector<std::string>{"inner ran", "inner delivered", "command read 7", "bank: no device",
                                               "command ends", "later ran"}));
    EXPECT_EQ(sent, 2);  // the nested deliveries went through the sender, not the poster
    delivery.runAll();
    EXPECT_TRUE(queue.idle());
}

TEST(UiDispatcher, SendRunsOnTheLoopsThreadAndIsWithdrawnOnStop) {
    runtime::UiDispatcher dispatcher;
    std::atomic<bool> ranOnLoopThread{false};
    std::atomic<bool> sent{false};
    const auto loopThread = std::this_thread::get_id();
    std::jthread worker([&](std::stop_token stop) {
        sent = dispatcher.send([&] { ranOnLoopThread = std::this_thread::get_id() == loopThread; }, stop);
    });
    QElapsedTimer clock;
    clock.start();
    while (!sent && clock.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    worker.join();
    EXPECT_TRUE(sent);
    EXPECT_TRUE(ranOnLoopThread);

    // The loop's thread is busy (here: not running its loop) when the worker is told to
    // stop: the send gives up instead of waiting, and the function never runs.
    std::atomic<bool> ran{false};
    std::atomic<bool> returned{false};
    std::jthread blocked([&](std::stop_token stop) {
        sent = dispatcher.send([&] { ran = true; }, stop);
        returned = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    blocked.request_stop();
    blocked.join();
    EXPECT_TRUE(returned);
    EXPECT_FALSE(sent);
    QCoreApplication::processEvents();
    EXPECT_FALSE(ran);
}

}  // namespace
