// SPDX-License-Identifier: GPL-3.0-or-later
#include "macros/macro_store.h"

#include <algorithm>
#include <system_error>

#include "device/log.h"
#include "macros/action_file.h"
#include "macros/macro_messages.h"
#include "platform/atomic_file.h"
#include "platform/ini_file.h"
#include "platform/ini_index.h"
#include "platform/ini_text.h"
#include "platform/stored_names.h"

namespace orvane::macros {

namespace fs = std::filesystem;
using platform::ContainsName;
using platform::SameName;

namespace {

/// The same file under two spellings (a case-insensitive file system) or one path.
bool SameFile(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    return a == b || fs::equivalent(a, b, ec);
}

void RemoveFile(const fs::path& path) {
    std::error_code ec;
    if (!fs::remove(path, ec) && ec) device::Log("macro file not removed: " + path.string());
}

std::string Section(std::string_view name) { return "[" + std::string(name) + "]\n"; }
std::string Entry(std::string_view key, std::string_view value) {
    return std::string(key) + "=" + std::string(value) + "\n";
}

}  // namespace

bool FileExists(const fs::path& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

std::string_view IndexFileName(MacroSet set) { return set == MacroSet::Keyboard ? "kbMacro.ini" : "msMacro.ini"; }

device::DeviceKind KindOf(MacroSet set) {
    return set == MacroSet::Keyboard ? device::DeviceKind::Keyboard : device::DeviceKind::Mouse;
}

std::string_view SetTag(MacroSet set) { return device::KindTag(KindOf(set)); }

StoreResult StoreFailure(StoreStatus status) {
    StoreResult r;
    r.status = status;
    switch (status) {
    case StoreStatus::Done: break;
    case StoreStatus::InvalidName: r.message = kInvalidMacroNameMessage; break;
    case StoreStatus::DuplicateName: r.message = kDuplicateMacroNameMessage; break;
    case StoreStatus::Full: r.message = kTooManyMacrosMessage; break;
    case StoreStatus::TooManyActions: r.message = kMacroTooLongMessage; break;
    case StoreStatus::NoSuchMacro:
    case StoreStatus::WriteFailed: r.message = kMacroWriteFailedMessage; break;
    case StoreStatus::FolderBusy: r.message = kMacroFolderBusyMessage; break;
    }
    return r;
}

MacroStore::MacroStore(fs::path dataFolder, std::vector<fs::path> defaultFolders,
                       std::shared_ptr<platform::SharedFolderLock> folderLock)
    : dataFolder_(std::move(dataFolder)), defaultFolders_(std::move(defaultFolders)),
      folderLock_(folderLock ? std::move(folderLock) : std::make_shared<platform::SharedFolderLock>(dataFolder_)) {}

fs::path MacroStore::deviceFolder(MacroSet set) const {
    // The device folders of the profile store: macros sit beside the profiles.
    return dataFolder_ / device::DataFolderOf(KindOf(set));
}

fs::path MacroStore::indexPath(MacroSet set) const { return deviceFolder(set) / IndexFileName(set); }

std::optional<fs::path> MacroStore::namedPath(MacroSet set, std::string_view name, std::string_view extension) const {
    if (!platform::IsValidStoredName(name, extension.size())) return std::nullopt;
    return deviceFolder(set) / (std::string(name) + std::string(extension));
}

MacroIndex MacroStore::readIndex(MacroSet set) const {
    auto guard = readLock();
    const auto ini = platform::IniIndex::Load(indexPath(set));
    MacroIndex index;
    index.declaredCount = ini.readInt(kMacroCountSection, kCountKeyName);
    const int count = std::clamp(index.declaredCount, 0, 0xFFFF);
    index.names.reserve(size_t(count));
    for (int i = 0; i < count; ++i) index.names.push_back(ini.readString(kMacroNameSection, std::to_string(i)));
    return index;
}

std::vector<std::string> MacroStore::ListMacros(MacroSet set) const { return readIndex(set).names; }

std::vector<std::string> MacroStore::LoadMacro(MacroSet set, std::string_view name) const {
    auto guard = readLock();
    const auto path = namedPath(set, name);
    if (!path) return {};
    return ReadActionFile(*path).lines;
}

StoreResult MacroStore::SaveMacro(MacroSet set, std::string_view name, std::span<const std::string> lines) {
    auto guard = lock();
    if (guard.busy()) return StoreFailure(StoreStatus::FolderBusy);
    const auto names = readIndex(set).names;
    const auto it = std::find_if(names.begin(), names.end(), [&](const std::string& n) { return SameName(n, name); });
    if (it == names.end()) return StoreFailure(StoreStatus::NoSuchMacro);
    if (lines.size() > size_t(kMaxFileActions)) return StoreFailure(StoreStatus::TooManyActions);
    const auto path = namedPath(set, *it);
    if (!path) return StoreFailure(StoreStatus::InvalidName);
    if (!WriteActionFile(*path, lines)) return StoreFailure(StoreStatus::WriteFailed);
    return {};
}

StoreResult MacroStore::AddMacro(MacroSet set) {
    auto guard = lock();
    if (guard.busy()) return StoreFailure(StoreStatus::FolderBusy);
    const auto names = readIndex(set).names;
    if (names.size() >= size_t(kMaxMacros)) return StoreFailure(StoreStatus::Full);
    // A file left in the folder without an index entry is neither reused nor replaced.
    std::string name;
    for (size_t n = names.size() + 1;; ++n) {
        name = "Macro_" + std::to_string(n);
        if (!ContainsName(names, name) && !FileExists(*namedPath(set, name))) break;
    }
    // The file first: the index never names a macro without one.
    if (!WriteActionFile(*namedPath(set, name), {})) return StoreFailure(StoreStatus::WriteFailed);
    const int position = static_cast<int>(names.size());
    const bool indexed = platform::IniFile(indexPath(set)).edit([&](platform::ini::Document& doc) {
        return doc.set(kMacroNameSection, std::to_string(position), name) &&
               doc.set(kMacroCountSection, kCountKeyName, std::to_string(position + 1));
    });
    if (!indexed) {
        RemoveFile(*namedPath(set, name));  // no entry names it: it would be left over
        return StoreFailure(StoreStatus::WriteFailed);
    }
    StoreResult r;
    r.name = name;
    r.index = position;
    return r;
}

StoreResult MacroStore::RenameMacro(MacroSet set, int index, std::string_view newName,
                                    std::span<const std::string> lines) {
    auto guard = lock();
    if (guard.busy()) return StoreFailure(StoreStatus::FolderBusy);
    auto names = readIndex(set).names;
    if (index < 0 || size_t(index) >= names.size()) return StoreFailure(StoreStatus::NoSuchMacro);
    if (lines.size() > size_t(kMaxFileActions)) return StoreFailure(StoreStatus::TooManyActions);
    const auto newPath = namedPath(set, newName);
    if (!newPath) return StoreFailure(StoreStatus::InvalidName);
    for (size_t j = 0; j < names.size(); ++j)
        if (j != size_t(index) && SameName(names[j], newName)) return StoreFailure(StoreStatus::DuplicateName);

    const std::string oldName = names[size_t(index)];
    const auto oldPath = namedPath(set, oldName);
    if (oldName == newName) return SaveMacro(set, oldName, lines);
    const bool sameFile = oldPath && SameFile(*oldPath, *newPath);
    if (FileExists(*newPath) && !sameFile) return StoreFailure(StoreStatus::DuplicateName);

    // New file, then the index entry, then the old file goes: at every step the index
    // names a file that exists.
    if (!WriteActionFile(*newPath, lines)) return StoreFailure(StoreStatus::WriteFailed);
    if (!platform::IniFile(indexPath(set)).writeString(kMacroNameSection, std::to_string(index), newName)) {
        if (!sameFile) RemoveFile(*newPath);
        return StoreFailure(StoreStatus::WriteFailed);
    }
    // Another entry spelling the old name (a hand-edited index) still needs the file.
    names.erase(names.begin() + index);
    if (oldPath && !sameFile && !ContainsName(names, oldName)) RemoveFile(*oldPath);
    return {};
}

StoreResult MacroStore::DeleteMacro(MacroSet set, int index) {
    auto guard = lock();
    if (guard.busy()) return StoreFailure(StoreStatus::FolderBusy);
    const auto path = indexPath(set);
    const auto ini = platform::IniIndex::Load(path);
    auto names = readIndex(set).names;
    if (index < 0 || size_t(index) >= names.size()) return StoreFailure(StoreStatus::NoSuchMacro);
    const std::string removed = names[size_t(index)];
    names.erase(names.begin() + index);

    // The index from scratch: the count, the mouse's cursor sections as they were, the names.
    std::string text = Section(kMacroCountSection) + Entry(kCountKeyName, std::to_string(names.size()));
    if (ini.hasSection(kCursorCountSection)) {
        const std::string count = ini.readString(kCursorCountSection, kCountKeyName);
        text += Section(kCursorCountSection) + Entry(kCountKeyName, count);
        text += Section(kCursorNameSection);
        const int cursors = std::clamp(platform::ini::LeadingInt(count), 0, 0xFF);
        for (int i = 0; i < cursors; ++i)
            if (const auto name = ini.find(kCursorNameSection, std::to_string(i)))
                text += Entry(std::to_string(i), *name);
    }
    text += Section(kMacroNameSection);
    for (size_t i = 0; i < names.size(); ++i) text += Entry(std::to_string(i), names[i]);
    if (!platform::WriteFileAtomically(path, text)) return StoreFailure(StoreStatus::WriteFailed);

    // Another entry spelling the same name (a hand-edited index) still needs the file.
    if (const auto file = namedPath(set, removed); file && !ContainsName(names, removed)) RemoveFile(*file);
    return {};
}

}  // namespace orvane::macros
