// SPDX-License-Identifier: GPL-3.0-or-later
#include "mouse/button_editor.h"

namespace orvane::mouse {

namespace {

using functions::FunctionCode;
using functions::kMouseCategories;

constexpr FunctionCode kLeftClick{functions::code_type::kMouseButton, 0x01, 0x00};
/// The guard looks at the six buttons and the three entries after them.
constexpr size_t kGuardedEntries = 9;

void SetButtonCode(MouseKeyPage& page, size_t button, FunctionCode code) {
    page.bytes[3 * button] = code.type;
    page.bytes[3 * button + 1] = code.b1;
    page.bytes[3 * button + 2] = code.b2;
}

bool IsLastLeftClick(const MouseKeyPage& page, size_t button) {
    if (ButtonCode(page, button) != kLeftClick) return false;
    for (size_t entry = 0; entry < kGuardedEntries; ++entry)
        if (entry != button && ButtonCode(page, entry) == kLeftClick) return false;
    return true;
}

bool EditsAButton(const EditorState& state) { return state.selected && state.key < kButtonCount; }

}  // namespace

size_t ActiveKeyPage(const MouseData& d) {
    const size_t slot = d.state.activeSlot();
    return slot < kPageCount ? slot : 0;
}

FunctionCode ButtonCode(const MouseKeyPage& page, size_t button) {
    const auto b = page.button(button);
    return {b[0], b[1], b[2]};
}

FunctionCode FactoryCode(const MouseDefaultKeys& defaults, size_t button) {
    const auto b = defaults.button(button);
    return {b[0], b[1], b[2]};
}

EditorResult SelectButtonForEdit(const MouseData& d, EditorState& state, size_t button, int macroCount) {
    if (button >= kButtonCount) return {};
    const MouseKeyPage& page = d.block.pages[ActiveKeyPage(d)];
    if (IsLastLeftClick(page, button)) {
        // Nothing may be stored for a button that cannot be edited.
        state.selected = false;
        EditorResult refused;
        refused.message = kLastLeftClickMessage;
        refused.hidePanel = true;
        refused.capture = functions::Capture::Stop;
        return refused;
    }
    return functions::ShowInEditor(state, static_cast<uint16_t>(button), ButtonCode(page, button),
                                   FactoryCode(d.defaultKeys, button), kMouseCategories, macroCount);
}

EditorResult ApplyButtonFunction(MouseData& d, EditorState& state, int macroCount) {
    EditorResult result;
    if (!EditsAButton(state)) return result;
    const auto code = functions::BuildCode(state, FactoryCode(d.defaultKeys, state.key), macroCount);
    if (!code) return result;
    state.code = *code;
    SetButtonCode(d.block.pages[ActiveKeyPage(d)], state.key, *code);
    result.stored = true;
    return result;
}

EditorResult ChooseButtonCategory(MouseData& d, EditorState& state, int item, int macroCount) {
    EditorResult result;
    if (!functions::ChooseCategory(state, kMouseCategories, item, result)) return {};
    result.stored = ApplyButtonFunction(d, state, macroCount).stored;
    return result;
}

EditorResult CaptureButtonKey(MouseData& d, EditorState& state, uint16_t linuxKey, int macroCount, uint8_t heldModifiers) {
    if (state.category != functions::Category::KeyboardKey || !functions::TakeCapturedKey(state, linuxKey, heldModifiers))
        return {};
    EditorResult result = ApplyButtonFunction(d, state, macroCount);
    result.controlsChanged = true;
    return result;
}

EditorResult RestoreButtonDefault(MouseData& d, EditorState& state, int macroCount) {
    if (!EditsAButton(state)) return {};
    const FunctionCode factory = FactoryCode(d.defaultKeys, state.key);
    SetButtonCode(d.block.pages[ActiveKeyPage(d)], state.key, factory);
    state.code = factory;
    EditorResult result = SelectButtonForEdit(d, state, state.key, macroCount);
    result.stored = true;
    return result;
}

std::array<std::optional<functions::FunctionName>, kButtonCount> RefreshButtonLabels(
    const MouseKeyPage& page, std::span<const std::string> macroNames) {
    std::array<std::optional<functions::FunctionName>, kButtonCount> labels;
    for (size_t button = 0; button < kButtonCount; ++button)
        labels[button] = functions::FunctionLabel(ButtonCode(page, button), macroNames);
    return labels;
}

}  // namespace orvane::mouse
