#include "macros/action_tables.h"

#include <algorithm>

namespace orvane::macros {

namespace {

using namespace std::string_view_literals;

constexpr uint8_t kPress = kind::kDirectionBit;

constexpr std::array<MacroKey, kMacroKeyCount> MakeKeys() {
    std::array<MacroKey, kMacroKeyCount> keys{};
    size_t n = 0;
    constexpr std::string_view modifiers[] = {"LCtrl", "LShift", "LAlt", "LWin", "RCtrl", "RShift", "RAlt", "RWin"};
    for (size_t i = 0; i < 8; ++i) keys[n++] = {static_cast<uint8_t>(1u << i), 0, modifiers[i]};
    // Ordinary keys: runs of consecutive usages, then the few that stand alone.
    struct Run {
        uint8_t firstUsage;
        std::array<std::string_view, 26> suffixes;
        size_t count;
    };
    constexpr Run runs[] = {
        {0x04, {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M", "N", "O", "P", "Q", "R", "S",
                "T", "U", "V", "W", "X", "Y", "Z"}, 26},
        {0x1E, {"1", "2", "3", "4", "5", "6", "7", "8", "9", "0"}, 10},
        {0x28, {"Enter", "Esc", "BackSpace", "Tab", "Space", "-", "=", "[", "]", "xiegang"}, 10},
        {0x33, {";", "'", "`", "<", ".", "/", "Caplk", "F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9",
                "F10", "F11", "F12", "Print Scr", "Scroll Lock", "Pause", "Insert", "Home", "Page Up", "Delete"}, 26},
        {0x4D, {"End", "Page Down", "Right", "Left", "Down", "Up", "Num Lock", "Num /", "Num *", "Num -", "Num +",
                "Num Enter", "Num 1", "Num 2", "Num 3", "Num 4", "Num 5", "Num 6", "Num 7", "Num 8", "Num 9",
                "Num 0", "Decimal"}, 23},
    };
    for (const Run& run : runs)
        for (size_t i = 0; i < run.count; ++i)
            keys[n++] = {0, static_cast<uint8_t>(run.firstUsage + i), run.suffixes[i]};
    keys[n++] = {0, 0x65, "App"};
    keys[n++] = {0, 0x91, "KL"};
    keys[n++] = {0, 0x90, "KR"};
    keys[n++] = {0, 0x87, "K56"};
    keys[n++] = {0, 0x89, "K14"};
    return keys;
}

constexpr auto kKeys = MakeKeys();
static_assert(kKeys.back().suffix == "K14");

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

const std::array<MouseButtonName, 5> kMouseButtons{{
    {0x01, "mouse_key_left"},
    {0x04, "mouse_key_middle"},
    {0x02, "mouse_key_right"},
    {0x10, "mouse_key_forward"},
    {0x08, "mouse_key_back"},
}};

std::optional<size_t> MouseEventRowOf(MouseInput input, bool pressed) {
    const auto button = static_cast<size_t>(input);
    if (button >= static_cast<size_t>(MouseInput::Wheel)) return std::nullopt;
    return 2 * button + (pressed ? 0 : 1);
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

std::span<const MacroKey> MacroKeys() { return kKeys; }

std::optional<size_t> KeyIndexByUsage(uint8_t usage) {
    const auto it = std::find_if(kKeys.begin(), kKeys.end(), [usage](const MacroKey& k) { return k.usage == usage; });
    if (it == kKeys.end()) return std::nullopt;
    return size_t(it - kKeys.begin());
}

std::optional<size_t> KeyIndexByModifier(uint8_t modifier) {
    const auto it =
        std::find_if(kKeys.begin(), kKeys.end(), [modifier](const MacroKey& k) { return k.modifier == modifier; });
    if (it == kKeys.end()) return std::nullopt;
    return size_t(it - kKeys.begin());
}

ActionLine KeyAction(const MacroKey& key, bool pressed) {
    ActionLine a;
    a.kind = static_cast<uint8_t>((key.usage != 0 ? kind::kKey : kind::kModifierKey) | (pressed ? kPress : 0));
    a.code = key.usage != 0 ? key.usage : key.modifier;
    a.pressed = pressed ? 1 : 0;
    a.label = key.label();
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
        for (const auto& b : kMouseButtons)
            if (b.bit == code) return std::string(b.label);
        return {};
    case kind::kHorizontalMove:
    case kind::kVerticalMove: return std::string(MoveLabel(action, direction));
    case kind::kModifierKey:
        if (const auto i = KeyIndexByModifier(code)) return kKeys[*i].label();
        return {};
    case kind::kKey:
        if (const auto i = KeyIndexByUsage(code)) return kKeys[*i].label();
        return {};
    default: return {};
    }
}

}  // namespace orvane::macros
