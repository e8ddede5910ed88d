#pragma once
// Where the program keeps the user's data: the data folder "KX" inside the XDG documents
// folder, holding "main.ini" and the device folders.

#include <filesystem>

namespace orvane::platform {

inline constexpr char kDataFolderName[] = "KX";
inline constexpr char kMainIniName[] = "main.ini";

/// The XDG documents folder (~/Documents unless the user dirs say otherwise).
std::filesystem::path DocumentsFolder();
/// DocumentsFolder()/KX, created when missing.
std::filesystem::path DataFolder();
/// DataFolder()/main.ini (the file itself is created by its first write).
std::filesystem::path MainIniPath();
/// The folder of the running executable.
std::filesystem::path ExecutableFolder();

}  // namespace orvane::platform
