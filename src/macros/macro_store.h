// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// MacroStore: the macro sets of the keyboard and the mouse on disk. Each set has an index
// file in the device folder ("kbMacro.ini" in kb/, "msMacro.ini" in ms/) with [MACROCOUNT]
// count and [MACRONAME] 0 ... count-1, and one ".mac" file per macro named after it (see
// action_file.h). A macro's index is its position in the index; keys and buttons refer to
// macros by it.
//
// What the store guarantees:
//  - every file write is atomic, and a name is checked before anything is written;
//  - the index never names a macro without its file: files are written before the index
//    names them and removed only after the index stopped naming them;
//  - names are unique within a set without regard to ASCII case;
//  - the data folder's lock (shared with the profile store of the process, see
//    platform::SharedFolderLock) serialises every change of both sets and of the cursor
//    sequences (which share "msMacro.ini") between threads and between processes; a change
//    is refused while another process keeps the folder; no report is ever sent while it
//    is held. Reads of single files take the threads' part only (readLock).

#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "device/models.h"
#include "platform/folder_lock.h"

namespace orvane::macros {

enum class MacroSet : uint8_t { Keyboard, Mouse };

inline constexpr int kMaxMacros = 50;
inline constexpr std::string_view kMacroExtension = ".mac";
inline constexpr std::string_view kMacroCountSection = "MACROCOUNT";
inline constexpr std::string_view kMacroNameSection = "MACRONAME";
/// The cursor sequences' sections of "msMacro.ini" (cursor_store.h).
inline constexpr std::string_view kCursorCountSection = "CURSORCOUNT";
inline constexpr std::string_view kCursorNameSection = "CURSORNAME";
/// The key of both count sections.
inline constexpr std::string_view kCountKeyName = "count";

/// Whether a file is there; an error reads as "not there".
bool FileExists(const std::filesystem::path& path);

std::string_view IndexFileName(MacroSet set);
device::DeviceKind KindOf(MacroSet set);
/// "kb" / "ms" (tools and logs).
std::string_view SetTag(MacroSet set);

enum class StoreStatus : uint8_t {
    Done,
    InvalidName,     ///< the name cannot name a file (separators, "..", control characters, too long)
    DuplicateName,   ///< another macro has it, or a file of that name is already in the folder
    Full,            ///< 50 macros
    NoSuchMacro,     ///< the index changed under the caller
    TooManyActions,  ///< more than a file or an image record holds
    WriteFailed,     ///< a file could not be written; what was stored is unchanged
    FolderBusy,      ///< another process kept the data folder; nothing was changed
};

struct StoreResult {
    StoreStatus status = StoreStatus::Done;
    /// Language id of the message to show; empty when done.
    std::string_view message;
    /// AddMacro: the new macro's name and index.
    std::string name;
    int index = -1;
    bool ok() const { return status == StoreStatus::Done; }
};

/// The index as stored: the count and the names it gives (a missing name reads "0").
struct MacroIndex {
    int declaredCount = 0;
    std::vector<std::string> names;
    /// The count fits the image's 16-bit field.
    bool countFits() const { return declaredCount >= 0 && declaredCount <= 0xFFFF; }
};

class MacroStore {
public:
    /// dataFolder: the folder holding kb/ and ms/; defaultFolders: where the shipped default
    /// cursor sequences are looked for, in order; folderLock: the data folder's lock of this
    /// process (the profile store's), a new one when none is given.
    MacroStore(std::filesystem::path dataFolder, std::vector<std::filesystem::path> defaultFolders,
               std::shared_ptr<platform::SharedFolderLock> folderLock = nullptr);

    /// Held around every change and every read that must see several files of one moment
    /// (an upload's whole set); busy() while another process keeps the folder.
    platform::SharedFolderLock::Hold lock() const { return folderLock_->hold(); }
    /// Held around a read of one file: this process's threads only. Files are replaced whole,
    /// so the read sees one version, and the window never waits for another program.
    std::unique_lock<std::recursive_mutex> readLock() const { return std::unique_lock(folderLock_->mutex()); }
    const std::filesystem::path& dataFolder() const { return dataFolder_; }
    const std::vector<std::filesystem::path>& defaultFolders() const { return defaultFolders_; }

    std::filesystem::path deviceFolder(MacroSet set) const;
    std::filesystem::path indexPath(MacroSet set) const;
    /// The file of a name with that extension in the set's folder; nullopt when the name
    /// cannot name a file there (an index entry edited by hand is not followed outside).
    std::optional<std::filesystem::path> namedPath(MacroSet set, std::string_view name,
                                                   std::string_view extension = kMacroExtension) const;

    MacroIndex readIndex(MacroSet set) const;
    /// The names in index order.
    std::vector<std::string> ListMacros(MacroSet set) const;
    /// The macro's action lines (none when its file or count is missing).
    std::vector<std::string> LoadMacro(MacroSet set, std::string_view name) const;
    /// Writes the lines into the file of the macro the index names `name`.
    StoreResult SaveMacro(MacroSet set, std::string_view name, std::span<const std::string> lines);
    /// Appends "Macro_n" (n = count + 1, raised while the name or its file is taken) with an
    /// empty file. Full at 50 macros.
    StoreResult AddMacro(MacroSet set);
    /// Renames macro `index` and stores its lines under the new name. Refuses a name that
    /// another macro has (case ignored) or whose file is already in the folder.
    StoreResult RenameMacro(MacroSet set, int index, std::string_view newName, std::span<const std::string> lines);
    /// Removes macro `index`: the index is rewritten whole without it (the mouse's keeps its
    /// cursor sections), then the file goes. Key assignments are the caller's
    /// (RenumberMacroAssignments, macro_assignments.h), before this call.
    StoreResult DeleteMacro(MacroSet set, int index);

private:
    std::filesystem::path dataFolder_;
    std::vector<std::filesystem::path> defaultFolders_;
    std::shared_ptr<platform::SharedFolderLock> folderLock_;
};

/// StoreResult of a status, with its message.
StoreResult StoreFailure(StoreStatus status);

}  // namespace orvane::macros
