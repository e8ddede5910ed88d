// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the program holds about the mousepad, for the whole run; shared by the presence
// monitor, the window thread and the pad animation through snapshot()/update().

#include <array>
#include <atomic>
#include <mutex>

#include "device/guarded_data.h"

#include "mousepad/pad_records.h"

namespace orvane::mousepad {

struct PadData {
    PadDeviceInfo info;
    std::array<PadSlotRecord, kSlotCount> slots{};
    PadState state;
};

class PadModel : public device::GuardedData<PadData> {
public:
    PadState state() const {
        return read([](const PadData& d) { return d.state; });
    }

    /// Set by every lighting control of the pad page and by a lighting profile load;
    /// cleared by FlushPadState.
    std::atomic<bool> stateDirty{false};
};

}  // namespace orvane::mousepad
