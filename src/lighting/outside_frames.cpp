// SPDX-License-Identifier: GPL-3.0-or-later
#include "lighting/outside_frames.h"

namespace orvane::lighting {

void OutsideFrames::begin(LightingDevice device) {
    std::lock_guard guard(mutex_);
    slots_[size_t(device)].driven = true;
}

bool OutsideFrames::put(LightingDevice device, OutsideFrame frame) {
    std::lock_guard guard(mutex_);
    Slot& slot = slots_[size_t(device)];
    const bool began = !slot.driven;
    slot.driven = true;
    if (slot.pending) ++slot.skipped;
    slot.pending = std::move(frame);
    return began;
}

bool OutsideFrames::end(LightingDevice device) {
    std::lock_guard guard(mutex_);
    Slot& slot = slots_[size_t(device)];
    const bool was = slot.driven;
    slot.driven = false;
    slot.pending.reset();
    return was;
}

bool OutsideFrames::driven(LightingDevice device) const {
    std::lock_guard guard(mutex_);
    return slots_[size_t(device)].driven;
}

std::optional<OutsideFrame> OutsideFrames::take(LightingDevice device) {
    std::lock_guard guard(mutex_);
    Slot& slot = slots_[size_t(device)];
    if (!slot.driven) return std::nullopt;
    std::optional<OutsideFrame> frame = std::move(slot.pending);
    slot.pending.reset();
    return frame;
}

uint64_t OutsideFrames::skipped(LightingDevice device) const {
    std::lock_guard guard(mutex_);
    return slots_[size_t(device)].skipped;
}

}  // namespace orvane::lighting
