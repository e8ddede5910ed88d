// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Internal to the keyboard renderers: the painters that map key positions to slots, the
// level decay and the ripple planes.

#include "lighting/keyboard_engine.h"

namespace orvane::lighting::detail {

/// Keys that start to twinkle on each tick of the twinkle effect, on both keyboards.
inline constexpr unsigned kTwinklesPerTick = 3;

/// Writes RGB colours through `kRgbSlot` (or slot = position for the static effects) and
/// records the preview of each painted position.
struct RgbPainter {
    KeyboardFrame& frame;
    uint8_t b;  ///< output level

    void full(uint8_t position, Rgb c) {
        if (!IsKey(position) || !IsKey(kRgbSlot[position])) return;
        frame.putRgb(kRgbSlot[position], KeyScale(c, b));
        frame.show(position, c, b);
    }
    void withLevel(uint8_t position, Rgb c, uint8_t level) {
        if (!IsKey(position) || !IsKey(kRgbSlot[position])) return;
        frame.putRgb(kRgbSlot[position], KeyScale(c, b, level));
        frame.show(position, c, KeyLevel(b, level));
    }
    /// Static effects: slot i for position i, all 126.
    void everySlotDirect(Rgb c) {
        const Rgb out = KeyScale(c, b);
        for (size_t i = 0; i < kKeyCount; ++i) {
            frame.putRgb(i, out);
            frame.show(i, c, b);
        }
    }
};

/// Writes levels through `kMonoSlot`.
struct MonoPainter {
    KeyboardFrame& frame;
    uint8_t b;

    void withLevel(uint8_t position, uint8_t level) {
        if (!IsKey(position) || !IsKey(kMonoSlot[position])) return;
        const uint8_t out = KeyLevel(b, level);
        frame.bytes[kMonoSlot[position]] = out;
        frame.show(position, kMonoPreviewColour, out);
    }
};

/// One tick of level decay; the RGB ripple decays faster at the top and holds 9-16.
uint8_t Decay(uint8_t level, bool rgbRipple);

bool AnyRippleBit(const RipplePlanes& p, size_t column, size_t row);
/// Every grid cell lit in any plane gets level 254 (and, with seven colours, the next
/// colour from `hueStep` + 13). `clearOthers` sets the unlit cells to 0.
void RippleLevels(KeyboardEngineState& s, bool sevenColour, bool clearOthers);
/// Spreads the planes one column sideways and one row up or down.
void RippleAdvance(RipplePlanes& p);
uint8_t ColumnBits(const RipplePlanes& p, size_t column);
void SetColumnBits(RipplePlanes& p, size_t column, uint8_t bits);

void RenderRgb(const KeyboardInputs& in, KeyboardEngineState& s, RandomSource& random, KeyboardFrame& f);
void RenderMono(const KeyboardInputs& in, KeyboardEngineState& s, KeyboardFrame& f);

}  // namespace orvane::lighting::detail
