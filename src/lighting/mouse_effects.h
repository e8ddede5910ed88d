// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mouse's lighting effects (modes 0-9) over its 20 LEDs: 60-byte frames, 30 for blink.

#include <atomic>
#include <cstdint>

#include "lighting/device_tables.h"
#include "lighting/frame.h"

namespace orvane::lighting {

struct MouseAnimationState {
    uint8_t phase = 0;  ///< spectrum, breathing, wave and blink
    std::array<uint8_t, 14> level{};
    std::array<uint8_t, 14> colourIndex{};
    uint8_t colourCounter = 0;
    std::array<bool, 23> trigger{};  ///< the ripple's ring of 23 positions
    bool flash = false;
    uint64_t flashStartMs = 0;
    uint8_t flashColour = 0;
    bool blink = false;
};

/// A mode or direction change: phase, levels, colour indexes and the trigger ring to 0; in
/// the ripple (mode 4) the trigger starts at position 7 (direction 1) or 0 (direction 0).
void ResetMouseAnimation(MouseAnimationState& s, const LightingChoice& choice);

inline constexpr size_t kMouseFrameSize = kMouseLedCount * 3;  // 60
inline constexpr size_t kMouseBlinkFrameSize = 30;
using MouseFrame = Frame<kMouseFrameSize, kMouseLedCount>;

struct MouseInputs {
    LightingChoice choice;      ///< `MouseState` bytes 1-8
    uint8_t colourPhase = 0;    ///< `MouseState` byte 9; the breathing effect advances it
    uint64_t nowMs = 0;         ///< a monotonic clock, for the flash's 100 ms
    std::atomic<bool>* click = nullptr;  ///< taken (cleared) by the flash effect
};

/// Renders one tick. Modes 8 and above send nothing (size 0). `in.colourPhase` is updated
/// in place; the worker writes it back to byte 9 of `MouseState`.
MouseFrame RenderMouse(MouseInputs& in, MouseAnimationState& s);

}  // namespace orvane::lighting
