#pragma once
// The mouse's LED groups and the mousepad's LED columns.

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

}  // namespace orvane::lighting
