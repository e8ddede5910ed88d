// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Waiting for something another thread does, with a bound generous enough for a loaded
// machine; the caller's EXPECT says what did not happen.

#include <chrono>
#include <functional>
#include <thread>

namespace orvane::testing {

inline bool Eventually(const std::function<bool()>& pred,
                       std::chrono::milliseconds bound = std::chrono::seconds(10)) {
    const auto end = std::chrono::steady_clock::now() + bound;
    while (!pred()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

}  // namespace orvane::testing
