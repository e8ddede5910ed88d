// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keyboard's lighting effects: engine state, the reset and start states run on mode
// selection, and the per-tick renderers of the RGB and the single-colour keyboard. Pure
// functions: no I/O, no sleeping, no clock; randomness comes from the caller.

#include <array>
#include <cstdint>
#include <span>

#include "keyboard/keyboard_model.h"
#include "lighting/frame.h"
#include "lighting/keyboard_tables.h"
#include "lighting/random.h"

namespace orvane::lighting {

using keyboard::KeyboardVariant;

/// Ripple bit planes: one byte per grid column, bit r = grid row r (bit 6 = one row below).
enum RipplePlane : uint8_t { kDownLeft = 0, kDownRight = 1, kUpRight = 2, kUpLeft = 3 };
using RipplePlanes = std::array<std::array<uint8_t, kGridColumns>, 4>;

/// The keyboard engine's state, shared by both variants' effects; all bytes wrap.
struct KeyboardEngineState {
    uint8_t phase = 0;
    uint8_t hueStep = 0;  ///< +1 after every tick, also advanced by the effects
    std::array<uint8_t, kKeyCount> keyLevel{};
    std::array<uint8_t, kKeyCount> keyHue{};
    std::array<uint8_t, kKeyCount> keyPhase{};
    uint8_t runPos = 0;
    uint8_t twinklePos = 0;
    uint8_t monoTwinklePos = 0;
    uint8_t breathHue = 0;
    RipplePlanes ripple{};
};

/// On every mode selection: phase, key levels, key colours and the ripple planes to 0; the
/// key phases, running position, colour counter and twinkle positions keep their values.
void ResetAnimationState(KeyboardEngineState& s);
/// The start state some modes set on selection (ripple seeds, per-key start phases).
void ApplyStartState(KeyboardEngineState& s, KeyboardVariant variant, uint8_t mode);
/// What a mode selection does to the engine: reset, then the mode's start state.
inline void SelectKeyboardMode(KeyboardEngineState& s, KeyboardVariant variant, uint8_t mode) {
    ResetAnimationState(s);
    ApplyStartState(s, variant, mode);
}

inline constexpr size_t kRgbFrameSize = kKeyCount * 3;  // 378
inline constexpr size_t kMonoFrameSize = kKeyCount;     // 126
inline constexpr size_t kMonoReportChunk = 56;

/// A keyboard tick: 378 bytes (RGB) or 126 (single colour); preview cells by key position.
struct KeyboardFrame : Frame<kRgbFrameSize, kKeyCount> {
    /// The single-colour static, breathing, off and custom modes send their three reports
    /// themselves (56, 56 and 14 bytes at offsets 0, 56, 112) and stop at the first report
    /// that fails or is refused; the other frames go out as one command-18 write.
    bool ownReports = false;
};

/// The command-18 payloads of a frame in the order they are sent: one for a whole frame,
/// three report chunks when the effect sends its reports itself.
struct FramePayloads {
    std::array<std::span<const uint8_t>, 3> parts;
    size_t count = 0;
};
FramePayloads PayloadsOf(const KeyboardFrame& f);

/// What the keyboard renderers read: the lighting choice (record bytes 1-8), the variant
/// and, for the custom modes, the layer being shown and the colour map.
struct KeyboardInputs {
    LightingChoice choice;
    KeyboardVariant variant = KeyboardVariant::Rgb;
    uint8_t layer = 0;  ///< `CustomPaintState` byte 0; above 4 shows layer 0
    const keyboard::KeyColourMap* colours = nullptr;
};

/// The single-colour keyboard's preview tint (the colour its page shows: 36, 0, 255).
inline constexpr Rgb kMonoPreviewColour{36, 0, 255};

/// Renders one tick of the chosen mode. A mode with no effect gives a frame of size 0.
KeyboardFrame RenderKeyboard(const KeyboardInputs& in, KeyboardEngineState& s, RandomSource& random);

/// One tick as the worker runs it: while the keyboard is under synchronised lighting
/// nothing is rendered (size 0); either way `hueStep` then advances by one.
KeyboardFrame KeyboardTick(const KeyboardInputs& in, KeyboardEngineState& s, RandomSource& random,
                           bool syncLighting);

}  // namespace orvane::lighting
