// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the program keeps the user's data: the data folder "KX" inside the XDG documents
// folder (or the folder $ORVANE_DATA_DIR names), holding "main.ini" and the device folders.

#include <filesystem>

namespace orvane::platform {

inline constexpr char kDataFolderName[] = "KX";
inline constexpr char kMainIniName[] = "main.ini";
/// Shown once at start when main.ini is there but cannot be used (IniFile::problem() is not
/// empty: a folder, FIFO or device, or too large); the program then runs on its defaults.
inline constexpr char kMainIniUnusableMessage[] = "message_text_36";
/// When set and not empty, the data folder itself (instead of DocumentsFolder()/KX).
inline constexpr char kDataFolderVariable[] = "ORVANE_DATA_DIR";

/// The XDG documents folder (~/Documents unless the user dirs say otherwise).
std::filesystem::path DocumentsFolder();
/// $ORVANE_DATA_DIR, else DocumentsFolder()/KX; created when missing.
std::filesystem::path DataFolder();
/// DataFolder()/main.ini (the file itself is created by its first write).
std::filesystem::path MainIniPath();
/// The folder of the running executable.
std::filesystem::path ExecutableFolder();

}  // namespace orvane::platform
