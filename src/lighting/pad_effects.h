// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mousepad's lighting effects (modes 0-9) over its 15 LEDs: 45-byte frames, 60 for
// static, breathing and flash on click.

#include <atomic>
#include <cstdint>

#include "lighting/device_tables.h"
#include "lighting/frame.h"

namespace orvane::lighting {

struct PadAnimationState {
    uint8_t phase = 0;
    std::array<uint8_t, kPadLedCount> level{};
    std::array<uint8_t, kPadLedCount> colourIndex{};
    std::array<bool, kPadLedCount> trigger{};  ///< the ripple's ring of 15 positions
    uint8_t colourCounter = 0;
    int32_t sweep = 0;
    bool sweepDown = false;
    uint16_t fillMask = 0x3F00;
    bool emptying = true;
    uint8_t fillCounter = 0;
    bool flash = false;
    uint64_t flashStartMs = 0;
    uint8_t flashColour = 0;
};

/// A mode change: phase, levels, colour indexes and triggers to 0 (the sweep, fill and
/// flash states carry on); the ripple (mode 5) starts with trigger 0 set.
void ResetPadAnimation(PadAnimationState& s, const LightingChoice& choice);

inline constexpr size_t kPadFrameSize = kPadLedCount * 3;  // 45
inline constexpr size_t kPadLongFrameSize = 60;
/// The fill-and-empty effect's rest at each end of its cycle, with no frame.
inline constexpr uint32_t kPadFillPauseMs = 1000;

struct PadFrame : Frame<kPadLongFrameSize, kPadLedCount> {
    uint32_t pauseMs = 0;  ///< sleep this long instead of sending (size is then 0)
};

struct PadInputs {
    LightingChoice choice;  ///< `PadState` bytes 1-8
    uint64_t nowMs = 0;
    std::atomic<bool>* click = nullptr;  ///< the pad's own click flag, taken by the flash
};

PadFrame RenderPad(const PadInputs& in, PadAnimationState& s);

}  // namespace orvane::lighting
