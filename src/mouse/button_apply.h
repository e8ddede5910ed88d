// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mouse's key apply: the mouse's macros first (through the upload the caller passes),
// then the key page of the active slot. It runs on any thread and saves nothing: when it
// succeeded the caller saves the selected key profile.

#include "device/protocol/connection.h"
#include "functions/key_apply.h"
#include "mouse/mouse_model.h"

namespace orvane::mouse {

/// Macro upload; BeginTransfer; WriteMouseKeyPage of the active slot's page; EndTransfer.
functions::KeyApplyResult ApplyMouseKeys(protocol::DeviceConnection& c, const MouseModel& model,
                                         const functions::MacroUpload& uploadMacros = {});

}  // namespace orvane::mouse
