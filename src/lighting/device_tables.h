// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mouse's LED groups and the mousepad's LED columns, and how the effects both devices
// share (zone_effects.h) see each of them.

#include <array>
#include <cstddef>
#include <cstdint>

namespace orvane::lighting {

inline constexpr size_t kMouseLedCount = 20;
inline constexpr size_t kMouseGroupCount = 7;
/// Three LEDs per group; group 2 names LED 9 twice, so each of the 20 LEDs is in exactly
/// one group.
inline constexpr std::array<std::array<uint8_t, 3>, kMouseGroupCount> kMouseGroups{{
    {0, 7, 19}, {1, 8, 18}, {2, 9, 9}, {3, 10, 14}, {4, 11, 15}, {5, 12, 16}, {6, 13, 17},
}};

inline constexpr size_t kPadLedCount = 15;
inline constexpr size_t kPadColumnCount = 7;
/// The pad's seven LED columns, left to right; column 3 has no LEDs.
struct PadColumn {
    uint8_t count;
    std::array<uint8_t, 5> leds;
};
inline constexpr std::array<PadColumn, kPadColumnCount> kPadColumns{{
    {1, {0}}, {2, {14, 1}}, {2, {13, 2}}, {0, {}}, {2, {12, 3}}, {3, {11, 4, 5}}, {5, {6, 7, 8, 9, 10}},
}};

/// One device as the shared effects see it: its LEDs fall into zones (the mouse's seven
/// groups, the pad's fifteen single LEDs), and a few numbers tell the devices' versions of
/// an effect apart.
template <size_t LedsPerZone, size_t ZoneCount>
struct ZoneDevice {
    static constexpr size_t kZoneCount = ZoneCount;
    size_t ledCount;
    /// Each LED is a zone of its own (zone i is LED i); `zones` is then null.
    bool ledIsZone;
    /// The LEDs of each zone.
    const std::array<std::array<uint8_t, LedsPerZone>, ZoneCount>* zones;
    /// What a ripple level loses per frame from 128, 64, 32, 17 and 1 up.
    std::array<uint8_t, 5> rippleFade;
    /// The wave's preview alpha reads wave96 this many entries ahead of the colour's entry.
    uint8_t waveAlphaLead;
    size_t flashLedCount;  ///< flash on click lights LEDs 0 .. n-1
};

inline constexpr ZoneDevice<3, kMouseGroupCount> kMouseZones{
    .ledCount = kMouseLedCount,
    .ledIsZone = false,
    .zones = &kMouseGroups,
    .rippleFade = {15, 10, 7, 3, 1},
    .waveAlphaLead = 10,
    .flashLedCount = 15,  // LEDs 15-19 stay dark
};

inline constexpr ZoneDevice<1, kPadLedCount> kPadZones{
    .ledCount = kPadLedCount,
    .ledIsZone = true,
    .zones = nullptr,
    .rippleFade = {30, 20, 10, 5, 1},
    .waveAlphaLead = 0,
    .flashLedCount = kPadLedCount,
};

}  // namespace orvane::lighting
