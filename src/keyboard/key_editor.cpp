// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/key_editor.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "functions/function_lists.h"

namespace orvane::keyboard {

namespace {

using functions::kKeyboardCategories;

/// The device key drawn at a position, when the keyboard has it. The map keeps entries of
/// an earlier keyboard, so the index is checked against this keyboard's key count.
std::optional<size_t> KeyAt(const KeyboardData& d, size_t position) {
    if (position >= kKeyPositionCount) return std::nullopt;
    const int32_t key = d.positionMap[position];
    if (key < 0 || key == kNoDeviceKey || static_cast<size_t>(key) >= d.info.keyCount()) return std::nullopt;
    return static_cast<size_t>(key);
}

std::optional<size_t> FirstPositionOf(const KeyboardData& d, size_t key) {
    for (size_t p = 0; p < kKeyPositionCount; ++p)
        if (d.positionMap[p] == static_cast<int32_t>(key)) return p;
    return std::nullopt;
}

bool EditsAKey(const KeyboardData& d, const EditorState& state) {
    return state.selected && state.key < d.info.keyCount();
}

bool SameTextId(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

EditorResult ShowKey(const KeyboardData& d, EditorState& state, size_t position, int macroCount) {
    const auto key = KeyAt(d, position);
    if (!key) return {};
    return functions::ShowInEditor(state, static_cast<uint16_t>(*key), d.banks[d.activeBank()].code(*key),
                                   d.nativeKeys.code(*key), kKeyboardCategories, macroCount);
}

EditorResult StoreKey(KeyboardData& d, EditorState& state, int macroCount) {
    EditorResult result;
    if (!EditsAKey(d, state)) return result;
    const auto code = functions::BuildCode(state, d.nativeKeys.code(state.key), macroCount);
    if (!code) return result;
    state.code = *code;
    d.banks[d.activeBank()].setCode(state.key, *code);
    result.stored = true;
    return result;
}

EditorResult ChooseCategory(KeyboardData& d, EditorState& state, int item, int macroCount) {
    EditorResult result;
    if (!functions::ChooseCategory(state, kKeyboardCategories, item, result)) return {};
    result.stored = StoreKey(d, state, macroCount).stored;
    return result;
}

EditorResult CaptureKey(KeyboardData& d, EditorState& state, uint16_t linuxKey, int macroCount, uint8_t heldModifiers) {
    if (state.category != functions::Category::KeyboardKey || !functions::TakeCapturedKey(state, linuxKey, heldModifiers))
        return {};
    EditorResult result = StoreKey(d, state, macroCount);
    result.controlsChanged = true;
    return result;
}

EditorResult RestoreDefault(KeyboardData& d, EditorState& state, int macroCount) {
    if (!EditsAKey(d, state)) return {};
    const size_t key = state.key;
    d.banks[d.activeBank()].setCode(key, d.nativeKeys.code(key));
    state.code = d.nativeKeys.code(key);
    EditorResult result;
    if (const auto position = FirstPositionOf(d, key)) result = ShowKey(d, state, *position, macroCount);
    result.stored = true;
    return result;
}

std::vector<KeyLabel> RenderKeyLabels(const KeyboardData& d, std::span<const std::string> macroNames) {
    std::vector<KeyLabel> labels;
    const KeyTable& bank = d.banks[d.activeBank()];
    for (size_t key = 0; key < d.info.keyCount(); ++key) {
        auto function = functions::FunctionLabel(bank.code(key), macroNames);
        const auto position = FirstPositionOf(d, key);
        if (!function || !position) continue;
        KeyLabel label;
        label.position = *position;
        const KeyCode own = d.nativeKeys.code(key);
        if (const auto entry = functions::KeyboardKeyByCode(own.b1, own.b2))
            label.ownTextId = functions::KeyboardKeyList[*entry].name;
        else if (bank.code(key) == own)
            continue;  // at its own code a key the list does not name (the ISO key, Fn) keeps the skin's name
        label.remapped =
            !(function->isTextId && function->modifiers == 0 && SameTextId(label.ownTextId, function->text));
        label.function = std::move(*function);
        labels.push_back(std::move(label));
    }
    return labels;
}

std::array<PositionState, kKeyPositionCount> PositionStates(const KeyboardData& d) {
    std::array<PositionState, kKeyPositionCount> states{};
    const KeyTable& bank = d.banks[d.activeBank()];
    for (size_t p = 0; p < kKeyPositionCount; ++p) {
        const auto key = KeyAt(d, p);
        if (!key) continue;
        states[p].present = true;
        states[p].ownCode = bank.code(*key) == d.nativeKeys.code(*key);
    }
    return states;
}

std::string KeyTooltip(const KeyLabel& label, const std::function<std::string(std::string_view)>& translate) {
    std::string text = label.ownTextId.empty() ? std::string() : translate(label.ownTextId);
    if (!label.remapped) return text;
    text += translate(functions::kKeySetTextId);
    text += functions::ShownName(label.function, translate);
    return text;
}

}  // namespace orvane::keyboard
