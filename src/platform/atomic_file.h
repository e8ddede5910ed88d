// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whole-file reads and atomic replacement: the new contents go to a temporary file beside
// the target, are flushed to disk and then renamed over it, so a reader (or a crash) sees
// either the old file or the new one, never a half-written one.
//
// The target may be a symbolic link: the regular file it leads to is replaced and the link
// kept. Anything else that is not a regular file (a folder, FIFO, device node, a dangling
// link) is refused. A replaced file keeps its mode; a new one gets 0666 less the umask, as
// any program's new files do.
//
// Temporary files are named ".<target>.orvane-tmp-<pid>-<random>" (hidden, and telling which
// process wrote them); RemoveStaleTemporaryFiles clears those a killed writer left.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace orvane::platform {

/// The file's bytes (a regular file of at most kMaxSettingsFileBytes), or nullopt.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);

struct WriteOptions {
    /// Create missing parent folders (the program's own data); a user-chosen target
    /// (export) gets none made.
    bool createFolders = true;
};

enum class WriteProblem {
    None,
    NotRegular,  ///< the target is a folder, FIFO, device node or a link to none of these
    NoFolder,    ///< the target's folder does not exist (and is not to be made)
    Failed,      ///< the system refused: see `error`
};

struct WriteOutcome {
    WriteProblem problem = WriteProblem::None;
    int error = 0;  ///< errno of a Failed write
    bool ok() const { return problem == WriteProblem::None; }
    /// "the folder is read-only", "the disk is full", "it is not a regular file", ...
    std::string text() const;
};

WriteOutcome WriteFile(const std::filesystem::path& path, std::string_view bytes, WriteOptions options = {});
/// A copy of a regular file, written as WriteFile writes (the source is streamed, so its
/// size does not matter).
WriteOutcome CopyRegularFile(const std::filesystem::path& from, const std::filesystem::path& to,
                             WriteOptions options = {});
/// WriteFile with the parent folders created; false on any failure (the old file is kept).
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

/// Whether a file name is exactly one of this program's temporary files
/// (".<name>.orvane-tmp-<pid>-<six letters or digits>"); no other name ever is.
bool IsTemporaryFileName(std::string_view name);
/// Removes the temporary files in `folder` (not its subfolders) whose writer is gone: its
/// process no longer runs, or its id now names another process (the writer's lock is free
/// and the file is older than ten minutes). Nothing else is touched. Returns how many.
size_t RemoveStaleTemporaryFiles(const std::filesystem::path& folder);

}  // namespace orvane::platform
