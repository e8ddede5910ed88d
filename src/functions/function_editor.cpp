// SPDX-License-Identifier: GPL-3.0-or-later
#include "functions/function_editor.h"

#include <cctype>

#include "functions/capture_keys.h"
#include "functions/function_lists.h"
#include "functions/linux_keys.h"

namespace orvane::functions {

namespace {

using namespace code_type;

std::optional<FunctionCode> EntryAt(List list, int index) {
    if (index < 0 || static_cast<size_t>(index) >= list.size()) return std::nullopt;
    return list[static_cast<size_t>(index)].code;
}

int IndexOr(std::optional<size_t> found, int previous) { return found ? static_cast<int>(*found) : previous; }

/// The category a code type is shown in, or nullopt for types the editors do not show.
std::optional<Category> CategoryOfType(uint8_t type) {
    switch (type) {
    case kMouseButton: return Category::MouseButton;
    case kHorizontalSwing: return Category::HorizontalSwing;
    case kVerticalSwing: return Category::VerticalSwing;
    case kDpiAction: return Category::DpiAction;
    case kFireKey: return Category::FireKey;
    case kKeyboardKey: return Category::KeyboardKey;
    case kMedia: return Category::Media;
    case kSystem: return Category::System;
    case kMacro:
    case kMacroRepeat: return Category::Macro;
    case kCursorSequence: return Category::CursorSequence;
    default: return std::nullopt;
    }
}

/// Sets the controls of the code's category to show it.
void ShowControls(FunctionCode code, EditorControls& c, int macroCount) {
    switch (code.type) {
    case kMouseButton: c.mouseButton = IndexOr(FindInList(MouseButtonList, code, Match::B1), c.mouseButton); break;
    case kHorizontalSwing: {
        const SwingAmount s = DecodeHorizontalSwing(code.b2);
        c.horizontalHigh = code.b1 >> 4;
        c.horizontalLow = code.b1 & 0x0F;
        c.horizontalAmount = s.amount;
        c.horizontalDirection = s.negative ? 1 : 0;
        break;
    }
    case kVerticalSwing: {
        const SwingAmount s = DecodeVerticalSwing(code.b2);
        c.verticalHigh = code.b1 >> 4;
        c.verticalLow = code.b1 & 0x0F;
        c.verticalAmount = s.amount;
        c.verticalDirection = s.negative ? 1 : 0;
        break;
    }
    case kDpiAction: c.dpiAction = IndexOr(FindInList(DpiActionList, code, Match::B1), c.dpiAction); break;
    case kFireKey:
        c.fireFirst = code.b1;
        c.fireSecond = code.b2;
        break;
    case kKeyboardKey:
        if (const auto combination = CombinationOf(code)) {
            c.capturedKey = combination->key;
            c.capturedModifiers = combination->modifiers;
        }
        break;
    case kMedia: c.media = IndexOr(FindInList(MediaList, code, Match::B1B2), c.media); break;
    case kSystem: c.system = IndexOr(FindInList(SystemList, code, Match::B1B2), c.system); break;
    case kMacro:
    case kMacroRepeat:
        c.macro = code.b1 < macroCount ? code.b1 : -1;
        if (code.type == kMacroRepeat) {
            c.playMode = kRepeatPlayMode;
            c.repeatCount = code.b2;
        } else if (code.b2 < kRepeatPlayMode) {
            c.playMode = code.b2;
        }
        break;
    case kCursorSequence:
        if (code.b1 < kCursorSequenceNames.size()) c.cursorSequence = code.b1;
        break;
    default: break;
    }
}

}  // namespace

std::optional<int> ItemOfCategory(Categories categories, Category category) {
    for (size_t i = 0; i < categories.size(); ++i)
        if (categories[i].category == category) return static_cast<int>(i);
    return std::nullopt;
}

EditValue ReadEdit(std::string_view text, int limit) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        value = std::min<long long>(value * 10 + (text[i] - '0'), 1LL << 40);
    if (negative) value = -value;
    EditValue out;
    out.value = static_cast<int>(std::clamp<long long>(value, 0, limit));
    if (value > limit || value < 0) out.replacement = std::to_string(out.value);
    return out;
}

EditorResult ShowInEditor(EditorState& state, uint16_t key, FunctionCode current, FunctionCode own,
                          Categories categories, int macroCount) {
    EditorResult result;
    state.selected = true;
    state.key = key;
    state.code = current;
    result.showPanel = true;
    const std::optional<Category> category = current == own ? Category::Default : CategoryOfType(current.type);
    const std::optional<int> item = category ? ItemOfCategory(categories, *category) : std::nullopt;
    if (item) {
        if (*category != Category::Default) ShowControls(current, state.controls, macroCount);
        state.category = *category;
        result.categoryItem = item;
        result.controlsChanged = true;
    }
    // A capture started for another key ends; one starts when this key's code is a key.
    result.capture = state.category == Category::KeyboardKey ? Capture::Start : Capture::Stop;
    return result;
}

bool ChooseCategory(EditorState& state, Categories categories, int item, EditorResult& result) {
    if (item < 0 || static_cast<size_t>(item) >= categories.size()) return false;
    state.category = categories[static_cast<size_t>(item)].category;
    result.categoryItem = item;
    if (state.category == Category::KeyboardKey) {
        // The edit names the key the code already sends; any other code waits for a key.
        const auto combination = CombinationOf(state.code);
        state.controls.capturedKey = combination ? std::string(combination->key) : std::string();
        state.controls.capturedModifiers = combination ? combination->modifiers : 0;
        result.controlsChanged = true;
        result.capture = Capture::Start;
    } else {
        result.capture = Capture::Stop;
    }
    return true;
}

