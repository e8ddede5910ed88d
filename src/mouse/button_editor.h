// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mouse page's button editor over the mouse's data: a button is selected, a category
// chosen and its controls filled, and every change goes at once into the key page of the
// active slot (nothing is sent; ApplyMouseKeys does that). The page runs these inside
// MouseModel::update and shows the EditorResult.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "functions/function_editor.h"
#include "mouse/mouse_model.h"

namespace orvane::mouse {

using functions::EditorResult;
using functions::EditorState;

/// Shown when the user selects the only button left that clicks left.
inline constexpr std::string_view kLastLeftClickMessage = "message_text_6";

/// The key page of the active slot. A slot byte above 4 (only a damaged ".led" file holds
/// one) names page 0, for the editor and the apply alike.
size_t ActiveKeyPage(const MouseData& d);

/// The button's code in the page and its factory code.
functions::FunctionCode ButtonCode(const MouseKeyPage& page, size_t button);
functions::FunctionCode FactoryCode(const MouseDefaultKeys& defaults, size_t button);

/// "ms_key_" + i clicked: loads button i. The only left-click button among the page's first
/// nine entries is refused with kLastLeftClickMessage and the panel hidden.
EditorResult SelectButtonForEdit(const MouseData& d, EditorState& state, size_t button, int macroCount);
/// "ms_key_fct_combo" item chosen by the user: the category's code is stored.
EditorResult ChooseButtonCategory(MouseData& d, EditorState& state, int item, int macroCount);
/// A category control changed, or "ms_key_butt_keysave": the built code goes into the page.
EditorResult ApplyButtonFunction(MouseData& d, EditorState& state, int macroCount);
/// A key pressed on the real keyboard while the keyboard-key category captures.
EditorResult CaptureButtonKey(MouseData& d, EditorState& state, uint16_t linuxKey, int macroCount,
                          uint8_t heldModifiers = 0);
/// "ms_key_butt_keydefalut": the edited button gets its factory code back.
EditorResult RestoreButtonDefault(MouseData& d, EditorState& state, int macroCount);

/// The texts of "ms_key_0" ... "ms_key_5" (text and tooltip) for a key page; nullopt keeps
/// a label as it is. macroNames: the mouse's macros in index order.
std::array<std::optional<functions::FunctionName>, kButtonCount> RefreshButtonLabels(
    const MouseKeyPage& page, std::span<const std::string> macroNames);

}  // namespace orvane::mouse
