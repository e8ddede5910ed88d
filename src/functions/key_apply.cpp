// SPDX-License-Identifier: GPL-3.0-or-later
#include "functions/key_apply.h"

#include "device/protocol/commands.h"
#include "device/transfer_bracket.h"

namespace orvane::functions {

KeyApplyResult RunKeyApply(protocol::DeviceConnection& c, const MacroUpload& uploadMacros,
                           const std::function<int32_t()>& writeBank) {
    KeyApplyResult out;
    if (uploadMacros) out.macros = uploadMacros(c);
    if (!out.macros.ok()) return out;

    out.keysAttempted = true;
    protocol::ShareHold hold(c);  // the bracket, against other programs (the upload held its own)
    if (!hold.held()) {
        out.keys = hold.result();
        return out;
    }
    if ((out.keys = protocol::BeginTransfer(c)) != protocol::kOk) {
        out.keys = device::AbandonTransfer(c, out.keys);
        return out;
    }
    if ((out.keys = writeBank()) != protocol::kOk) {
        out.keys = device::AbandonTransfer(c, out.keys);
        return out;
    }
    out.keys = protocol::EndTransfer(c);
    return out;
}

}  // namespace orvane::functions
