// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The built-in key tables of the emulated firmware: the code each device key produces out of
// the box, in the firmware's own key order. Data of the device, kept apart from the host's
// key position table so that the host's mapping from positions to keys is tested against
// what a device reports, not against its own input.

#include <array>
#include <cstddef>
#include <cstdint>

namespace orvane::sim {

/// A 3-byte function code {type, b1, b2} as stored in key tables and banks.
struct FunctionCode {
    uint8_t type = 0;
    uint8_t b1 = 0;
    uint8_t b2 = 0;
};

inline constexpr size_t kKeyboardFirmwareKeyCount = 110;
inline constexpr size_t kMouseFirmwareKeyCount = 6;

extern const std::array<FunctionCode, kKeyboardFirmwareKeyCount> kKeyboardFirmwareKeys;
extern const std::array<FunctionCode, kMouseFirmwareKeyCount> kMouseFirmwareKeys;

}  // namespace orvane::sim
