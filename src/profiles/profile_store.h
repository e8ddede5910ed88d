#pragma once
// ProfileStore: the profile folders, index files and lists of the three devices, and the
// load and save of profiles into and out of the device models.
//
// Layout: <data folder>/kb, /ms, /mp, each with its index file ("kbProfile.ini", ...) and a
// file per profile, named as the profile plus ".pro" (keys) or ".led" (lighting).
//
// One lock serialises every load, save, copy and list change, from whichever thread
// (window, presence monitors, watchers) calls. The lock is recursive so that an operation
// can hold it across the store calls it makes. Reports are never sent while it is held, and
// the store takes a model's lock only inside its own, so a presence monitor that holds a
// connection lock may save through the store.

#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ini_file.h"
#include "profiles/profile_bodies.h"
#include "profiles/profile_file.h"
#include "profiles/profile_lists.h"

namespace orvane::profiles {

/// More profiles than this in one list are not read from an index (a damaged "count").
inline constexpr int kMaxListEntries = 1000;
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
};

/// A profile's link to an application as the index records it (values as stored, so that
/// moving an entry keeps them byte for byte).
struct LinkEntry {
    std::string flag = "0";  ///< "1" linked; read as a decimal number
    std::string process;     ///< the linked application's path; " " after the link was removed
    bool linked() const;
};

class ProfileStore {
public:
    ProfileStore(std::filesystem::path dataFolder, std::vector<std::filesystem::path> defaultFolders,
                 DeviceModels models);

    std::unique_lock<std::recursive_mutex> lock() const { return std::unique_lock(mutex_); }
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

    // ---- the index ----
    int indexCount(ListId id) const;
    int recordedSelection(ListId id) const;
    std::string indexName(ListId id, int position) const;
    LinkEntry link(ListId id, int position) const;
    /// Name (and a new, unlinked link flag when asked) at the position, then "count".
    bool writeEntry(ListId id, int position, std::string_view name, bool newLink);
    bool writeCount(ListId id, int count);
    bool writeSelection(ListId id, int position);
    bool writeLink(ListId id, int position, const LinkEntry& link);

    // ---- the lists ----
    ProfileList list(ListId id) const;
    void setList(ListId id, ProfileList list);
    /// Fills the device's lists from its index; on first run (count 0) creates "New Profile 1"
    /// from the default file. When a default file is missing or malformed the message to
    /// show is returned and the device's remaining lists are left empty.
    struct InitResult {
        std::string_view message;  ///< empty when all lists were filled
        ListId failed{};           ///< the list whose default file could not be read
    };
    InitResult initProfileLists(DeviceKind kind);

    // ---- load and save ----
    /// Reads the file of the profile at that index position into the models. A missing or
    /// malformed file leaves the models as they were.
    ReadResult loadProfile(ListId id, int position);
    /// Writes the models' current settings into the file of the profile the list shows
    /// (the one "select" names while the list shows none).
    /// false when nothing was written (no such profile, a name that cannot be a file, a
    /// write failure).
    bool saveSelected(ListId id);
    bool saveSelectedLighting(DeviceKind kind);
    bool saveSelectedKeys(DeviceKind kind);

    /// Reads a profile file (or a default, or an imported file) with the list's body size.
    ProfileBody readBody(ListId id, const std::filesystem::path& path) const;
    bool writeBody(ListId id, const std::filesystem::path& path, std::span<const uint8_t> body) const;

private:
    platform::IniFile index(ListId id) const;

    std::filesystem::path dataFolder_;
    std::vector<std::filesystem::path> defaultFolders_;
    DeviceModels models_;
    mutable std::recursive_mutex mutex_;
    std::array<ProfileList, kLists.size()> lists_;
};

}  // namespace orvane::profiles
