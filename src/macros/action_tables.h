// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tables an action is built from: the mouse event table (recording, insertion and the
// action editor), and the keyboard keys and mouse buttons of the function-code table
// (functions/function_lists.h) a macro presses, with the language keys that label the
// actions.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "functions/captured_input.h"
#include "functions/function_lists.h"
#include "macros/action_line.h"

namespace orvane::macros {

/// One row of the mouse event table.
struct MouseEventRow {
    uint8_t kind;   ///< kind byte, bit 7 included
    uint8_t code;   ///< button bit; 0 for the moves (the distance goes there)
    std::string_view label;
};

inline constexpr size_t kMouseEventRows = 14;
/// Rows 0-9: press and release of left, right, middle, forward, back; 10-13: moves left,
/// right, up, down.
extern const std::array<MouseEventRow, kMouseEventRows> kMouseEventTable;
inline constexpr size_t kFirstMoveRow = 10;
/// Rows 0-5 (left, right, middle press and release) are the only ones recording takes.
inline constexpr size_t kRecordedMouseRows = 6;

/// The event-table row of a button's press or release; nullopt for no button.
std::optional<size_t> MouseEventRowOf(functions::CapturedInput::Button button, bool pressed);
/// The first row that shows an action: rows 0-9 by kind byte and code; moves by kind and
/// direction (10-13); nullopt for anything else.
std::optional<size_t> MouseEventRowOf(const ActionLine& action);
/// The action of a row: delay 0, kind, code (the distance for moves), pressed = bit 7.
ActionLine MouseEventAction(size_t row, uint8_t distance = 0);

/// The keyboard keys a macro can press: the key editor's 108 keyboard-key entries of
/// functions::KeyboardKeyList, in their list order (a modifier by its bit in b1, an ordinary
/// key by its HID usage in b2). An index into this list is the key panel's item.
functions::List MacroKeys();
/// Index in MacroKeys() of the first key whose usage byte (or modifier byte) is `value`.
std::optional<size_t> KeyIndexByUsage(uint8_t usage);
std::optional<size_t> KeyIndexByModifier(uint8_t modifier);
/// The key's press or release: kind 0x0A + usage, or 0x09 + modifier bit; delay 0.
ActionLine KeyAction(const functions::ListEntry& key, bool pressed);

/// The label of an action that arrives without one (read from the device): kind 1 the
/// button's name, 4 and 5 the move's direction, 9 the first key with that modifier byte, 10
/// the first key with that usage byte; empty for anything else.
std::string LabelForDeviceAction(uint8_t kindByte, uint8_t code);

/// The label of a move by kind and direction.
std::string_view MoveLabel(uint8_t action, bool directionSet);

}  // namespace orvane::macros
