// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lighting edits the pages and `orvanectl lighting` make to the stored records: the
// mode counts, the slider-to-speed rule and the keyboard's per-key paint (one key, a whole
// layer lit, a whole layer erased). Each edit works on the model's data under its lock, so
// the animation, which copies the layer under the same lock, never sees a half-done fill.

#include <cstddef>
#include <cstdint>

#include "keyboard/keyboard_model.h"

namespace orvane::lighting {

inline constexpr size_t kRgbKeyboardModeCount = 16;
inline constexpr size_t kMonoKeyboardModeCount = 17;
inline constexpr size_t kMouseModeCount = 10;
inline constexpr uint8_t kRgbCustomMode = 15;   ///< per-key colours
inline constexpr uint8_t kMonoCustomMode = 10;  ///< per-key levels
inline constexpr uint8_t kBrightnessSteps = 5;  ///< slider positions 0-4
inline constexpr uint8_t kSlowestSpeed = 4;

constexpr size_t KeyboardModeCount(keyboard::KeyboardVariant v) {
    return v == keyboard::KeyboardVariant::Rgb ? kRgbKeyboardModeCount : kMonoKeyboardModeCount;
}
constexpr uint8_t CustomModeOf(keyboard::KeyboardVariant v) {
    return v == keyboard::KeyboardVariant::Rgb ? kRgbCustomMode : kMonoCustomMode;
}
/// Keyboard and mouse speed byte of a slider position: 4 - position, never below 0.
constexpr uint8_t SpeedFromSlider(int position) {
    return position >= kSlowestSpeed ? 0 : uint8_t(kSlowestSpeed - (position < 0 ? 0 : position));
}
constexpr int SliderFromSpeed(uint8_t speed) { return speed >= kSlowestSpeed ? 0 : kSlowestSpeed - speed; }

/// The LED slot a key position paints, or nullopt-like kNoLed (126) when it has none.
uint8_t PaintSlotOf(keyboard::KeyboardVariant v, size_t position);

enum class PaintTool : uint8_t { Light, Erase };

/// Whether a key click paints: the mode is the variant's custom mode and the position has
/// an LED.
bool PaintsKey(uint8_t mode, keyboard::KeyboardVariant v, size_t position);
/// Paints one key in the paint layer when the record's mode is the variant's custom mode and
/// the position has an LED; true when something was written (and must be saved).
bool PaintKey(keyboard::KeyboardData& d, keyboard::KeyboardVariant v, size_t position, PaintTool tool);
/// Lights every unlit slot of the paint layer (a slot whose bytes are all 0 is unlit) with
/// the paint colour (RGB) or level 255 (single colour); lit slots keep theirs.
void FillLayer(keyboard::KeyboardData& d, keyboard::KeyboardVariant v);
/// Every slot of the paint layer becomes unlit.
void ClearLayer(keyboard::KeyboardData& d, keyboard::KeyboardVariant v);
/// The paint layer byte as the layer it names (a damaged byte above 4 names layer 0).
size_t PaintLayer(const keyboard::KeyboardData& d);

}  // namespace orvane::lighting
