// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The level and colour tables every lighting effect shares: output brightness, tick
// delays, the wave, breathing and flash curves, the two colour wheels and the mouse's
// colour sets. One definition each; the keyboard, mouse, mousepad and synchronised effects
// all read these.

#include <array>
#include <cstddef>
#include <cstdint>

#include "device/byte_record.h"

namespace orvane::lighting {

using device::Rgb;

/// Output level for the brightness byte 0-4.
inline constexpr std::array<uint8_t, 5> kBrightLevel{0, 90, 150, 200, 255};

/// Keyboard tick delay in ms for the speed byte 0-4 (0 fastest); the same for every mode.
inline constexpr std::array<uint8_t, 5> kTickDelay{9, 21, 35, 45, 65};

namespace detail {
template <size_t N>
constexpr std::array<uint8_t, 2 * N> Mirrored(const std::array<uint8_t, N>& rising) {
    std::array<uint8_t, 2 * N> out{};
    for (size_t i = 0; i < N; ++i) {
        out[i] = rising[i];
        out[2 * N - 1 - i] = rising[i];
    }
    return out;
}
}  // namespace detail

/// 22 up to 255 and back down to 22.
inline constexpr std::array<uint8_t, 96> kWave96 = detail::Mirrored<48>({
    22, 24, 27, 30, 33, 36, 39, 42, 45, 49, 53, 57, 61, 65, 69, 73, 77, 81, 85, 89, 94, 99, 104, 109,
    114, 119, 124, 129, 134, 140, 146, 152, 158, 164, 170, 176, 182, 188, 194, 200, 206, 213, 220, 227,
    234, 241, 248, 255});

/// 0 up to 255 and back down to 0.
inline constexpr std::array<uint8_t, 128> kBreath128 = detail::Mirrored<64>({
    0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 14, 16, 18, 20, 22, 24, 27, 30, 33, 36, 39, 42, 45, 49, 53, 57,
    61, 65, 69, 73, 77, 81, 85, 89, 94, 99, 104, 109, 114, 119, 124, 129, 134, 140, 146, 152, 158, 164,
    170, 176, 182, 188, 194, 200, 206, 213, 220, 227, 234, 241, 248, 255});

/// A quick rise to 255, a long fall, then dark for the last 112 entries.
inline constexpr std::array<uint8_t, 192> kFlash192{
    0, 4, 8, 14, 22, 33, 45, 61, 77, 94, 114, 134, 158, 182, 206, 234, 255, 248, 241, 234,
    227, 220, 213, 206, 200, 194, 188, 182, 176, 170, 164, 158, 152, 146, 140, 134, 129, 124, 119, 114,
    109, 104, 99, 94, 89, 85, 81, 77, 73, 69, 65, 61, 57, 53, 49, 45, 42, 39, 36, 33,
    30, 27, 24, 22, 20, 18, 16, 14, 12, 10, 9, 8, 7, 6, 5, 4, 3, 2, 2, 1};

inline constexpr std::array<uint8_t, 32> kRisingRamp{1, 3, 5, 7, 10, 14, 18, 22, 26, 32, 38,
    44, 50, 57, 65, 73, 81, 89, 99, 109, 119, 129, 140, 152, 164, 176, 188, 200, 213, 227, 241, 255};
inline constexpr std::array<uint8_t, 32> kFallingRamp{248, 234, 220, 206, 194, 182, 170, 158,
    146, 134, 124, 114, 104, 94, 85, 77, 69, 61, 53, 47, 41, 35, 29, 24, 20, 16, 12, 8, 6, 4, 2, 0};

/// Entries of the colour wheel the effects cycle through (192-255 repeat 0-63).
inline constexpr size_t kWheelCycle = 192;

namespace detail {
constexpr std::array<Rgb, 256> BuildHueWheel() {
    std::array<Rgb, 256> w{};
    for (size_t i = 0; i < 32; ++i) {
        const uint8_t up = kRisingRamp[i], down = kFallingRamp[i];
        w[i] = {255, up, 0};          // red -> yellow
        w[32 + i] = {down, 255, 0};   // yellow -> green
        w[64 + i] = {0, 255, up};     // green -> cyan
        w[96 + i] = {0, down, 255};   // cyan -> blue
        w[128 + i] = {up, 0, 255};    // blue -> magenta
        w[160 + i] = {255, 0, down};  // magenta -> red
    }
    for (size_t i = 192; i < 256; ++i) w[i] = w[i - 192];
    return w;
}

/// Entries 26-255 of the second wheel: the main wheel's colours, spread out and muted
/// half-way towards grey, so a per-key pick after the named colours still differs from key
/// to key without turning garish.
constexpr std::array<Rgb, 256> BuildHueWheel2() {
    constexpr std::array<Rgb, 26> named{{
        {255, 0, 0}, {255, 96, 0}, {255, 255, 0}, {0, 255, 0}, {0, 255, 255}, {0, 0, 255},
        {128, 0, 255}, {255, 255, 255}, {0, 0, 0}, {0, 0, 160}, {255, 0, 0}, {255, 255, 255},
        {0, 255, 255}, {192, 192, 192}, {0, 0, 255}, {128, 128, 128}, {255, 0, 128}, {255, 128, 64},
        {128, 0, 128}, {128, 64, 0}, {255, 255, 0}, {128, 0, 0}, {0, 255, 0}, {128, 128, 0},
        {255, 0, 255}, {64, 128, 128}}};
    const auto wheel = BuildHueWheel();
    std::array<Rgb, 256> w{};
    for (size_t i = 0; i < named.size(); ++i) w[i] = named[i];
    for (size_t i = named.size(); i < 256; ++i) {
        const Rgb c = wheel[(i * 37) % kWheelCycle];
        auto mute = [](uint8_t v) { return static_cast<uint8_t>(v / 2 + 64); };
        w[i] = {mute(c.r), mute(c.g), mute(c.b)};
    }
    return w;
}
}  // namespace detail

/// Six 32-entry ramps round the colour circle: red, yellow, green, cyan, blue, magenta.
inline constexpr std::array<Rgb, 256> kHueWheel = detail::BuildHueWheel();
/// The colour list of the keyboard's per-key breathing, indexed by the key's colour byte.
inline constexpr std::array<Rgb, 256> kHueWheel2 = detail::BuildHueWheel2();

namespace detail {
constexpr Rgb Hex(uint32_t v) { return {uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)}; }
}  // namespace detail

