// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The key pages' apply: the device's session sends the macro set first, then the keyboard's
// active bank or the mouse's active key page, with the progress ring, and saves the selected
// key profile when everything went out; when anything failed the user is told why here.

#include <QString>

#include <functional>

#include "device/models.h"
#include "functions/key_apply.h"
#include "runtime/runtime.h"
#include "ui/pages/key_function_panel.h"

namespace orvane::ui::pages {

/// Shown when the device did not take the keys (the key profile is then not saved).
inline constexpr char kKeyApplyFailedTextId[] = "key_apply_failed_text";

/// The text the user reads after a failed apply; empty after a success.
QString KeyApplyFailureText(const runtime::KeyApplyOutcome& outcome, runtime::JobStatus status, const Translate& translate);

/// Submits the apply on the device's queue with the progress ring. On the window's thread
/// afterwards: a failure is told in a box and Apply stays offered; a success is confirmed
/// with the notice `appliedNotice` (a text id) and Apply waits for the next edit.
void SubmitKeyPageApply(runtime::Runtime& runtime, device::DeviceKind kind, KeyEditorView& view,
                        const char* appliedNotice);

}  // namespace orvane::ui::pages
