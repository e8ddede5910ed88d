// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The 126 key positions of the keyboard page: 6 rows x 21 columns, position = row x 21 +
// column. Each position holds the native code of the key drawn there, {type, modifier bits,
// usage}; {0x20, 0, 0} is an empty position. The keyboard page, the key assignment logic and
// the keyboard firmware model of the emulator all read this one table.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "functions/function_code.h"

namespace orvane::keyboard {

inline constexpr size_t kKeyPositionCount = 126;
inline constexpr size_t kKeyPositionColumns = 21;
inline constexpr uint8_t kKeyCodeType = functions::code_type::kKeyboardKey;  ///< an ordinary key

struct KeyPosition {
    uint8_t type = kKeyCodeType;
    uint8_t modifiers = 0;
    uint8_t usage = 0;
    /// Suffix of the key's "keyboard_key_" language key; empty for the two unnamed keys
    /// and for empty positions.
    std::string_view name;

    constexpr bool empty() const { return type == kKeyCodeType && modifiers == 0 && usage == 0; }
};

using KeyPositionTable = std::array<KeyPosition, kKeyPositionCount>;

namespace key_position_detail {
constexpr KeyPosition Key(uint8_t usage, std::string_view name) { return {kKeyCodeType, 0, usage, name}; }
constexpr KeyPosition Mod(uint8_t bits, std::string_view name) { return {kKeyCodeType, bits, 0, name}; }
inline constexpr KeyPosition kEmpty{};
}  // namespace key_position_detail

inline constexpr KeyPositionTable kKeyPositions = [] {
    using namespace key_position_detail;
    const KeyPosition _ = kEmpty;
    return KeyPositionTable{{
        // row 0
        Key(0x29, "Esc"), Key(0x3A, "F1"), Key(0x3B, "F2"), Key(0x3C, "F3"), Key(0x3D, "F4"),
        Key(0x3E, "F5"), Key(0x3F, "F6"), Key(0x40, "F7"), Key(0x41, "F8"), Key(0x42, "F9"),
        Key(0x43, "F10"), Key(0x44, "F11"), Key(0x45, "F12"), Key(0x46, "Print Scr"),
        Key(0x47, "Scroll Lock"), Key(0x48, "Pause"), _, _, _, _, _,
        // row 1
        Key(0x35, "`"), Key(0x1E, "1"), Key(0x1F, "2"), Key(0x20, "3"), Key(0x21, "4"),
        Key(0x22, "5"), Key(0x23, "6"), Key(0x24, "7"), Key(0x25, "8"), Key(0x26, "9"),
        Key(0x27, "0"), Key(0x2D, "-"), Key(0x2E, "="), Key(0x2A, "BackSpace"), Key(0x49, "Insert"),
        Key(0x4A, "Home"), Key(0x4B, "Page Up"), Key(0x53, "Num Lock"), Key(0x54, "Num /"),
        Key(0x55, "Num *"), Key(0x56, "Num -"),
        // row 2
        Key(0x2B, "Tab"), Key(0x14, "Q"), Key(0x1A, "W"), Key(0x08, "E"), Key(0x15, "R"),
        Key(0x17, "T"), Key(0x1C, "Y"), Key(0x18, "U"), Key(0x0C, "I"), Key(0x12, "O"),
        Key(0x13, "P"), Key(0x2F, "["), Key(0x30, "]"), Key(0x89, "K14"), Key(0x4C, "Delete"),
        Key(0x4D, "End"), Key(0x4E, "Page Down"), Key(0x5F, "Num 7"), Key(0x60, "Num 8"),
        Key(0x61, "Num 9"), _,
        // row 3
        Key(0x39, "Caplk"), Key(0x04, "A"), Key(0x16, "S"), Key(0x07, "D"), Key(0x09, "F"),
        Key(0x0A, "G"), Key(0x0B, "H"), Key(0x0D, "J"), Key(0x0E, "K"), Key(0x0F, "L"),
        Key(0x33, ";"), Key(0x34, "'"), Key(0x28, "Enter"), Key(0x5C, "Num 4"), Key(0x5D, "Num 5"),
        Key(0x5E, "Num 6"), Key(0x31, "xiegang"), Key(0x87, "K56"), _, _, _,
        // row 4
        Mod(0x02, "LShift"), Key(0x1D, "Z"), Key(0x1B, "X"), Key(0x06, "C"), Key(0x19, "V"),
        Key(0x05, "B"), Key(0x11, "N"), Key(0x10, "M"), Key(0x36, "<"), Key(0x37, "."),
        Key(0x38, "/"), Mod(0x20, "RShift"), Key(0x52, "Up"), Key(0x59, "Num 1"), Key(0x5A, "Num 2"),
        Key(0x5B, "Num 3"), _, _, Key(0x64, ""), _, _,
        // row 5
        Mod(0x01, "LCtrl"), Mod(0x08, "LWin"), Mod(0x04, "LAlt"), Key(0x2C, "Space"),
        Mod(0x40, "RAlt"), KeyPosition{0xA0, 0x02, 0x02, ""}, Key(0x65, "App"), Mod(0x10, "RCtrl"),
        Key(0x50, "Left"), Key(0x51, "Down"), Key(0x4F, "Right"), Key(0x62, "Num 0"),
        Key(0x63, "Decimal"), Key(0x58, "Num Enter"), Key(0x57, "Num +"), Key(0x91, "KL"),
        Key(0x90, "KR"), _, _, _, Mod(0x80, "RWin"),
    }};
}();

/// Number of positions that hold a key.
constexpr size_t OccupiedKeyPositionCount() {
    size_t n = 0;
    for (const auto& p : kKeyPositions)
        if (!p.empty()) ++n;
    return n;
}

}  // namespace orvane::keyboard
