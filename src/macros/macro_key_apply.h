// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The key apply as the key pages and orvanectl run it: the device's macro set, packed from
// its files, goes out first (nothing when it has none), then the keyboard's active bank or
// the mouse's active key page. It saves nothing: the caller saves the key profile when it
// succeeded. Runs on a device job's thread or in the tool, never on the window's.

#include "device/models.h"
#include "device/protocol/connection.h"
#include "device/protocol/write_meter.h"
#include "functions/key_apply.h"
#include "keyboard/keyboard_model.h"
#include "macros/macro_store.h"
#include "macros/macro_transfer.h"
#include "mouse/mouse_model.h"

namespace orvane::macros {

/// What the key apply makes of the macro upload's outcome (a failure never reads as kOk).
functions::MacroUploadResult MacroUploadOf(const UploadResult& upload);

/// `progress` is told how much of the macro image and the bank has gone out (percent).
functions::KeyApplyResult ApplyKeysWithMacros(protocol::DeviceConnection& c, device::DeviceKind kind,
                                              const keyboard::KeyboardModel& keyboard, const mouse::MouseModel& mouse,
                                              const MacroStore& macros, const protocol::WriteMeter::Report& progress = {});

}  // namespace orvane::macros
