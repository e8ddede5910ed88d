// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/key_layout.h"

#include <QGuiApplication>

#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

#include <memory>

#include "functions/linux_keys.h"

namespace orvane::ui {

namespace {

template <class T, void (*Free)(T*)>
struct Freer {
    void operator()(T* p) const { Free(p); }
};
using Context = std::unique_ptr<xkb_context, Freer<xkb_context, xkb_context_unref>>;
using Keymap = std::unique_ptr<xkb_keymap, Freer<xkb_keymap, xkb_keymap_unref>>;
using State = std::unique_ptr<xkb_state, Freer<xkb_state, xkb_state_unref>>;

xcb_connection_t* X11Connection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

}  // namespace

QString KeyCapOfLinuxKey(uint16_t linuxKey) {
    xcb_connection_t* connection = X11Connection();
    if (!connection || linuxKey == 0) return {};
    if (!xkb_x11_setup_xkb_extension(connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
                                     XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr, nullptr))
        return {};
    const int32_t device = xkb_x11_get_core_keyboard_device_id(connection);
    if (device < 0) return {};
    // Read afresh each time: the user may switch layouts while the program runs.
    const Context context(xkb_context_new(XKB_CONTEXT_NO_FLAGS));
    if (!context) return {};
    const Keymap keymap(xkb_x11_keymap_new_from_device(context.get(), connection, device, XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!keymap) return {};
    const State state(xkb_x11_state_new_from_device(keymap.get(), connection, device));
    if (!state) return {};
    const xkb_keycode_t keycode = linuxKey + functions::kXkbKeycodeOffset;
    const xkb_layout_index_t layout = xkb_state_key_get_layout(state.get(), keycode);
    if (layout == XKB_LAYOUT_INVALID) return {};
    const xkb_keysym_t* syms = nullptr;
    if (xkb_keymap_key_get_syms_by_level(keymap.get(), keycode, layout, 0, &syms) < 1) return {};
    const uint32_t character = xkb_keysym_to_utf32(syms[0]);
    if (character <= 0x20 || character == 0x7F) return {};  // none, a control character or space
    const char32_t text[] = {static_cast<char32_t>(character)};
    return QString::fromUcs4(text, 1).toUpper();
}

}  // namespace orvane::ui
