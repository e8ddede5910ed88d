// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// ApplyKeyboard: writes the keyboard's key assignments. The keyboard's macros go first
// (through the upload the caller passes), then the active bank. It runs on any thread and
// saves nothing: when it succeeded the caller saves the selected key profile.

#include "device/protocol/connection.h"
#include "functions/key_apply.h"
#include "keyboard/keyboard_model.h"

namespace orvane::keyboard {

/// Macro upload; BeginTransfer; WriteBank of the active bank (its first 3 x key count bytes,
/// at device offset bank x 126); EndTransfer.
functions::KeyApplyResult ApplyKeyboard(protocol::DeviceConnection& c, const KeyboardModel& model,
                                        const functions::MacroUpload& uploadMacros = {});

}  // namespace orvane::keyboard
