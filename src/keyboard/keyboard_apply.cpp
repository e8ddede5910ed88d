// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/keyboard_apply.h"

#include "device/protocol/commands.h"

namespace orvane::keyboard {

functions::KeyApplyResult ApplyKeyboard(protocol::DeviceConnection& c, const KeyboardModel& model,
                                        const functions::MacroUpload& uploadMacros) {
    // The bank as it is now: edits made while the reports go out wait for the next apply.
    size_t bank = 0;
    size_t bytes = 0;
    KeyTable table;
    model.read([&](const KeyboardData& d) {
        bank = d.activeBank();
        bytes = d.info.keyCount() * 3;
        table = d.banks[bank];
    });
    return functions::RunKeyApply(c, uploadMacros, [&] {
        return protocol::WriteBank(c, static_cast<unsigned>(bank), table.span().first(bytes));
    });
}

}  // namespace orvane::keyboard
