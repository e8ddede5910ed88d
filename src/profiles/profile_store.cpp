#include "profiles/profile_store.h"

#include <algorithm>
#include <cstdlib>

#include "device/log.h"
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

ProfileStore::ProfileStore(fs::path dataFolder, std::vector<fs::path> defaultFolders, DeviceModels models)
    : dataFolder_(std::move(dataFolder)), defaultFolders_(std::move(defaultFolders)), models_(models) {}

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

platform::IniFile ProfileStore::index(ListId id) const { return platform::IniFile(indexPath(id)); }

int ProfileStore::indexCount(ListId id) const {
    const int count = index(id).readInt(ListSpecOf(id).sections->count, kCountKey);
    return std::clamp(count, 0, kMaxListEntries);
}

int ProfileStore::recordedSelection(ListId id) const {
    return index(id).readInt(ListSpecOf(id).sections->select, kSelectKey);
}

std::string ProfileStore::indexName(ListId id, int position) const {
    return index(id).readString(ListSpecOf(id).sections->names, std::to_string(position));
}

bool LinkEntry::linked() const {
    // The flag's leading decimal number is not 0 (overflow-safe: only its digits matter).
    size_t i = flag.find_first_not_of(" \t");
    if (i == std::string::npos) return false;
    if (flag[i] == '-' || flag[i] == '+') ++i;
    for (; i < flag.size() && flag[i] >= '0' && flag[i] <= '9'; ++i)
        if (flag[i] != '0') return true;
    return false;
}

LinkEntry ProfileStore::link(ListId id, int position) const {
    const auto ini = index(id);
    const auto& s = *ListSpecOf(id).sections;
    const auto key = std::to_string(position);
    return {ini.readString(s.linked, key), ini.readString(s.process, key)};
}

bool ProfileStore::writeEntry(ListId id, int position, std::string_view name, bool newLink) {
    auto ini = index(id);
    const auto& s = *ListSpecOf(id).sections;
    const auto key = std::to_string(position);
    bool ok = ini.writeString(s.names, key, name);
    if (newLink) ok = ini.writeInt(s.linked, key, 0) && ok;
    return ok;
}

bool ProfileStore::writeCount(ListId id, int count) {
    return index(id).writeInt(ListSpecOf(id).sections->count, kCountKey, count);
}

bool ProfileStore::writeSelection(ListId id, int position) {
    return index(id).writeInt(ListSpecOf(id).sections->select, kSelectKey, position);
}

bool ProfileStore::writeLink(ListId id, int position, const LinkEntry& entry) {
    auto ini = index(id);
    const auto& s = *ListSpecOf(id).sections;
    const auto key = std::to_string(position);
    const bool ok = ini.writeString(s.linked, key, entry.flag);
    return ini.writeString(s.process, key, entry.process) && ok;
}

ProfileList ProfileStore::list(ListId id) const {
    auto guard = lock();
    return lists_[static_cast<size_t>(id)];
}

void ProfileStore::setList(ListId id, ProfileList list) {
    auto guard = lock();
    lists_[static_cast<size_t>(id)] = std::move(list);
}

ProfileStore::InitResult ProfileStore::initProfileLists(DeviceKind kind) {
    auto guard = lock();
    for (const ListId id : ListsOf(kind)) {
        ProfileList list;
        const int count = indexCount(id);
        for (int i = 0; i < count; ++i) list.names.push_back(indexName(id, i));
        if (count == 0) {
            const auto body = readBody(id, defaultPath(id, /*firstRun=*/true));
            if (body.result == ReadResult::Missing) return {kFileMissingMessage, id};
            if (body.result == ReadResult::BadMagic) return {kBadMagicMessage, id};
            // The file first: the index never names a profile that has no file.
            const std::string name(kFirstProfileName);
            if (writeBody(id, *profilePath(id, name), body.bytes) && writeEntry(id, 0, name, true) &&
                writeCount(id, 1) && writeSelection(id, 0))
                list.names.push_back(name);
        }
        setList(id, std::move(list));
    }
    return {};
}

ProfileBody ProfileStore::readBody(ListId id, const fs::path& path) const {
    return ReadProfileFile(path, ListSpecOf(id).bodySize);
}

bool ProfileStore::writeBody(ListId id, const fs::path& path, std::span<const uint8_t> body) const {
    return WriteProfileFile(path, ListSpecOf(id).kind, body);
}

ReadResult ProfileStore::loadProfile(ListId id, int position) {
    auto guard = lock();
    const auto path = profilePath(id, indexName(id, position));
    const auto body = path ? readBody(id, *path) : ProfileBody{};
    if (body.result == ReadResult::Missing) device::Log("配置文件丢失");
    if (body.result == ReadResult::BadMagic) device::Log("配置文件格式错误");
    if (body.ok()) LoadBody(id, body.bytes, models_);
    return body.result;
}

bool ProfileStore::saveSelected(ListId id) {
    auto guard = lock();
    if (!models_.has(id)) return false;
    // The profile the list shows: while a watcher shows an application's linked profile,
    // "select" names the user's own, and saving there would overwrite it with the linked one.
    const auto& shown = lists_[static_cast<size_t>(id)];
    const int selected = shown.hasSelection() ? shown.selection : recordedSelection(id);
    // A "select" outside the list names no profile; saving there would make up a file.
    if (selected < 0 || selected >= indexCount(id)) return false;
    const auto path = profilePath(id, indexName(id, selected));
    if (!path) return false;
    return writeBody(id, *path, SaveBody(id, models_));
}

bool ProfileStore::saveSelectedLighting(DeviceKind kind) {
    const ListSpec* listSpec = FindList(kind, true);
    return listSpec && saveSelected(listSpec->id);
}

bool ProfileStore::saveSelectedKeys(DeviceKind kind) {
    const ListSpec* listSpec = FindList(kind, false);
    return listSpec && saveSelected(listSpec->id);
}

}  // namespace orvane::profiles
