// SPDX-License-Identifier: GPL-3.0-or-later
#include "macros/cursor_store.h"

#include <algorithm>
#include <system_error>

#include "device/log.h"
#include "macros/action_file.h"
#include "macros/macro_messages.h"
#include "platform/atomic_file.h"
#include "platform/ini_file.h"
#include "platform/ini_index.h"

namespace orvane::macros {

namespace fs = std::filesystem;

namespace {

CursorResult Failure(CursorStatus status) {
    CursorResult r;
    r.status = status;
    switch (status) {
    case CursorStatus::Done:
    case CursorStatus::Exists: break;
    case CursorStatus::NoSuchSequence:
    case CursorStatus::Missing: r.message = kCursorFileMissingMessage; break;
    case CursorStatus::TooLong: r.message = kSequenceTooLongMessage; break;
    case CursorStatus::WriteFailed: r.message = kCursorWriteFailedMessage; break;
    case CursorStatus::FolderBusy: r.message = kMacroFolderBusyMessage; break;
    }
    return r;
}


/// A whole-file copy, written atomically. Missing when the source cannot be read.
CursorStatus CopyFile(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    const auto size = fs::file_size(from, ec);
    if (ec || size > platform::IniIndex::kMaxFileBytes) return CursorStatus::Missing;
    const auto bytes = platform::ReadWholeFile(from);
    if (!bytes) return CursorStatus::Missing;
    return platform::WriteFileAtomically(to, *bytes) ? CursorStatus::Done : CursorStatus::WriteFailed;
}

}  // namespace

std::string DefaultSequenceName(int k) { return "name_" + std::to_string(k + 1); }

CursorIndex ReadCursorIndex(const MacroStore& store) {
    auto guard = store.readLock();
    const auto ini = platform::IniIndex::Load(store.indexPath(MacroSet::Mouse));
    CursorIndex index;
    index.declaredCount = ini.readInt(kCursorCountSection, kCountKeyName);
    const int count = std::clamp(index.declaredCount, 0, 0xFFFF);
    for (int i = 0; i < count; ++i) index.names.push_back(ini.readString(kCursorNameSection, std::to_string(i)));
    return index;
}

std::optional<fs::path> CursorSequencePath(const MacroStore& store, int k) {
    const auto index = ReadCursorIndex(store);
    if (k < 0 || size_t(k) >= index.names.size()) return std::nullopt;
    return store.namedPath(MacroSet::Mouse, index.names[size_t(k)], kCursorExtension);
}

std::optional<fs::path> DefaultSequencePath(const MacroStore& store, int k) {
    const std::string name = DefaultSequenceName(k) + std::string(kCursorExtension);
    for (const auto& folder : store.defaultFolders())
        if (std::error_code ec; fs::is_regular_file(folder / name, ec)) return folder / name;
    return std::nullopt;
}

CursorResult InitCursorSequences(MacroStore& store) {
    auto guard = store.lock();
    if (guard.busy()) return Failure(CursorStatus::FolderBusy);
    platform::IniFile index(store.indexPath(MacroSet::Mouse));
    if (index.readInt(kCursorCountSection, kCountKeyName) != 0) return {};
    CursorResult result;
    // The files first, then the names, then the count that makes them count.
    for (int k = 0; k < kCursorSequenceCount; ++k) {
        const auto target = *store.namedPath(MacroSet::Mouse, DefaultSequenceName(k), kCursorExtension);
        if (FileExists(target)) continue;
        const auto source = DefaultSequencePath(store, k);
        const auto copied = source ? CopyFile(*source, target) : CursorStatus::Missing;
        if (copied != CursorStatus::Done) {
            device::Log("cursor sequence not set up: " + target.string());
            if (result.ok()) result = Failure(copied);
        }
    }
    for (int k = 0; k < kCursorSequenceCount; ++k)
        if (!index.writeString(kCursorNameSection, std::to_string(k), DefaultSequenceName(k)))
            return Failure(CursorStatus::WriteFailed);
    if (!index.writeInt(kCursorCountSection, kCountKeyName, kCursorSequenceCount))
        return Failure(CursorStatus::WriteFailed);
    return result;
}

std::vector<std::string> LoadCursorSequence(const MacroStore& store, int k) {
    auto guard = store.readLock();
    const auto path = CursorSequencePath(store, k);
    return path ? ReadActionFile(*path).lines : std::vector<std::string>{};
}

CursorResult SaveCursorSequence(MacroStore& store, int k, std::span<const std::string> lines) {
    auto guard = store.lock();
    if (guard.busy()) return Failure(CursorStatus::FolderBusy);
    const auto path = CursorSequencePath(store, k);
    if (!path) return Failure(CursorStatus::NoSuchSequence);
    return WriteActionFile(*path, lines) ? CursorResult{} : Failure(CursorStatus::WriteFailed);
}

CursorResult ImportCursorSequence(MacroStore& store, int k, const fs::path& from) {
    auto guard = store.lock();
    if (guard.busy()) return Failure(CursorStatus::FolderBusy);
    const auto target = CursorSequencePath(store, k);
    if (!target) return Failure(CursorStatus::NoSuchSequence);
    const auto file = ReadActionFile(from);
    if (!file.exists) return Failure(CursorStatus::Missing);
    if (file.declaredCount > kSequenceActions) return Failure(CursorStatus::TooLong);
    // Written from what was read: the sequence file gets the lines and nothing else.
    return WriteActionFile(*target, file.lines) ? CursorResult{} : Failure(CursorStatus::WriteFailed);
}

CursorResult ExportCursorSequence(const MacroStore& store, int k, const fs::path& to, bool overwriteConfirmed) {
    auto guard = store.readLock();  // the folder is only read
    const auto source = CursorSequencePath(store, k);
    if (!source) return Failure(CursorStatus::NoSuchSequence);
    if (!FileExists(*source)) return Failure(CursorStatus::Missing);
    if (FileExists(to) && !overwriteConfirmed) return Failure(CursorStatus::Exists);
    return Failure(CopyFile(*source, to));
}

CursorResult ResetCursorSequence(MacroStore& store, int k) {
    auto guard = store.lock();
    if (guard.busy()) return Failure(CursorStatus::FolderBusy);
    const auto target = CursorSequencePath(store, k);
    if (!target) return Failure(CursorStatus::NoSuchSequence);
    const auto source = DefaultSequencePath(store, k);
    if (!source) return Failure(CursorStatus::Missing);
    return Failure(CopyFile(*source, *target));
}

CursorImageStored StoreCursorImage(MacroStore& store, std::span<const uint8_t> image) {
    CursorImageStored stored;
    const auto sequences = SequenceLinesFromImage(image);
    if (!sequences) {
        device::Log("cursor image from the mouse rejected: its header, offsets or counts point past its " +
                    std::to_string(image.size()) + " bytes");
        return stored;
    }
    stored.accepted = true;
    auto guard = store.lock();
    for (size_t i = 0; i < sequences->size(); ++i) {
        const auto path = CursorSequencePath(store, int(i));
        if (!path) {
            device::Log("cursor image entry " + std::to_string(i) + " has no sequence file in the index");
            continue;
        }
        if (WriteActionFile(*path, (*sequences)[i])) ++stored.sequences;
        else stored.writeFailed = true;
    }
    return stored;
}

}  // namespace orvane::macros
