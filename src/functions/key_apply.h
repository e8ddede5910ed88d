// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The apply that writes a device's key assignments: the device's macro set first, then one
// key bank between BeginTransfer and EndTransfer. The keyboard (ApplyKeyboard) and the
// mouse (ApplyMouseKeys) run it with their own bank write. It runs on any thread; the caller
// saves the key profile when it succeeded.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "device/protocol/connection.h"
#include "device/protocol/result.h"

namespace orvane::functions {

/// What the macro upload reports. With no macros it sends nothing and succeeds.
struct MacroUploadResult {
    int32_t result = protocol::kOk;  ///< kOk, or the failed command's result, or kNoReply for a refusal on the host
    /// The text id to show when the upload was refused before anything was sent (the image
    /// does not fit, no memory); "" otherwise.
    std::string_view message;
    int messageNumber = 0;           ///< the number the message's "%d" stands for
    std::string detail;              ///< a refused file and why ("kb/Macro_1.mac: ..."), for logs and orvanectl
    bool ok() const { return result == protocol::kOk; }
};

/// The macro upload that comes first. Empty: the device gets no macro image (nothing sent).
using MacroUpload = std::function<MacroUploadResult(protocol::DeviceConnection&)>;

struct KeyApplyResult {
    MacroUploadResult macros;
    /// Whether the bank write was attempted (not after a failed macro upload).
    bool keysAttempted = false;
    /// kOk, or the result of the first key-write step that failed.
    int32_t keys = protocol::kOk;
    bool ok() const { return macros.ok() && keysAttempted && keys == protocol::kOk; }
};

/// Macro upload, then BeginTransfer, writeBank(), EndTransfer. A failed macro upload sends
/// nothing more; a failed step closes the transfer when the device still answers.
KeyApplyResult RunKeyApply(protocol::DeviceConnection& c, const MacroUpload& uploadMacros,
                           const std::function<int32_t()>& writeBank);

}  // namespace orvane::functions
