// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One macro action as a line of a macro or cursor-sequence file:
//   delayLow,delayHigh,kind,code,pressed,label
// The delay (low + 256 x high, units of 10 ms) is the wait after the action. Bits 0-6 of
// kind say what the action is; bit 7 is its direction (press, left, up). pressed repeats
// bit 7 for display, and the label is the language key naming the action. The device gets
// only the first four fields.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvane::macros {

namespace kind {
inline constexpr uint8_t kMouseButton = 0x01;
inline constexpr uint8_t kHorizontalMove = 0x04;  ///< bit 7: left
inline constexpr uint8_t kVerticalMove = 0x05;    ///< bit 7: up
inline constexpr uint8_t kModifierKey = 0x09;     ///< code: modifier bit
inline constexpr uint8_t kKey = 0x0A;             ///< code: HID keyboard usage
inline constexpr uint8_t kDirectionBit = 0x80;
/// Kinds from here on are keyboard actions; below it, mouse actions.
inline constexpr uint8_t kFirstKeyboardKind = 0x09;
}  // namespace kind

/// The most delay units an action holds (655350 ms).
inline constexpr int kMaxDelayUnits = 0xFFFF;
/// Milliseconds per delay unit: the file and the device count delays in 10 ms.
inline constexpr int kDelayUnitMs = 10;
inline constexpr int kMaxDelayMs = kMaxDelayUnits * kDelayUnitMs;
/// Milliseconds as delay units, to the nearest unit (5 ms and up count as one), 0 ... kMaxDelayUnits.
constexpr int DelayUnitsOf(int64_t ms) {
    return ms <= 0 ? 0 : ms >= kMaxDelayMs ? kMaxDelayUnits : static_cast<int>((ms + 5) / 10);
}

struct ActionLine {
    uint8_t delayLow = 0;
    uint8_t delayHigh = 0;
    uint8_t kind = 0;
    uint8_t code = 0;
    uint16_t pressed = 0;
    std::string label;

    int delayUnits() const { return delayLow + 256 * delayHigh; }
    /// Units clamped to 0-65535.
    void setDelayUnits(int units);
    uint8_t action() const { return kind & 0x7F; }
    bool directionSet() const { return (kind & kind::kDirectionBit) != 0; }
    bool isKeyboardAction() const { return action() >= kind::kFirstKeyboardKind; }
    bool isMove() const { return action() == kind::kHorizontalMove || action() == kind::kVerticalMove; }
    /// The four bytes the device plays: delayLow, delayHigh, kind, code.
    std::array<uint8_t, 4> deviceBytes() const { return {delayLow, delayHigh, kind, code}; }

    friend bool operator==(const ActionLine&, const ActionLine&) = default;
};

/// The six fields of a stored line. The label is the text after the last comma; the rest is
/// split at its last comma four more times (pressed, code, kind, delayHigh, leaving
/// delayLow). Each number is read as a decimal integer (a non-number reads 0) and kept in
/// a byte (pressed in 16 bits), so values out of range wrap as they always have. A line
/// with fewer than five commas reads as all 0 with an empty label.
ActionLine ParseActionLine(std::string_view line);
/// "%d,%d,%d,%d,%d,%s".
std::string FormatActionLine(const ActionLine& action);

}  // namespace orvane::macros
