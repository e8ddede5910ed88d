// SPDX-License-Identifier: GPL-3.0-or-later
#include "lighting/animation_signal.h"

#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace orvane::lighting {

void ChangeSignal::notify() {
    {
        std::lock_guard guard(mutex_);
        ++generation_;
    }
    changed_.notify_all();
}

uint64_t ChangeSignal::generation() const {
    std::lock_guard guard(mutex_);
    return generation_;
}

void ChangeSignal::WakeOnTime() {
#ifdef __linux__
    prctl(PR_SET_TIMERSLACK, 1000UL, 0, 0, 0);  // 1 µs
#endif
}

bool ChangeSignal::SleepFor(std::stop_token stop, std::chrono::milliseconds duration) {
    if (duration.count() <= 0) return !stop.stop_requested();
    std::mutex mutex;
    std::condition_variable_any cv;
    std::unique_lock lock(mutex);
    cv.wait_for(lock, stop, duration, [] { return false; });
    return !stop.stop_requested();
}

bool ChangeSignal::waitForChange(std::stop_token stop, uint64_t seen,
                                 std::optional<std::chrono::milliseconds> recheck) {
    std::unique_lock lock(mutex_);
    const auto changed = [&] { return generation_ != seen; };
    if (recheck) changed_.wait_for(lock, stop, *recheck, changed);
    else changed_.wait(lock, stop, changed);
    return !stop.stop_requested();
}

}  // namespace orvane::lighting
