// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// ProfileStore: the profile folders, index files and lists of the three devices, and the
// load and save of profiles into and out of the device models.
//
// Layout: <data folder>/kb, /ms, /mp, each with its index file ("kbProfile.ini", ...) and a
// file per profile, named as the profile plus ".pro" (keys) or ".led" (lighting).
//
// One lock serialises every load, save, copy and list change, from whichever thread
// (window, presence monitors, watchers) calls, and — through a FolderLock on the data
// folder — from whichever process (the program and orvanectl share the folder). The lock is
// recursive so that an operation can hold it across the store calls it makes. Reports are
// never sent while it is held, and the store takes a model's lock only inside its own, so a
// presence monitor that holds a connection lock may save through the store.
//
// Index files are read as hostile (see profile_index.h): a damaged one is never taken for a
// first run; its lists are rebuilt and a copy of it kept beside it. Every failed write is
// reported: the write returns false and lastWriteProblem() says why.

#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/folder_lock.h"
#include "platform/ini_file.h"
#include "profiles/profile_bodies.h"
#include "profiles/profile_file.h"
#include "profiles/profile_index.h"
#include "profiles/profile_lists.h"

namespace orvane::profiles {

inline constexpr std::string_view kFirstProfileName = "New Profile 1";

/// The data folder: $ORVANE_DATA_DIR when set (tests, scripts), else "KX" in the documents
/// folder.
std::filesystem::path ProfileDataFolder();
/// Where the shipped default files are looked for: the executable's folder, then the
/// install prefix's data folder (<prefix>/share/orvane beside <prefix>/bin).
std::vector<std::filesystem::path> DefaultProfileFolders();

/// A list as the page shows it: the names in order and the selected entry (-1 for none).
struct ProfileList {
    std::vector<std::string> names;
    int selection = -1;
    int count() const { return static_cast<int>(names.size()); }
    bool hasSelection() const { return selection >= 0 && selection < count(); }
    /// The earlier entry with the same name (without regard to case) as entry i, or -1. A
    /// hand-edited index can name one file twice; the later entry is then read-only.
    int earlierWithName(int i) const;
    bool readOnly(int i) const { return earlierWithName(i) >= 0; }
};

/// Held around a store operation: the store's lock in this process and the data folder's
/// lock between processes (taken by the outermost holder only), shared with the macro store.
using StoreLock = platform::SharedFolderLock::Hold;

class ProfileStore {
public:
    /// folderLock: the data folder's lock when another store of this process already holds
    /// one (there is one per folder in a process); a new one when none is given.
    ProfileStore(std::filesystem::path dataFolder, std::vector<std::filesystem::path> defaultFolders,
                 DeviceModels models, std::shared_ptr<platform::SharedFolderLock> folderLock = nullptr);

    StoreLock lock() const { return folderLock_->hold(); }
    /// The data folder's lock, for the other stores of the folder (the macro store).
    const std::shared_ptr<platform::SharedFolderLock>& folderLock() const { return folderLock_; }
    const DeviceModels& models() const { return models_; }
    const std::filesystem::path& dataFolder() const { return dataFolder_; }

    // ---- paths ----
    std::filesystem::path deviceFolder(ListId id) const;
    std::filesystem::path indexPath(ListId id) const;
    /// The file of the profile, or nullopt when the name cannot name a file.
    std::optional<std::filesystem::path> profilePath(ListId id, std::string_view name) const;
    /// The default file for add and reset (by the device's variant flag) or for first-run
    /// creation (the keyboard always the RGB model's): the first default folder holding it.
    std::filesystem::path defaultPath(ListId id, bool firstRun = false) const;

    // ---- the index (each call reads the file once) ----
    /// The list as its index records it now (one read).
    IndexedList readIndex(ListId id) const;
    /// The index's "count" when the list is valid, else 0.
    int indexCount(ListId id) const;
    int recordedSelection(ListId id) const;
    std::string indexName(ListId id, int position) const;
    LinkEntry link(ListId id, int position) const;
    /// Name (and a new, unlinked link flag when asked) at the position.
    bool writeEntry(ListId id, int position, std::string_view name, bool newLink);
    bool writeCount(ListId id, int count);
    bool writeSelection(ListId id, int position);
    bool writeLink(ListId id, int position, const LinkEntry& link);
    /// Any number of index changes in one read and one atomic write.
    bool editIndex(ListId id, const std::function<bool(platform::ini::Document&)>& change);
    /// The index written afresh from the document (after a damaged one was copied aside).
    bool replaceIndex(ListId id, const platform::ini::Document& doc);