/// The mouse's colour table: entries 0-23 are three breathing sets of eight (set s =
/// 8s .. 8s+7, one colour per LED group, the eighth unused); the blink effect walks all 126.
inline constexpr std::array<Rgb, 126> kColourTable = [] {
    constexpr std::array<uint32_t, 126> hex{
        0xFFFF00, 0xC8FF00, 0xAAFF00, 0x8CFF00, 0x6EFF00, 0x50FF00, 0x46FF00, 0x000000,
        0x00FFFF, 0x00C8FF, 0x00AAFF, 0x008CFF, 0x006EFF, 0x0050FF, 0x0046FF, 0x000000,
        0xF500FF, 0xF500C8, 0xF500AA, 0xF5008C, 0xF5006E, 0xF50050, 0xF50046, 0x000000,
        0xFF0000, 0xFF5000, 0x00FF00, 0x0000FF, 0x000000, 0x00FF7C, 0x4AFF46, 0x20FF2B,
        0x009620, 0x014B10, 0x010A0A, 0x0AFF7C, 0x4AFF5A, 0x1AFF49, 0x00992B, 0x004914,
        0x011414, 0x14FFBF, 0x60FFAB, 0x33FF96, 0x00844F, 0x003E22, 0x001E1E, 0x1EFFFF,
        0x66FFFF, 0x2AFFFF, 0x008484, 0x003E3D, 0x002828, 0x28C1FF, 0x66ABFF, 0x2D96FF,
        0x004B7D, 0x00253F, 0x003232, 0x3296FF, 0x6F68FF, 0x2F49FF, 0x002282, 0x001141,
        0x004647, 0x4668FF, 0x6833FF, 0x3300FF, 0x000082, 0x00003A, 0x005A5B, 0x5A6AFF,
        0x942DFF, 0x6600FF, 0x490079, 0x210038, 0x106465, 0x7A6AFF, 0xC433FF, 0xAD00FF,
        0x960084, 0x4F003F, 0x247879, 0x7C71FF, 0xFF2FFF, 0xFF00FF, 0xFF0084, 0x84003E,
        0x3F8C8D, 0x8D68C2, 0xFF2DAB, 0xFF0096, 0xFF004B, 0x7D0025, 0x409692, 0xB16892,
        0xFF336F, 0xFF0049, 0xFF0022, 0x7B0011, 0x3DA099, 0xB96666, 0xFF3535, 0xFF0000,
        0xFF0000, 0x820000, 0x41AAAA, 0xB59166, 0xFF682D, 0xFF4900, 0xFF2200, 0x7D1100,
        0x39B4AA, 0xB1C166, 0xFFA92A, 0xFF9600, 0xFF4E00, 0x802500, 0x40BEBE, 0xB5FF68,
        0xFFFF2D, 0xFFFF00, 0xFF6500, 0x653200, 0x32C9C8, 0xC9FF68};
    std::array<Rgb, 126> t{};
    for (size_t i = 0; i < hex.size(); ++i) t[i] = detail::Hex(hex[i]);
    return t;
}();

}  // namespace orvane::lighting
