// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The host path of a Flatpak application's executable.
//
// /proc/PID/exe of a process in a Flatpak sandbox names the file as the sandbox sees it
// ("/app/bin/game"), which is no file of the host and not what a user links. The sandbox's
// /.flatpak-info (read through /proc/PID/root) names where the application's files are on
// the host ("app-path" of its [Instance] group), so "/app/…" is "<app-path>/…" there.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace orvane::platform {

/// `executable` as the host names it, for a process whose root folder is `processRoot`
/// (/proc/PID/root); nullopt when the process is no Flatpak application, the path is not
/// under /app, or the host path is not an existing regular file.
std::optional<std::string> FlatpakHostPath(const std::filesystem::path& processRoot, std::string_view executable);

}  // namespace orvane::platform
