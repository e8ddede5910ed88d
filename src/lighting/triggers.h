// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Flags other threads raise for the animation workers: the click that lights the mouse's
// and the mousepad's flash effects (the mouse's notification 0x0403), and the animation
// resets a mode selection asks for. The worker applies a reset before its next tick, so the
// engine state is only ever touched by the worker's own thread.

#include <atomic>

namespace orvane::lighting {

struct ReactiveTriggers {
    std::atomic<bool> mouseClick{false};
    std::atomic<bool> padClick{false};

    /// The mouse reported a click: both flash effects light up on their next tick.
    void click() {
        mouseClick.store(true, std::memory_order_relaxed);
        padClick.store(true, std::memory_order_relaxed);
    }
};

struct AnimationResetRequests {
    std::atomic<bool> keyboard{false};
    std::atomic<bool> mouse{false};
    std::atomic<bool> pad{false};
};

}  // namespace orvane::lighting
