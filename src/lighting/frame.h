// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every lighting renderer shares: the lighting choice read from a device record, the
// frame it produces (the command-18 payload and the preview cells), the scaling rules and
// the wrapping counters.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "device/byte_record.h"
#include "lighting/level_tables.h"

namespace orvane::lighting {

/// Bytes 1-8 of the keyboard's lighting record, `MouseState` and `PadState`, and bytes 0-7
/// of the synchronised record: one layout for every device.
struct LightingChoice {
    uint8_t mode = 0;
    uint8_t brightness = 0;
    uint8_t speed = 0;
    uint8_t direction = 0;
    uint8_t sevenColour = 0;
    Rgb colour;

    static constexpr LightingChoice FromBytes(std::span<const uint8_t, 8> b) {
        return {b[0], b[1], b[2], b[3], b[4], {b[5], b[6], b[7]}};
    }
    /// The choice held in bytes 1-8 of a device record.
    template <class Record>
    static constexpr LightingChoice Of(const Record& r) {
        return FromBytes(std::span<const uint8_t, 8>(r.bytes.data() + 1, 8));
    }
    /// Writes the choice into bytes 1-8 of a device record.
    template <class Record>
    constexpr void writeTo(Record& r) const {
        const uint8_t b[8]{mode, brightness, speed, direction, sevenColour, colour.r, colour.g, colour.b};
        std::copy_n(b, 8, r.bytes.begin() + 1);
    }
    constexpr bool forward() const { return direction != 0; }
    constexpr bool seven() const { return sevenColour != 0; }
    /// Output level of the brightness byte; a byte above 4 (a damaged file) is full level.
    constexpr uint8_t level() const { return kBrightLevel[std::min<uint8_t>(brightness, 4)]; }
};

/// The preview value of a colour: (green << 16) | (blue << 8) | red.
constexpr uint32_t PreviewValue(Rgb c) { return uint32_t(c.g) << 16 | uint32_t(c.b) << 8 | c.r; }

/// One preview control's tint for this tick: the unscaled colour and the alpha.
struct PreviewCell {
    uint32_t colour = 0;
    uint8_t alpha = 0;
    bool painted = false;  ///< false: the effect left this cell alone this tick
};

/// A rendered tick: the command-18 payload (size 0: nothing is sent this tick) and one
/// preview cell per key position or LED.
template <size_t MaxBytes, size_t Cells>
struct Frame {
    std::array<uint8_t, MaxBytes> bytes{};
    uint16_t size = 0;
    std::array<PreviewCell, Cells> preview{};

    bool sends() const { return size != 0; }
    std::span<const uint8_t> payload() const { return {bytes.data(), size}; }
    void show(size_t index, Rgb unscaled, uint8_t alpha) {
        preview[index] = {PreviewValue(unscaled), alpha, true};
    }
    void putRgb(size_t led, Rgb c) {
        bytes[3 * led] = c.r;
        bytes[3 * led + 1] = c.g;
        bytes[3 * led + 2] = c.b;
    }
};

// Scaling. The keyboard scales by its output level B first, then by an effect level L:
// ((c·B) >> 8)·L >> 8. The mouse, the mousepad and the synchronised effects scale by
// ((L + 1)·c) >> 8.
constexpr uint8_t KeyScale(uint8_t c, uint8_t b) { return uint8_t((c * b) >> 8); }
constexpr uint8_t KeyScale(uint8_t c, uint8_t b, uint8_t l) { return uint8_t((((c * b) >> 8) * l) >> 8); }
constexpr Rgb KeyScale(Rgb c, uint8_t b) { return {KeyScale(c.r, b), KeyScale(c.g, b), KeyScale(c.b, b)}; }
constexpr Rgb KeyScale(Rgb c, uint8_t b, uint8_t l) {
    return {KeyScale(c.r, b, l), KeyScale(c.g, b, l), KeyScale(c.b, b, l)};
}
/// The keyboard's effective level: B·L >> 8.
constexpr uint8_t KeyLevel(uint8_t b, uint8_t l) { return uint8_t((b * l) >> 8); }

constexpr uint8_t Scale(uint8_t c, uint8_t level) { return uint8_t(((level + 1) * c) >> 8); }
constexpr Rgb Scale(Rgb c, uint8_t level) { return {Scale(c.r, level), Scale(c.g, level), Scale(c.b, level)}; }
/// Scaled by `first`, then the result by `second`.
constexpr Rgb ScaleTwice(Rgb c, uint8_t first, uint8_t second) {
    return Scale(Scale(c, first), second);
}
/// Preview alpha of a level under the output level: (L·level) >> 8.
constexpr uint8_t AlphaOf(uint8_t outputLevel, uint8_t level) { return uint8_t((outputLevel * level) >> 8); }

/// A counter with range n: forward +1 (n wraps to 0), backward −1 (below 0 wraps to n − 1).
/// A value left out of range by another effect (the counters are shared) restarts at the
/// end it is moving from, so no table is read past its end.
constexpr uint8_t Step(uint8_t v, unsigned n, bool forward) {
    if (forward) return v + 1u >= n ? 0 : uint8_t(v + 1);
    return (v == 0 || v >= n) ? uint8_t(n - 1) : uint8_t(v - 1);
}

/// The wheel colour at an index taken round the 192-entry cycle.
constexpr Rgb Wheel(unsigned index) { return kHueWheel[index % kWheelCycle]; }

}  // namespace orvane::lighting
