// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fields of the 31-byte device information record that this program reads, per device
// kind. Data only; the device models use the same offsets.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "device/models.h"
#include "device/protocol/commands.h"

namespace orvane::device {

struct InfoField {
    std::string_view name;
    uint8_t offset;
    uint8_t width;       ///< 1 or 2 bytes, little-endian
    uint16_t multiplier; ///< shown value = raw x multiplier
    bool hex;            ///< show as hexadecimal
};

inline constexpr std::array<InfoField, 2> kKeyboardInfoFields{{
    {"key count", 5, 1, 1, false},
    {"macro capacity (bytes)", 6, 1, 128, false},
}};

inline constexpr std::array<InfoField, 5> kMouseInfoFields{{
    {"macro capacity (bytes)", 6, 1, 128, false},
    {"sensor id", 9, 2, 1, true},
    {"DPI step", 11, 1, 1, false},
    {"highest DPI position", 12, 1, 1, false},
    {"minimum DPI", 13, 2, 1, false},
}};

constexpr std::span<const InfoField> InfoFieldsOf(DeviceKind kind) {
    switch (kind) {
    case DeviceKind::Keyboard: return kKeyboardInfoFields;
    case DeviceKind::Mouse: return kMouseInfoFields;
    case DeviceKind::Mousepad: return {};  // the pad's record is carried, not interpreted
    }
    return {};
}

constexpr uint32_t ReadInfoField(const protocol::DeviceInfoBytes& info, const InfoField& f) {
    uint32_t raw = info[f.offset];
    if (f.width == 2) raw |= static_cast<uint32_t>(info[f.offset + 1]) << 8;
    return raw * f.multiplier;
}

}  // namespace orvane::device
