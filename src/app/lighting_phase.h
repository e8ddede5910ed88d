#pragma once
// The shared lighting phase counters, advanced every 10 ms on the UI thread and read by the
// animation threads: counters modulo 2, 3, 4 and 5, a free-running 8-bit counter, and a
// two-step counter that raises `tick` each time it wraps (every 20 ms).

#include <atomic>
#include <cstdint>

namespace orvane::app {

struct LightingPhase {
    std::atomic<uint8_t> mod2{0};
    std::atomic<uint8_t> mod3{0};
    std::atomic<uint8_t> mod4{0};
    std::atomic<uint8_t> mod5{0};
    std::atomic<uint8_t> counter{0};
    std::atomic<uint8_t> twoStep{0};
    std::atomic<bool> tick{false};  ///< set on each wrap; the reader clears it

    void advance() {
        mod2 = uint8_t((mod2 + 1) % 2);
        mod3 = uint8_t((mod3 + 1) % 3);
        mod4 = uint8_t((mod4 + 1) % 4);
        mod5 = uint8_t((mod5 + 1) % 5);
        counter = uint8_t(counter + 1);
        twoStep = uint8_t((twoStep + 1) % 2);
        if (twoStep == 0) tick = true;
    }
};

}  // namespace orvane::app
