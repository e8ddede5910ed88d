// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the animation workers sleep. Timed sleeps end early only on stop. A worker with
// nothing to render (device absent, synchronised elsewhere, a mode that sends nothing)
// waits for a change instead: whoever changes what the workers read (a connect, a mode,
// a sync flag) calls notify(), and stop wakes every wait at once.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <stop_token>

namespace orvane::lighting {

class ChangeSignal {
public:
    /// Wakes every worker waiting for a change.
    void notify();
    uint64_t generation() const;

    /// Sleeps `duration` unless stopped first; false when stopped.
    static bool SleepFor(std::stop_token stop, std::chrono::milliseconds duration);
    static bool SleepMs(std::stop_token stop, uint32_t ms) { return SleepFor(stop, std::chrono::milliseconds(ms)); }
    /// Waits until a notify() after `seen` (a generation read before the worker decided it
    /// had nothing to do), a stop, or `recheck` has passed (none: no time limit). False when
    /// stopped.
    bool waitForChange(std::stop_token stop, uint64_t seen, std::optional<std::chrono::milliseconds> recheck);

    /// Asks for wake-ups on time (Linux lets a sleeping thread wake up to 50 µs late by
    /// default, which adds up over a frame's sleeps and report waits). Calling thread only.
    static void WakeOnTime();

private:
    mutable std::mutex mutex_;
    std::condition_variable_any changed_;
    uint64_t generation_ = 0;
};

}  // namespace orvane::lighting
