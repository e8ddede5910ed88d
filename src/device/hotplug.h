// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Instant hot-plug. A HotplugSignal says "the devices may have changed"; the presence monitors
// wait on it in place of their plain sleep, so an arrival or a removal is handled at once. A
// UdevHotplugWatcher raises it for every add and remove event of the hidraw subsystem. The
// periodic scans and probes stay as they were: they are the fallback, and the only path where
// udev cannot be reached.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <stop_token>

namespace orvane::device {

class HotplugSignal {
public:
    enum class Wake { Changed, TimedOut, Stopped };

    /// Wakes every waiter; a waiter that is not waiting now sees it on its next wait.
    void raise();
    /// Raises so far.
    uint64_t count() const;
    /// Waits until a raise after `seen`, a stop request or the time-out, whichever is first.
    /// On return `seen` covers every raise so far.
    Wake wait(std::stop_token stop, std::chrono::milliseconds timeout, uint64_t& seen);

private:
    mutable std::mutex mutex_;
    std::condition_variable_any changed_;
    uint64_t count_ = 0;
};

/// The signal the program's presence monitors share.
HotplugSignal& SystemHotplug();

/// One waiter's view of a signal: what it has seen. A monitor loop calls wait() where it
/// would sleep. Each waiter sees each raise once, so one event wakes all the monitors.
class HotplugWaiter {
public:
    explicit HotplugWaiter(HotplugSignal& signal = SystemHotplug());
    /// Sleeps for `timeout`, or less when devices came or went since the last wait (or since
    /// construction). false when stop was requested.
    bool wait(std::stop_token stop, std::chrono::milliseconds timeout);
    /// Whether the last wait ended on a raise (rather than its time-out).
    bool wokenByChange() const { return wokenByChange_; }

private:
    HotplugSignal& signal_;
    uint64_t seen_;
    bool wokenByChange_ = false;
};

/// Watches udev's hidraw events on its own thread and raises the signal for each add and
/// remove. The events come from udev after its rules ran, so a node announced as added
/// already has its permissions.
class UdevHotplugWatcher {
public:
    explicit UdevHotplugWatcher(HotplugSignal& signal = SystemHotplug());
    ~UdevHotplugWatcher();
    UdevHotplugWatcher(const UdevHotplugWatcher&) = delete;
    UdevHotplugWatcher& operator=(const UdevHotplugWatcher&) = delete;

    /// Starts watching. false (and nothing watched) when udev's monitor cannot be opened.
    bool start();
    /// Ends the watch; the thread is gone when this returns. Also done by the destructor.
    void stop();
    /// Started, not stopped, and the monitor has not failed.
    bool running() const;
    /// Add and remove events seen so far.
    uint64_t events() const;

private:
    struct Watch;
    HotplugSignal& signal_;
    std::atomic<uint64_t> events_{0};
    std::unique_ptr<Watch> watch_;
};

}  // namespace orvane::device
