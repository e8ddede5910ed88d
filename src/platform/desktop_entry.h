// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program a desktop entry starts, found from a Wayland application id.
//
// A Wayland compositor names an application by its app_id, which by convention is the name
// of its desktop entry ("org.gnome.Nautilus" → org.gnome.Nautilus.desktop). The entry's
// Exec line names the program: an absolute path, or a name looked up in PATH. Entries are
// files of other packages and of the user: read as hostile (size-limited, only the
// [Desktop Entry] group, no field codes or shell interpretation).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::platform {

/// The folders searched for "applications/<id>.desktop", most important first:
/// $XDG_DATA_HOME (~/.local/share) then $XDG_DATA_DIRS (/usr/local/share:/usr/share).
std::vector<std::string> ApplicationFolders();

/// The Exec line's program of the [Desktop Entry] group of `text`, as written (its first
/// word, unquoted; an "env VAR=value …" prefix skipped); nullopt when there is none.
std::optional<std::string> DesktopExecProgram(std::string_view text);

/// The absolute, symbolic-link-resolved path of the program the desktop entry
/// "<appId>.desktop" starts (the first such file in `folders`, as the desktop itself picks
/// it); nullopt when there is no such entry, it is unreadable, or its program cannot be
/// found, or the program only starts another one (flatpak, snap, a shell). An app_id that could name a file outside the folders ("..", "/") finds nothing.
std::optional<std::string> DesktopEntryProgram(std::string_view appId, const std::vector<std::string>& folders);

}  // namespace orvane::platform
