// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keys and buttons refer to macros by their index in the set, so removing a macro changes
// the assignments: a key of the deleted macro gets its own code back (the keyboard's
// built-in code, the mouse's factory code), and a key of a later macro follows it down by
// one. These are pure functions over the device's tables; the caller puts the result into
// the model (and the selected key profile) before the macro's index entry goes.

#include <cstddef>
#include <cstdint>

#include "keyboard/keyboard_records.h"
#include "mouse/mouse_records.h"

namespace orvane::macros {

/// Any key of any bank assigned macro `index` (type 0x70 or 0x71).
bool MacroInUse(const keyboard::KeyAssignmentBanks& banks, uint8_t index);
/// Any button of any key page assigned macro `index`.
bool MacroInUse(const mouse::MouseKeyPages& pages, uint8_t index);

/// Every key of every bank (all 170 entries of each table). Returns the codes changed.
size_t RenumberMacroAssignments(keyboard::KeyAssignmentBanks& banks, const keyboard::NativeKeyTable& native,
                                uint8_t deleted);
/// The six buttons of every key page, and the same buttons where a page carries the
/// following banks (page p's bytes k x 126 are bank p + k, down to a button cut by the
/// page's end), so that the pages stay copies of one key memory whichever of them is
/// written. Returns the codes changed.
size_t RenumberMacroAssignments(mouse::MouseKeyPages& pages, const mouse::MouseDefaultKeys& defaults,
                                uint8_t deleted);

}  // namespace orvane::macros
