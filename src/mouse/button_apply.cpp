// SPDX-License-Identifier: GPL-3.0-or-later
#include "mouse/button_apply.h"

#include "mouse/button_editor.h"
#include "mouse/mouse_device.h"

namespace orvane::mouse {

functions::KeyApplyResult ApplyMouseKeys(protocol::DeviceConnection& c, const MouseModel& model,
                                         const functions::MacroUpload& uploadMacros) {
    size_t page = 0;
    MouseKeyPage bytes;
    model.read([&](const MouseData& d) {
        page = ActiveKeyPage(d);
        bytes = d.block.pages[page];
    });
    return functions::RunKeyApply(c, uploadMacros,
                                  [&] { return WriteMouseKeyPage(c, static_cast<unsigned>(page), bytes); });
}

}  // namespace orvane::mouse
