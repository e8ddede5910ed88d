#pragma once
// The tables an action is built from: the mouse event table (recording, insertion and the
// action editor), the keyboard keys a macro can press (the key editor's 108 keyboard-key
// entries, in their list order) and the mouse buttons, with the language keys that label
// the actions. The key and button rows are the function-code table's keyboard-key and
// mouse-button entries; they live here until that table has its shared home.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "macros/action_line.h"

namespace orvane::macros {

/// The mouse inputs the capture service reports, in the order of the event table's rows.
enum class MouseInput : uint8_t { Left, Right, Middle, Forward, Back, Wheel, Move };

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

/// The event-table row of a button's press or release; nullopt for the wheel and moves.
std::optional<size_t> MouseEventRowOf(MouseInput input, bool pressed);
/// The first row that shows an action: rows 0-9 by kind byte and code; moves by kind and
/// direction (10-13); nullopt for anything else.
std::optional<size_t> MouseEventRowOf(const ActionLine& action);
/// The action of a row: delay 0, kind, code (the distance for moves), pressed = bit 7.
ActionLine MouseEventAction(size_t row, uint8_t distance = 0);

/// A keyboard key a macro can press: a modifier (its bit) or an ordinary key (its usage).
struct MacroKey {
    uint8_t modifier;  ///< modifier bit, 0 for an ordinary key
    uint8_t usage;     ///< HID keyboard usage, 0 for a modifier
    std::string_view suffix;
    std::string label() const { return "keyboard_key_" + std::string(suffix); }
};

inline constexpr size_t kMacroKeyCount = 108;
std::span<const MacroKey> MacroKeys();
/// Index in MacroKeys() of the first key whose usage byte (or modifier byte) is `value`.
std::optional<size_t> KeyIndexByUsage(uint8_t usage);
std::optional<size_t> KeyIndexByModifier(uint8_t modifier);
/// The key's press or release: kind 0x0A + usage, or 0x09 + modifier bit; delay 0.
ActionLine KeyAction(const MacroKey& key, bool pressed);

/// The mouse buttons in the button list's order, by button bit.
struct MouseButtonName {
    uint8_t bit;
    std::string_view label;
};
extern const std::array<MouseButtonName, 5> kMouseButtons;

/// The label of an action that arrives without one (read from the device): kind 1 the
/// button's name, 4 and 5 the move's direction, 9 the first key with that modifier byte, 10
/// the first key with that usage byte; empty for anything else.
std::string LabelForDeviceAction(uint8_t kindByte, uint8_t code);

/// The label of a move by kind and direction.
std::string_view MoveLabel(uint8_t action, bool directionSet);

}  // namespace orvane::macros
