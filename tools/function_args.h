// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The FUNCTION argument of "orvanectl assign": what a key or button is to do, in words, as
// the editor's category and control values, so that the tool stores a code exactly as the
// page's editor would.
//
//   default | key:[MODIFIER+...]NAME | mouse:left|middle|right|forward|back
//   hscroll:left|right:AMOUNT[:P1:P2] | vscroll:up|down:AMOUNT[:P1:P2]
//   dpi:up|down|cycle | fire:A:B | media:NAME | system:power|sleep|wake
//   macro:INDEX:MODE | macro:INDEX:repeat:N | cursor:N (mouse)

#include <optional>
#include <string>
#include <string_view>

#include "device/models.h"
#include "functions/function_editor.h"
#include "macros/macro_store.h"

namespace orvane::cli {

/// Macro indexes a key can name (a device keeps at most 50 macros).
inline constexpr int kMacroLimit = macros::kMaxMacros;

struct FunctionArgument {
    functions::Category category = functions::Category::Default;
    functions::EditorControls controls;
    functions::FunctionCode keyCode;  ///< key:NAME, the code of the key and the modifiers held with it
};

/// nullopt with `error` set to one line that says what is allowed.
std::optional<FunctionArgument> ParseFunctionArgument(std::string_view text, device::DeviceKind kind,
                                                      std::string& error);

/// NAME of key:NAME for a KeyboardKeyList key: its name with "_" for spaces ("Num_Enter").
std::string KeyToken(size_t entry);

}  // namespace orvane::cli
