// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Frames from outside the program (an OpenRGB SDK client) for one device at a time. While a
// device is driven from outside its own effect and the synchronised one pause; its worker
// sends the newest frame it finds at the pace the link allows, so a client that sends faster
// than the device can take only skips frames, it never builds a queue.

#include <array>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "lighting/sync_effects.h"

namespace orvane::lighting {

struct OutsideFrame {
    std::vector<uint8_t> payload;  ///< the command-18 payload as the device takes it
    std::chrono::steady_clock::time_point received;  ///< when the program got it
};

class OutsideFrames {
public:
    /// From now on the device shows frames from outside.
    void begin(LightingDevice device);
    /// Replaces any frame not yet sent (newest wins); begins when not driven yet. True when
    /// this began it.
    bool put(LightingDevice device, OutsideFrame frame);
    /// Back to the device's own lighting; false when it was not driven from outside.
    bool end(LightingDevice device);
    bool driven(LightingDevice device) const;
    /// The frame waiting to be sent, taken out.
    std::optional<OutsideFrame> take(LightingDevice device);
    /// Frames replaced before they were sent (the client was faster than the link).
    uint64_t skipped(LightingDevice device) const;

private:
    struct Slot {
        bool driven = false;
        std::optional<OutsideFrame> pending;
        uint64_t skipped = 0;
    };
    mutable std::mutex mutex_;
    std::array<Slot, 3> slots_;
};

}  // namespace orvane::lighting
