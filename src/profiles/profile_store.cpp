// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/profile_store.h"

#include <algorithm>
#include <cstdlib>

#include "device/log.h"
#include "platform/atomic_file.h"
#include "platform/paths.h"
#include "profiles/profile_names.h"

namespace orvane::profiles {

namespace fs = std::filesystem;

fs::path ProfileDataFolder() {
    if (const char* dir = std::getenv("ORVANE_DATA_DIR"); dir && *dir) return fs::path(dir);
    return platform::DataFolder();
}

std::vector<fs::path> DefaultProfileFolders() {
    const auto exe = platform::ExecutableFolder();
    return {exe, (exe / ".." / "share" / "orvane").lexically_normal()};
}

int ProfileList::earlierWithName(int i) const {
    if (i < 0 || i >= count()) return -1;
    for (int j = 0; j < i; ++j)
        if (SameName(names[size_t(j)], names[size_t(i)])) return j;
    return -1;
}

ProfileStore::ProfileStore(fs::path dataFolder, std::vector<fs::path> defaultFolders, DeviceModels models,
                           std::shared_ptr<platform::SharedFolderLock> folderLock)
    : dataFolder_(std::move(dataFolder)), defaultFolders_(std::move(defaultFolders)), models_(models),
      folderLock_(folderLock ? std::move(folderLock) : std::make_shared<platform::SharedFolderLock>(dataFolder_)) {}

bool ProfileStore::mayWrite() const {
    auto guard = lock();
    if (!guard.busy()) return true;
    noteWriteProblem("the data folder is in use by another program", kFolderBusyMessage);
    return false;
}

void ProfileStore::noteWriteProblem(std::string problem, std::string_view message) const {
    std::lock_guard guard(folderLock_->mutex());
    device::Log("profile store: " + problem);
    writeProblem_ = std::move(problem);
    writeMessage_ = message;
}

std::string_view ProfileStore::lastWriteMessage() const {
    std::lock_guard guard(folderLock_->mutex());
    return writeMessage_;
}

std::string ProfileStore::lastWriteProblem() const {
    std::lock_guard guard(folderLock_->mutex());
    return writeProblem_;
}

std::string ProfileStore::lastReadNote() const {
    std::lock_guard guard(folderLock_->mutex());
    return readNote_;
}

// ---- paths ----

fs::path ProfileStore::deviceFolder(ListId id) const { return dataFolder_ / ListSpecOf(id).folder; }

fs::path ProfileStore::indexPath(ListId id) const { return deviceFolder(id) / ListSpecOf(id).indexFile; }

std::optional<fs::path> ProfileStore::profilePath(ListId id, std::string_view name) const {
    if (!IsValidProfileName(name)) return std::nullopt;
    return deviceFolder(id) / (std::string(name) + std::string(ListSpecOf(id).extension));
}

fs::path ProfileStore::defaultPath(ListId id, bool firstRun) const {
    // The connected (or last connected) model's file; the first run always creates the
    // keyboard's profiles from the RGB keyboard's files.
    const DeviceKind kind = ListSpecOf(id).kind;
    device::DeviceModel model = device::FirstModelOf(kind);
    if (kind == DeviceKind::Keyboard && models_.keyboard && !firstRun) model = models_.keyboard->model;
    if (kind == DeviceKind::Mouse && models_.mouse) model = models_.mouse->model;
    const std::string name(DefaultFileOf(id, model));
    for (const auto& folder : defaultFolders_) {
        std::error_code ec;
        if (fs::is_regular_file(folder / name, ec)) return folder / name;
    }
    return defaultFolders_.empty() ? fs::path(name) : defaultFolders_.front() / name;
}

// ---- the index ----

platform::IniFile ProfileStore::index(ListId id) const { return platform::IniFile(indexPath(id)); }

IndexedList ProfileStore::readIndex(ListId id) const {
    const auto snapshot = index(id).read();
    if (!snapshot.usable()) return {};
    return ReadIndexedList(snapshot.doc, ListSpecOf(id));
}

int ProfileStore::indexCount(ListId id) const {
    const auto entries = readIndex(id);
    return entries.state == IndexedList::State::Valid ? int(entries.names.size()) : 0;
}

int ProfileStore::recordedSelection(ListId id) const {
    return index(id).readInt(ListSpecOf(id).sections->select, kSelectKey);
}

std::string ProfileStore::indexName(ListId id, int position) const {
    return index(id).readString(ListSpecOf(id).sections->names, std::to_string(position));
}

LinkEntry ProfileStore::link(ListId id, int position) const {
    const auto snapshot = index(id).read();
    const auto& s = *ListSpecOf(id).sections;
    const auto key = std::to_string(position);
    return {snapshot.readString(s.linked, key), snapshot.readString(s.process, key)};
}

bool ProfileStore::editIndex(ListId id, const std::function<bool(platform::ini::Document&)>& change) {
    auto guard = lock();
    if (!mayWrite()) return false;
    std::string why;
    if (index(id).edit(change, &why)) return true;
    noteWriteProblem(indexPath(id).filename().string() + ": " + why);
    return false;
}

bool ProfileStore::replaceIndex(ListId id, const platform::ini::Document& doc) {
    auto guard = lock();
    if (!mayWrite()) return false;
    std::string why;
    if (index(id).replace(doc, &why)) return true;
    noteWriteProblem(indexPath(id).filename().string() + ": " + why);
    return false;
}

bool ProfileStore::writeEntry(ListId id, int position, std::string_view name, bool newLink) {
    const auto& s = *ListSpecOf(id).sections;
    const auto key = std::to_string(position);
    return editIndex(id, [&](platform::ini::Document& doc) {
        return doc.set(s.names, key, name) && (!newLink || doc.set(s.linked, key, "0"));
    });
}

bool ProfileStore::writeCount(ListId id, int count) {
    return editIndex(id, [&](platform::ini::Document& doc) {
        return doc.set(ListSpecOf(id).sections->count, kCountKey, std::to_string(count));
    });
}

bool ProfileStore::writeSelection(ListId id, int position) {
    return editIndex(id, [&](platform::ini::Document& doc) {
        return doc.set(ListSpecOf(id).sections->select, kSelectKey, std::to_string(position));
    });
}

bool ProfileStore::writeLink(ListId id, int position, const LinkEntry& entry) {
    const auto& s = *ListSpecOf(id).sections;
    const auto key = std::to_string(position);
    return editIndex(id, [&](platform::ini::Document& doc) {
        return doc.set(s.linked, key, entry.flag) && doc.set(s.process, key, entry.process);
    });
}

// ---- the lists ----

ProfileList ProfileStore::list(ListId id) const {
    std::lock_guard guard(folderLock_->mutex());
    return lists_[static_cast<size_t>(id)];
}

void ProfileStore::setList(ListId id, ProfileList list) {
    std::lock_guard guard(folderLock_->mutex());
    lists_[static_cast<size_t>(id)] = std::move(list);
}

bool ProfileStore::refreshList(ListId id) {
    auto guard = lock();
    const auto entries = readIndex(id);
    if (entries.state != IndexedList::State::Valid) return false;  // nothing better to show
    auto current = list(id);
    if (current.names == entries.names) return false;
    setList(id, ProfileList{entries.names, -1});
    device::Log("profile list changed by another program: reloaded");
    return true;
}

// ---- load and save ----

ProfileBody ProfileStore::readBody(ListId id, const fs::path& path) const {
    return ReadProfileFile(path, ListSpecOf(id).bodySize);
}

bool ProfileStore::writeBody(ListId id, const fs::path& path, std::span<const uint8_t> body) const {
    if (!mayWrite()) return false;
    const auto outcome = WriteProfile(path, ListSpecOf(id).kind, body);
    if (!outcome.ok()) noteWriteProblem(path.filename().string() + ": " + outcome.text());
    // This store's own write of the file it knows is no change by another program.
    const auto& known = known_[static_cast<size_t>(id)];
    if (outcome.ok() && known && known->path == path) rememberFile(id, path);
    return outcome.ok();
}

platform::WriteOutcome ProfileStore::writeBodyOutside(ListId id, const fs::path& path,
                                                      std::span<const uint8_t> body) const {
    const auto outcome = WriteProfile(path, ListSpecOf(id).kind, body, {.createFolders = false});
    if (!outcome.ok()) noteWriteProblem(path.string() + ": " + outcome.text());
    return outcome;
}

namespace {
/// What stands where a profile file should be, for the message that says so.
std::string NotAFileKind(const fs::path& path) {
    std::error_code ec;
    const auto status = fs::status(path, ec);
    if (fs::is_directory(status)) return "a folder";
    if (fs::is_fifo(status)) return "a FIFO (named pipe)";
    if (fs::is_socket(status)) return "a socket";
    if (fs::is_block_file(status) || fs::is_character_file(status)) return "a device node";
    return "not a regular file";
}
}  // namespace

ReadResult ProfileStore::loadProfile(ListId id, int position) {
    auto guard = lock();
    readNote_.clear();
    // The names as the index records them; the list shown when the index cannot be read.
    auto entries = readIndex(id);
    ProfileList names{entries.state == IndexedList::State::Valid ? std::move(entries.names) : list(id).names, position};
    std::string name;
    if (names.hasSelection()) {
        const int earlier = names.earlierWithName(position);  // a repeated name means the earlier file
        name = names.names[size_t(earlier >= 0 ? earlier : position)];
    } else {
        name = indexName(id, position);
    }
    const auto path = profilePath(id, name);
    const auto body = path ? readBody(id, *path) : ProfileBody{};
    if (body.result == ReadResult::Missing) device::Log("配置文件丢失");
    if (body.notRegular) {
        readNote_ = "\"" + name + "\": " + path->string() + " is " + NotAFileKind(*path) + ", not a profile file";
        device::Log("profile " + readNote_);
    }
    if (body.result == ReadResult::BadMagic) device::Log("配置文件格式错误");
    if (body.isShort()) {
        readNote_ = "\"" + name + "\": " + body.shortNote();
        device::Log("profile " + readNote_);
    }
    if (body.ok()) {
        LoadBody(id, body.bytes, models_);
        rememberFile(id, *path);
    }
    return body.result;
}

namespace {
/// Set while saveSelectedLighting writes the models' lighting edits (the window's save after
/// each change): only those may hold an older state than the file. Saves of what a device
/// holds (a read-back) or of a user's operation on the profile write as asked.
thread_local bool tSavingLightingEdits = false;

std::optional<size_t> HashOfFile(const fs::path& path) {
    const auto bytes = platform::ReadWholeFile(path);
    if (!bytes) return std::nullopt;
    return std::hash<std::string>{}(*bytes);
}
}  // namespace

void ProfileStore::rememberFile(ListId id, const fs::path& path) const {
    auto& known = known_[static_cast<size_t>(id)];
    if (const auto hash = HashOfFile(path)) known = KnownFile{path, *hash};
    else known.reset();
}

bool ProfileStore::changedElsewhere(ListId id, const fs::path& path) const {
    const auto& known = known_[static_cast<size_t>(id)];
    if (!known || known->path != path) return false;  // not loaded by this store: nothing to undo
    const auto hash = HashOfFile(path);
    return hash && *hash != known->hash;  // a vanished file is written anew
}

bool ProfileStore::saveSelected(ListId id) {
    auto guard = lock();
    if (!models_.has(id)) return false;
    const auto entries = readIndex(id);
    // The profile the list shows: while a watcher shows an application's linked profile,
    // "select" names the user's own, and saving there would overwrite it with the linked one.
    const auto& shown = lists_[static_cast<size_t>(id)];
    const int selected = shown.hasSelection() ? shown.selection : recordedSelection(id);
    // A "select" outside the list names no profile; saving there would make up a file.
    if (entries.state != IndexedList::State::Valid || selected < 0 || selected >= int(entries.names.size())) {
        noteWriteProblem("no profile is selected", {});
        return false;
    }
    if (shown.hasSelection() && !SameName(shown.names[size_t(selected)], entries.names[size_t(selected)])) {
        noteWriteProblem("the list was changed by another program since it was shown", kListChangedMessage);
        return false;
    }
    const ProfileList named{entries.names, selected};
    if (named.readOnly(selected)) {
        noteWriteProblem("\"" + entries.names[size_t(selected)] + "\" repeats an earlier name in the list: read-only",
                         kReadOnlyDuplicateMessage);
        return false;
    }
    const auto path = profilePath(id, entries.names[size_t(selected)]);
    if (!path) {
        noteWriteProblem("\"" + entries.names[size_t(selected)] + "\" " + ProfileNameProblem(entries.names[size_t(selected)]));
        return false;
    }
    if (tSavingLightingEdits && changedElsewhere(id, *path)) {
        noteWriteProblem("\"" + entries.names[size_t(selected)] +
                             "\" was changed by another program since it was loaded; not overwritten with the older state",
                         kProfileChangedElsewhereMessage);
        return false;
    }
    const bool written = writeBody(id, *path, SaveBody(id, models_));
    if (written) rememberFile(id, *path);
    return written;
}

bool ProfileStore::saveSelectedLighting(DeviceKind kind) {
    const ListSpec* listSpec = FindList(kind, true);
    if (!listSpec) return false;
    tSavingLightingEdits = true;
    const bool saved = saveSelected(listSpec->id);
    tSavingLightingEdits = false;
    return saved;
}

bool ProfileStore::saveSelectedKeys(DeviceKind kind) {
    const ListSpec* listSpec = FindList(kind, false);
    return listSpec && saveSelected(listSpec->id);
}

}  // namespace orvane::profiles
