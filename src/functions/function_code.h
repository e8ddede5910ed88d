// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The 3-byte function code {type, b1, b2} that says what a key or button produces. The same
// codes fill the keyboard's key banks, the mouse's key pages, the key profile files and the
// editors of both pages; the type selects what b1 and b2 mean.

#include <algorithm>
#include <cstdint>

namespace orvane::functions {

struct FunctionCode {
    uint8_t type = 0;
    uint8_t b1 = 0;
    uint8_t b2 = 0;
    friend bool operator==(const FunctionCode&, const FunctionCode&) = default;
};

/// The code types and what their two parameters hold.
namespace code_type {
inline constexpr uint8_t kMouseButton = 0x10;     ///< b1: button bit
inline constexpr uint8_t kHorizontalSwing = 0x11; ///< b1: two nibbles; b2: amount, bit 7 = right
inline constexpr uint8_t kVerticalSwing = 0x12;   ///< b1: two nibbles; b2: amount, two's complement (down < 0)
inline constexpr uint8_t kDpiAction = 0x13;       ///< b1: 1 up, 2 down, 3 cycle
inline constexpr uint8_t kFireKey = 0x14;         ///< b1, b2: the two fire parameters
inline constexpr uint8_t kKeyboardKey = 0x20;     ///< b1: modifier bits; b2: HID keyboard usage
inline constexpr uint8_t kMedia = 0x30;           ///< consumer usage, b1 low byte, b2 high byte
inline constexpr uint8_t kSystem = 0x40;          ///< b1: 1 power, 2 sleep, 4 wake
inline constexpr uint8_t kMacro = 0x70;           ///< b1: macro index; b2: play mode 0-3
inline constexpr uint8_t kMacroRepeat = 0x71;     ///< b1: macro index; b2: repeat count
inline constexpr uint8_t kCursorSequence = 0x72;  ///< b1: sequence 0-3
}  // namespace code_type

/// The types that play a macro of the device's set, b1 its index in the set (the order of
/// the macro index file). A cursor sequence (0x72) is not one: it stays when macros go.
constexpr bool PlaysMacro(FunctionCode code) {
    return code.type == code_type::kMacro || code.type == code_type::kMacroRepeat;
}
/// Whether a code plays macro `macro`.
constexpr bool UsesMacro(FunctionCode code, int macro) { return PlaysMacro(code) && code.b1 == macro; }
/// A code after macro `deleted` left the set: one that played it becomes `own` (the key's
/// own code), one that played a later macro plays the one before; others stay.
constexpr FunctionCode AfterMacroDeleted(FunctionCode code, int deleted, FunctionCode own) {
    if (!PlaysMacro(code)) return code;
    if (code.b1 == deleted) return own;
    if (code.b1 > deleted) --code.b1;
    return code;
}

/// Modifier bits of a keyboard-key code (b1), in the order of HID usages 0xE0-0xE7.
namespace modifier {
inline constexpr uint8_t kLeftCtrl = 0x01;
inline constexpr uint8_t kLeftShift = 0x02;
inline constexpr uint8_t kLeftAlt = 0x04;
inline constexpr uint8_t kLeftWin = 0x08;
inline constexpr uint8_t kRightCtrl = 0x10;
inline constexpr uint8_t kRightShift = 0x20;
inline constexpr uint8_t kRightAlt = 0x40;
inline constexpr uint8_t kRightWin = 0x80;
}  // namespace modifier

/// Limits of the numbers the editors take.
inline constexpr int kSwingAmountLimit = 127;
inline constexpr int kNibbleLimit = 15;
inline constexpr int kByteLimit = 255;

constexpr int ClampTo(int value, int limit) { return std::clamp(value, 0, limit); }

/// Both swing parameters in one byte: high nibble first.
constexpr uint8_t PackNibbles(int high, int low) {
    return static_cast<uint8_t>((ClampTo(high, kNibbleLimit) << 4) | ClampTo(low, kNibbleLimit));
}

/// A swing amount 0-127 and its direction, as the editors show them.
struct SwingAmount {
    int amount = 0;
    bool negative = false;  ///< right (horizontal) or down (vertical)
    friend bool operator==(const SwingAmount&, const SwingAmount&) = default;
};

/// Horizontal swings are sign and magnitude: bit 7 = right, bits 0-6 = amount.
constexpr uint8_t EncodeHorizontalSwing(SwingAmount s) {
    return static_cast<uint8_t>(ClampTo(s.amount, kSwingAmountLimit) | (s.negative ? 0x80 : 0));
}
constexpr SwingAmount DecodeHorizontalSwing(uint8_t b2) { return {b2 & 0x7F, (b2 & 0x80) != 0}; }

/// Vertical swings are two's complement: up = amount, down = 256 - amount.
constexpr uint8_t EncodeVerticalSwing(SwingAmount s) {
    const int amount = ClampTo(s.amount, kSwingAmountLimit);
    return static_cast<uint8_t>((s.negative ? 256 - amount : amount) & 0xFF);
}
/// 0x80 (down 128, which no editor writes) shows as the largest amount the edit takes.
constexpr SwingAmount DecodeVerticalSwing(uint8_t b2) {
    if ((b2 & 0x80) == 0) return {b2, false};
    return {std::min(128 - (b2 & 0x7F), kSwingAmountLimit), true};
}

}  // namespace orvane::functions
