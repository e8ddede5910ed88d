// SPDX-License-Identifier: GPL-3.0-or-later
#include "macros/action_tables.h"

#include <algorithm>

namespace orvane::macros {

namespace {

using namespace std::string_view_literals;

constexpr uint8_t kPress = kind::kDirectionBit;

/// The entries of MacroKeys() are keyboard keys: a modifier bit or a usage, never both.
constexpr bool IsModifier(const functions::ListEntry& key) { return key.code.b1 != 0; }

}  // namespace

const std::array<MouseEventRow, kMouseEventRows> kMouseEventTable{{
    {kPress | kind::kMouseButton, 0x01, "mouse_key_left"},
    {kind::kMouseButton, 0x01, "mouse_key_left"},
    {kPress | kind::kMouseButton, 0x02, "mouse_key_right"},
    {kind::kMouseButton, 0x02, "mouse_key_right"},
    {kPress | kind::kMouseButton, 0x04, "mouse_key_middle"},
    {kind::kMouseButton, 0x04, "mouse_key_middle"},
    {kPress | kind::kMouseButton, 0x10, "mouse_key_forward"},
    {kind::kMouseButton, 0x10, "mouse_key_forward"},
    {kPress | kind::kMouseButton, 0x08, "mouse_key_back"},
    {kind::kMouseButton, 0x08, "mouse_key_back"},
    {kPress | kind::kHorizontalMove, 0, "mouse_move_to_left_text"},
    {kind::kHorizontalMove, 0, "mouse_move_to_right_text"},
    {kPress | kind::kVerticalMove, 0, "mouse_move_to_up_text"},
    {kind::kVerticalMove, 0, "mouse_move_to_down_text"},
}};

std::optional<size_t> MouseEventRowOf(functions::CapturedInput::Button button, bool pressed) {
    using Button = functions::CapturedInput::Button;
    // The table's order: left, right, middle, forward, back.
    size_t index = 0;
    switch (button) {
    case Button::Left: index = 0; break;
    case Button::Right: index = 1; break;
    case Button::Middle: index = 2; break;
    case Button::Forward: index = 3; break;
    case Button::Back: index = 4; break;
    case Button::None: return std::nullopt;
    }
    return 2 * index + (pressed ? 0 : 1);
}

std::optional<size_t> MouseEventRowOf(const ActionLine& action) {
    for (size_t row = 0; row < kFirstMoveRow; ++row)
        if (kMouseEventTable[row].kind == action.kind && kMouseEventTable[row].code == action.code) return row;
    if (action.action() == kind::kHorizontalMove) return action.directionSet() ? 10 : 11;
    if (action.action() == kind::kVerticalMove) return action.directionSet() ? 12 : 13;
    return std::nullopt;
}

ActionLine MouseEventAction(size_t row, uint8_t distance) {
    const MouseEventRow& r = kMouseEventTable.at(row);
    ActionLine a;
    a.kind = r.kind;
    a.code = row >= kFirstMoveRow ? distance : r.code;
    a.pressed = (r.kind & kPress) ? 1 : 0;
    a.label = std::string(r.label);
    return a;
}

functions::List MacroKeys() { return functions::List(functions::KeyboardKeyList).first(functions::kKeyboardKeyEntries); }

// The first entry with that byte, as a label read from a device was always chosen: usage 0
// finds the first modifier, modifier byte 0 the first ordinary key.
std::optional<size_t> KeyIndexByUsage(uint8_t usage) {
    const auto keys = MacroKeys();
    const auto it = std::find_if(keys.begin(), keys.end(), [usage](const auto& k) { return k.code.b2 == usage; });
    if (it == keys.end()) return std::nullopt;
    return size_t(it - keys.begin());
}

std::optional<size_t> KeyIndexByModifier(uint8_t modifier) {
    const auto keys = MacroKeys();
    const auto it = std::find_if(keys.begin(), keys.end(), [modifier](const auto& k) { return k.code.b1 == modifier; });
    if (it == keys.end()) return std::nullopt;
    return size_t(it - keys.begin());
}

ActionLine KeyAction(const functions::ListEntry& key, bool pressed) {
    ActionLine a;
    a.kind = static_cast<uint8_t>((IsModifier(key) ? kind::kModifierKey : kind::kKey) | (pressed ? kPress : 0));
    a.code = IsModifier(key) ? key.code.b1 : key.code.b2;
    a.pressed = pressed ? 1 : 0;
    a.label = std::string(key.name);
    return a;
}

std::string_view MoveLabel(uint8_t action, bool directionSet) {
    if (action == kind::kHorizontalMove) return directionSet ? "mouse_move_to_left_text" : "mouse_move_to_right_text";
    if (action == kind::kVerticalMove) return directionSet ? "mouse_move_to_up_text" : "mouse_move_to_down_text";
    return {};
}

std::string LabelForDeviceAction(uint8_t kindByte, uint8_t code) {
    const uint8_t action = kindByte & 0x7F;
    const bool direction = (kindByte & kPress) != 0;
    switch (action) {
    case kind::kMouseButton:
        for (const auto& b : functions::MouseButtonList)
            if (b.code.b1 == code) return std::string(b.name);
        return {};
    case kind::kHorizontalMove:
    case kind::kVerticalMove: return std::string(MoveLabel(action, direction));
    case kind::kModifierKey:
        if (const auto i = KeyIndexByModifier(code)) return std::string(MacroKeys()[*i].name);
        return {};
    case kind::kKey:
        if (const auto i = KeyIndexByUsage(code)) return std::string(MacroKeys()[*i].name);
        return {};
    default: return {};
    }
}

}  // namespace orvane::macros
