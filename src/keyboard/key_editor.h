// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keyboard page's key editor over the keyboard's data: a key position is clicked, a
// category chosen and its controls filled, and every change goes at once into the active
// key bank (nothing is sent; ApplyKeyboard does that). The page runs these inside
// KeyboardModel::update and shows the EditorResult; the key labels are data it renders.

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "functions/function_editor.h"
#include "keyboard/keyboard_model.h"

namespace orvane::keyboard {

using functions::EditorResult;
using functions::EditorState;

/// "kb_key_" + position clicked: loads the device key drawn there. A position the keyboard
/// has no key for does nothing.
EditorResult ShowKey(const KeyboardData& d, EditorState& state, size_t position, int macroCount);
/// "kb_key_fct_combo" item chosen by the user: the category's code is stored.
EditorResult ChooseCategory(KeyboardData& d, EditorState& state, int item, int macroCount);
/// A category control changed: the code the controls build goes into the active bank.
EditorResult StoreKey(KeyboardData& d, EditorState& state, int macroCount);
/// A key pressed on the real keyboard while the keyboard-key category captures.
EditorResult CaptureKey(KeyboardData& d, EditorState& state, uint16_t linuxKey, int macroCount,
                          uint8_t heldModifiers = 0);
/// "kb_key_butt_keydefalut": the edited key gets its own code back.
EditorResult RestoreDefault(KeyboardData& d, EditorState& state, int macroCount);

/// The tooltip of one key control: its own name, and when it does something else, the
/// name of what it does ("kb_key_" + position).
struct KeyLabel {
    size_t position = 0;
    std::string ownTextId;   ///< language key of the key's own function; "" when the list has none
    functions::FunctionName function;
    /// The key does something else than its own function: the tooltip is own + "Key_Set" +
    /// the function, and the control shows its alternative look.
    bool remapped = false;
};

/// Labels of the keys of the active bank whose function has a name (keys without one keep
/// their tooltip). macroNames: the keyboard's macros in index order.
std::vector<KeyLabel> RenderKeyLabels(const KeyboardData& d, std::span<const std::string> macroNames);

/// What the page shows of a position besides its label: whether the connected keyboard has
/// a key there, and whether that key holds its own code (such a key looks normal even when
/// its function has no name to label it with, as the Fn key).
struct PositionState {
    bool present = false;
    bool ownCode = false;
};
std::array<PositionState, kKeyPositionCount> PositionStates(const KeyboardData& d);

/// The tooltip text, with `translate` turning language keys into the shown text.
std::string KeyTooltip(const KeyLabel& label, const std::function<std::string(std::string_view)>& translate);

}  // namespace orvane::keyboard
