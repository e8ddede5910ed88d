// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's private folder for run-time files (device lock files, the shared emulator's
// socket): $XDG_RUNTIME_DIR/orvane, or /tmp/orvane-UID where XDG_RUNTIME_DIR is unset.
// Made with mode 0700 when missing; one that is not a folder of this user, or that others
// may enter, is refused: another user could plant or watch what goes in it.

#include <filesystem>
#include <string>

namespace orvane::platform {

struct RuntimeFolder {
    std::filesystem::path path;  ///< empty when refused
    std::string problem;         ///< why it was refused, one line

    bool ok() const { return problem.empty(); }
};

/// The folder, made when missing; never waits.
RuntimeFolder PrivateRuntimeFolder();

/// `text` as a file name: letters, digits, '.', '-' and '_' stay, every other byte is '_'
/// (a name never starts with '.'), at most 100 bytes.
std::string FileNameOf(const std::string& text);

}  // namespace orvane::platform
