// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a key's cap shows under the user's keyboard layout. A captured key is stored by its
// physical position (its HID usage), but a German user's key labelled Z sits where a US
// layout has Y: the key capture names a character key by what the active xkb layout prints
// on it. On X11 the layout is the server's (xkbcommon-x11); elsewhere none is known and the
// language file's name stands.

#include <QString>

#include <cstdint>

namespace orvane::ui {

/// The character the key of a Linux key code prints without modifiers under the active
/// layout, upper-cased as a keycap shows it ("Z", "Ö", "1"); empty when the key prints no
/// character there (a dead key) or no layout is known.
QString KeyCapOfLinuxKey(uint16_t linuxKey);

}  // namespace orvane::ui
