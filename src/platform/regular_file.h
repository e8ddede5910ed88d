// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading files that someone else may have put there. Only regular files are read (a
// symbolic link is followed to one); folders, FIFOs and device nodes are refused before
// they are opened, the open never blocks, and no more than a cap is read, so a hostile
// file can neither hang nor exhaust the program.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace orvane::platform {

/// Settings files (main.ini, the profile index files) are refused above this size.
inline constexpr size_t kMaxSettingsFileBytes = 4 * 1024 * 1024;

enum class FileStatus {
    Read,        ///< the bytes are there
    Missing,     ///< nothing at the path (or a folder on the way is missing)
    NotRegular,  ///< a folder, FIFO, socket or device node
    TooLarge,    ///< more than the cap; the first `cap` bytes are returned
    Unreadable,  ///< permission or an input/output error
};

struct FileContents {
    FileStatus status = FileStatus::Missing;
    std::string bytes;
    bool ok() const { return status == FileStatus::Read; }
};

/// How a file longer than the cap is taken.
enum class Overflow {
    Refuse,     ///< TooLarge, with the first maxBytes bytes (to salvage what can be read)
    TakePrefix  ///< Read, with the first maxBytes bytes (formats that read a fixed prefix)
};

FileContents ReadRegularFile(const std::filesystem::path& path, size_t maxBytes = kMaxSettingsFileBytes,
                             Overflow overflow = Overflow::Refuse);

/// What is wrong with a file that could not be read, for messages and logs:
/// "is not a regular file", "is larger than 4 MB", ... Empty for Read.
std::string FileProblemText(FileStatus status, size_t maxBytes = kMaxSettingsFileBytes);

}  // namespace orvane::platform