std::optional<FunctionCode> BuildCode(const EditorState& state, FunctionCode own, int macroCount) {
    const EditorControls& c = state.controls;
    switch (state.category) {
    case Category::Default: return own;
    case Category::MouseButton: return EntryAt(MouseButtonList, c.mouseButton);
    case Category::DpiAction: return EntryAt(DpiActionList, c.dpiAction);
    case Category::Media: return EntryAt(MediaList, c.media);
    case Category::System: return EntryAt(SystemList, c.system);
    case Category::HorizontalSwing: {
        auto entry = EntryAt(SwingList.horizontal, c.horizontalDirection);
        if (!entry) return std::nullopt;
        return FunctionCode{entry->type, PackNibbles(c.horizontalHigh, c.horizontalLow),
                            EncodeHorizontalSwing({c.horizontalAmount, c.horizontalDirection == 1})};
    }
    case Category::VerticalSwing: {
        auto entry = EntryAt(SwingList.vertical, c.verticalDirection);
        if (!entry) return std::nullopt;
        return FunctionCode{entry->type, PackNibbles(c.verticalHigh, c.verticalLow),
                            EncodeVerticalSwing({c.verticalAmount, c.verticalDirection == 1})};
    }
    case Category::FireKey:
        return FunctionCode{kFireKey, static_cast<uint8_t>(ClampTo(c.fireFirst, kByteLimit)),
                            static_cast<uint8_t>(ClampTo(c.fireSecond, kByteLimit))};
    case Category::KeyboardKey:
        if (c.capturedKey.empty()) return std::nullopt;
        return state.code;
    case Category::Macro: {
        if (c.macro < 0 || c.macro >= macroCount || c.macro > 0xFF) return std::nullopt;
        const auto macro = static_cast<uint8_t>(c.macro);
        if (c.playMode == kRepeatPlayMode)
            return FunctionCode{kMacroRepeat, macro, static_cast<uint8_t>(ClampTo(c.repeatCount, kByteLimit))};
        const int mode = c.playMode >= 0 && c.playMode < kRepeatPlayMode ? c.playMode : 0;
        return FunctionCode{kMacro, macro, static_cast<uint8_t>(mode)};
    }
    case Category::CursorSequence:
        if (c.cursorSequence < 0 || static_cast<size_t>(c.cursorSequence) >= kCursorSequenceNames.size())
            return std::nullopt;
        return FunctionCode{kCursorSequence, static_cast<uint8_t>(c.cursorSequence), 0};
    }
    return std::nullopt;
}

bool TakeCapturedKey(EditorState& state, uint16_t linuxKey, uint8_t heldModifiers) {
    auto code = CapturedKeyCode(linuxKey);
    if (!code) return false;
    code->b1 |= heldModifiers;
    const auto combination = CombinationOf(*code);
    if (!combination) return false;
    state.controls.capturedKey = combination->key;
    state.controls.capturedModifiers = combination->modifiers;
    state.code = *code;
    return true;
}

std::optional<FunctionName> FunctionLabel(FunctionCode code, std::span<const std::string> macroNames) {
    auto named = [](List list, std::optional<size_t> found) -> std::optional<FunctionName> {
        if (!found) return std::nullopt;
        return FunctionName{std::string(list[*found].name)};
    };
    switch (code.type) {
    case 0x00:
    case kKeyboardKey: {
        const auto combination = CombinationOf({kKeyboardKey, code.b1, code.b2});  // type 0 names as 0x20
        if (!combination) return std::nullopt;
        return FunctionName{std::string(combination->key), true, combination->modifiers};
    }
    case kMouseButton: return named(MouseButtonList, FindInList(MouseButtonList, code, Match::B1));
    case kHorizontalSwing: return named(SwingList.horizontal, (code.b2 & 0x80) ? 1 : 0);
    case kVerticalSwing: return named(SwingList.vertical, (code.b2 & 0x80) ? 1 : 0);
    case kDpiAction: return named(DpiActionList, FindInList(DpiActionList, code, Match::B1));
    case kFireKey: return FunctionName{std::string(kFireKeyName)};
    case 0x21:
    case kMedia: return named(MediaList, FindInList(MediaList, code, Match::B1B2));
    case kSystem: return named(SystemList, FindInList(SystemList, code, Match::B1B2));
    case kMacro:
    case kMacroRepeat:
        if (code.b1 >= macroNames.size()) return std::nullopt;
        return FunctionName{macroNames[code.b1], false};
    case kCursorSequence:
        if (code.b1 >= kCursorSequenceNames.size()) return std::nullopt;
        return FunctionName{std::string(kCursorSequenceNames[code.b1])};
    case 0x15: case 0x50: case 0x60: case 0xA0: case 0xB0: case 0xC0: return std::nullopt;
    default: return FunctionName{std::string(kUnknownFunctionName)};
    }
}

std::string ShownName(const FunctionName& name, const std::function<std::string(std::string_view)>& translate) {
    std::string text;
    for (const auto modifier : ModifierNames(name.modifiers)) text += translate(modifier) + "+";
    return text + (name.isTextId ? translate(name.text) : name.text);
}

}  // namespace orvane::functions
