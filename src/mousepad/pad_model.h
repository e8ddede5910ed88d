#pragma once
// What the program holds about the mousepad, for the whole run; shared by the presence
// monitor, the window thread and the pad animation through snapshot()/update().

#include <array>
#include <atomic>
#include <mutex>

#include "mousepad/pad_records.h"

namespace orvane::mousepad {

struct PadData {
    PadDeviceInfo info;
    std::array<PadSlotRecord, kSlotCount> slots{};
    PadState state;
};

class PadModel {
public:
    PadData snapshot() const {
        std::lock_guard lock(mutex_);
        return data_;
    }
    PadState state() const {
        std::lock_guard lock(mutex_);
        return data_.state;
    }
    template <class Fn>
    void update(Fn&& fn) {
        std::lock_guard lock(mutex_);
        fn(data_);
    }

    /// Set by every lighting control of the pad page and by a lighting profile load;
    /// cleared by FlushPadState.
    std::atomic<bool> stateDirty{false};

private:
    mutable std::mutex mutex_;
    PadData data_;
};

}  // namespace orvane::mousepad
