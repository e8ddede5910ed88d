// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The user's choice of the window's frame, kept in main.ini: the program's own title bar and
// edges (the default), or the desktop's title bar and frame around the window ("WINDOW",
// "DESKTOPFRAME" = 1). Any other value reads as the program's own frame.

#include "platform/ini_file.h"

namespace orvane::app {

inline constexpr char kFrameIniSection[] = "WINDOW";
inline constexpr char kDesktopFrameIniKey[] = "DESKTOPFRAME";

inline bool ReadDesktopFrame(const platform::IniFile& mainIni) {
    return mainIni.readInt(kFrameIniSection, kDesktopFrameIniKey, 0) == 1;
}

/// false when main.ini cannot be written.
inline bool WriteDesktopFrame(platform::IniFile& mainIni, bool desktopFrame) {
    return mainIni.writeInt(kFrameIniSection, kDesktopFrameIniKey, desktopFrame ? 1 : 0);
}

}  // namespace orvane::app
