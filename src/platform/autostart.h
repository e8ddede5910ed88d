// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Starting with the desktop session: the user's XDG autostart entry "orvane.desktop" (in
// $XDG_CONFIG_HOME/autostart, ~/.config/autostart without it), which starts the program hidden
// in the tray (--minimized). Desktop settings switch such an entry off by writing Hidden=true
// or X-GNOME-Autostart-enabled=false into it; that counts as off here too.

#include <filesystem>
#include <string>
#include <string_view>

namespace orvane::platform {

inline constexpr char kAutostartFileName[] = "orvane.desktop";
inline constexpr char kMinimizedOption[] = "--minimized";

/// The folder of the user's autostart entries.
std::filesystem::path AutostartFolder();
/// AutostartFolder()/orvane.desktop.
std::filesystem::path AutostartEntryPath();

/// The entry's text for the program at `program`, started with --minimized.
std::string AutostartEntryText(const std::filesystem::path& program);

/// Whether the session starts the program: the entry exists and is not switched off.
bool AutostartEnabled(const std::filesystem::path& entry = AutostartEntryPath());

/// Writes the entry (atomically; a switched-off entry is replaced) or removes it. false, with
/// a one-line reason, when that fails.
bool SetAutostart(bool enabled, const std::filesystem::path& program, std::string* error = nullptr,
                  const std::filesystem::path& entry = AutostartEntryPath());

/// One argument of an Exec line as written in a desktop file: quoted when it holds a reserved
/// character, "%" doubled, and the file's own escapes applied on top.
std::string DesktopExecArgument(std::string_view argument);

}  // namespace orvane::platform