    // ---- the lists ----
    ProfileList list(ListId id) const;
    void setList(ListId id, ProfileList list);
    /// Fills the device's lists from its index; on first run creates "New Profile 1" (or the
    /// first "New Profile n" whose file is not there: an existing file is never overwritten)
    /// from the default file. A damaged index is rebuilt and reported. When a default file
    /// is missing or malformed the message to show is returned and the device's remaining
    /// lists are left empty.
    struct InitResult {
        std::string_view message;  ///< empty when all lists were filled without a remark
        ListId failed{};           ///< the list the message is about
        /// Lines for the tool's output and the log: what was rebuilt, refused, removed.
        std::vector<std::string> notes;
    };
    InitResult initProfileLists(DeviceKind kind);
    /// Re-reads the list's names from its index when another process changed them. true
    /// when the list in memory was replaced (its selection is then cleared).
    bool refreshList(ListId id);

    // ---- load and save ----
    /// Reads the file of the profile at that index position into the models. A missing or
    /// malformed file leaves the models as they were. A short file is loaded (the rest of
    /// the body zero) and noted in the log and in lastReadNote().
    ReadResult loadProfile(ListId id, int position);
    /// Writes the models' current settings into the file of the profile the list shows
    /// (the one "select" names while the list shows none). saveSelectedLighting (the save after
    /// each lighting edit) leaves a file another program changed since this store loaded or saved
    /// it as it is ("message_profile_changed_elsewhere"): writing the older state would undo it.
    /// false when nothing was written (no such profile, a name that cannot be a file, a
    /// read-only duplicate, a write failure); lastWriteProblem() says which.
    bool saveSelected(ListId id);
    bool saveSelectedLighting(DeviceKind kind);
    bool saveSelectedKeys(DeviceKind kind);

    /// Reads a profile file (or a default, or an imported file) with the list's body size.
    ProfileBody readBody(ListId id, const std::filesystem::path& path) const;
    bool writeBody(ListId id, const std::filesystem::path& path, std::span<const uint8_t> body) const;
    /// An export: into a regular file or a new one in an existing folder, nothing else.
    platform::WriteOutcome writeBodyOutside(ListId id, const std::filesystem::path& path,
                                            std::span<const uint8_t> body) const;

    /// Why the last failed write of this store failed ("the folder is read-only", "the data
    /// folder is in use by another program", ...); empty when none failed yet.
    std::string lastWriteProblem() const;
    /// The message the user is shown for the last failed write: "message_text_32" (folder
    /// held by another program), "message_text_33" (a read-only repeated name),
    /// "message_text_21" (any other failure); empty when there was nothing to save into.
    std::string_view lastWriteMessage() const;
    /// What the last load said beyond its result (a short file); empty when nothing.
    std::string lastReadNote() const;

private:
    platform::IniFile index(ListId id) const;
    /// false (with the problem recorded) while the data folder's lock is held elsewhere.
    bool mayWrite() const;
    void noteWriteProblem(std::string problem, std::string_view message = "message_text_21") const;
    std::vector<std::string> folderProfileNames(ListId id) const;
    InitResult fillList(ListId id, const platform::IniSnapshot& snapshot, bool rebuildFile,
                        std::vector<std::string>& notes);
    std::optional<std::string> createFirstProfile(ListId id, std::string_view& message);
    std::string keepDamagedCopy(ListId id) const;

    std::filesystem::path dataFolder_;
    std::vector<std::filesystem::path> defaultFolders_;
    DeviceModels models_;
    std::shared_ptr<platform::SharedFolderLock> folderLock_;
    mutable std::string writeProblem_;
    mutable std::string_view writeMessage_;
    std::string readNote_;
    std::array<ProfileList, kLists.size()> lists_;
    /// Per list: the profile file as this store last read or wrote it (its path and a hash
    /// of its bytes); empty before the first load or save.
    struct KnownFile {
        std::filesystem::path path;
        size_t hash = 0;
    };
    mutable std::array<std::optional<KnownFile>, kLists.size()> known_;
    void rememberFile(ListId id, const std::filesystem::path& path) const;
    bool changedElsewhere(ListId id, const std::filesystem::path& path) const;
};

}  // namespace orvane::profiles
