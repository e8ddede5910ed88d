// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The key pages' apply as a device job: the device's macro set (macros/macro_transfer.h)
// first, then the keyboard's active bank or the mouse's active key page, between the
// progress ring's start and end. When everything went out the selected key profile is
// saved; when anything failed it is not, and the user is told why.

#include <QString>

#include <functional>

#include "device/models.h"
#include "functions/key_apply.h"
#include "runtime/runtime.h"
#include "ui/pages/key_function_panel.h"

namespace orvane::ui::pages {

/// Shown when the device did not take the keys (the key profile is then not saved).
inline constexpr char kKeyApplyFailedTextId[] = "key_apply_failed_text";

struct KeyApplyOutcome {
    functions::KeyApplyResult applied;
    bool saved = false;  ///< the key profile was written (only after a whole apply)
};

/// The apply's device work (any thread but the window's).
KeyApplyOutcome RunKeyPageApply(runtime::Runtime& runtime, device::DeviceKind kind);

/// The text the user reads after a failed apply; empty after a success.
QString KeyApplyFailureText(const KeyApplyOutcome& outcome, runtime::JobStatus status, const Translate& translate);

/// Submits the apply on the device's queue with the progress ring; `done` runs on the
/// window's thread after the failure text (if any) was shown.
void SubmitKeyPageApply(runtime::Runtime& runtime, device::DeviceKind kind, Translate translate, ShowText show,
                        std::function<void(bool ok)> done = {});

}  // namespace orvane::ui::pages
