// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one way a worker thread sleeps: for a duration, or until its stop is requested,
// whichever comes first, so that a stop is noticed at once.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stop_token>

namespace orvane::platform {

/// Sleeps for `duration` or until stop is requested. false when stopped.
inline bool SleepUnlessStopped(std::stop_token stop, std::chrono::milliseconds duration) {
    std::mutex mutex;
    std::condition_variable_any cv;
    std::unique_lock lock(mutex);
    return !cv.wait_for(lock, stop, duration, [] { return false; }) && !stop.stop_requested();
}

}  // namespace orvane::platform
