// SPDX-License-Identifier: GPL-3.0-or-later
#include "macros/macro_key_apply.h"

#include "keyboard/keyboard_apply.h"
#include "mouse/button_apply.h"

namespace orvane::macros {

functions::MacroUploadResult MacroUploadOf(const UploadResult& u) {
    functions::MacroUploadResult r;
    if (u.ok()) return r;
    r.result = u.outcome == UploadResult::Outcome::DeviceFailed ? u.deviceResult : protocol::kNoReply;
    if (r.result == protocol::kOk) r.result = protocol::kNoReply;
    r.message = u.message;
    r.messageNumber = u.excess;
    r.detail = u.outcome == UploadResult::Outcome::DeviceFailed
                   ? std::string(protocol::ResultText(u.deviceResult)) + "; " + DeviceHoldsText(u, "the device", "macros")
                   : u.detail;
    return r;
}

functions::KeyApplyResult ApplyKeysWithMacros(protocol::DeviceConnection& c, device::DeviceKind kind,
                                              const keyboard::KeyboardModel& keyboard, const mouse::MouseModel& mouse,
                                              const MacroStore& macros, const protocol::WriteMeter::Report& progress) {
    const bool isKeyboard = kind == device::DeviceKind::Keyboard;
    const auto set = isKeyboard ? MacroSet::Keyboard : MacroSet::Mouse;
    // The capacity the device reported at connect (information byte 6 x 128).
    const size_t capacity = isKeyboard ? keyboard.read([](const auto& d) { return d.info.macroCapacity(); })
                                       : mouse.read([](const auto& d) { return d.info.macroCapacity(); });
    const CollectedImage image = CollectMacroImage(macros, set);
    protocol::WriteMeter meter(progress);
    if (image.status == CollectedImage::Status::Ready && image.size <= capacity) meter.plan(image.size);
    const size_t bankBytes = isKeyboard ? keyboard.read([](const auto& d) { return d.info.keyCount() * 3; })
                                        : mouse::MouseKeyPage::kBankBytes;
    meter.plan(std::min<size_t>(bankBytes, c.blockLength));
    const functions::MacroUpload upload = [&image, capacity](protocol::DeviceConnection& connection) {
        return MacroUploadOf(UploadMacroImage(connection, image, capacity));
    };
    return isKeyboard ? keyboard::ApplyKeyboard(c, keyboard, upload) : mouse::ApplyMouseKeys(c, mouse, upload);
}

}  // namespace orvane::macros
