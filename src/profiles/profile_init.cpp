// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up fill of a device's lists: the index read once and judged (profile_index.h),
// first-run creation that never overwrites a file, and the rebuild of a damaged index with
// a copy of it kept beside it.

#include <algorithm>
#include <utility>

#include "device/log.h"
#include "platform/atomic_file.h"
#include "platform/regular_file.h"
#include "profiles/profile_names.h"
#include "profiles/profile_store.h"

namespace orvane::profiles {

namespace fs = std::filesystem;
using platform::FileStatus;

namespace {

/// Damaged copies are copied up to this size; a larger file is moved aside instead.
constexpr uintmax_t kMaxCopiedIndex = 64ull * 1024 * 1024;

IndexedList WholeFileDamaged(FileStatus status) {
    return IndexedList::damaged(status == FileStatus::TooLarge ? platform::FileProblemText(status)
                                                  : "nothing in it can be read as a profile list");
}

std::string_view FailureMessage(const std::string& problem) {
    return problem.find("in use by another program") != std::string::npos ? kFolderBusyMessage : kWriteFailedMessage;
}

}  // namespace

std::vector<std::string> ProfileStore::folderProfileNames(ListId id) const {
    const auto extension = ListSpecOf(id).extension;
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(deviceFolder(id), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string file = it->path().filename().string();
        std::error_code typeError;
        if (!file.ends_with(extension) || !it->is_regular_file(typeError)) continue;
        std::string name = file.substr(0, file.size() - extension.size());
        if (IsValidProfileName(name)) names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string ProfileStore::keepDamagedCopy(ListId id) const {
    const fs::path original = indexPath(id);
    fs::path copy;
    for (int n = 1; n < 100; ++n) {
        copy = original;
        copy += n == 1 ? ".damaged" : ".damaged-" + std::to_string(n);
        std::error_code ec;
        if (!fs::exists(fs::symlink_status(copy, ec))) break;
    }
    std::error_code ec;
    if (fs::file_size(original, ec) > kMaxCopiedIndex && !ec) {
        fs::rename(original, copy, ec);
        return ec ? std::string() : copy.filename().string();
    }
    const auto outcome = platform::CopyRegularFile(original, copy);
    if (!outcome.ok()) {
        noteWriteProblem(copy.filename().string() + ": " + outcome.text());
        return {};
    }
    return copy.filename().string();
}

std::optional<std::string> ProfileStore::createFirstProfile(ListId id, std::string_view& message) {
    const auto body = readBody(id, defaultPath(id, /*firstRun=*/true));
    if (!body.ok()) {
        message = body.result == ReadResult::BadMagic ? kBadMagicMessage : kFileMissingMessage;
        return std::nullopt;
    }
    // A file already there (the user's, another run's) is never overwritten; one that holds
    // exactly what would be written (a first run stopped before its index) is taken over.
    const std::string made = ProfileFileBytes(ListSpecOf(id).kind, body.bytes);
    std::vector<std::string> taken;
    std::string name(kFirstProfileName);
    for (;;) {
        const auto path = *profilePath(id, name);
        std::error_code ec;
        if (!fs::exists(fs::symlink_status(path, ec))) break;
        if (platform::ReadRegularFile(path, made.size() + 1).bytes == made) return name;
        taken.push_back(name);
        name = NextNewProfileName(taken);
    }
    if (!writeBody(id, *profilePath(id, name), body.bytes)) {
        message = FailureMessage(lastWriteProblem());
        return std::nullopt;
    }
    return name;
}

ProfileStore::InitResult ProfileStore::initProfileLists(DeviceKind kind) {
    auto guard = lock();
    InitResult result;
    const auto lists = ListsOf(kind);
    const ListId first = lists.front();
    const std::string indexName = ListSpecOf(first).indexFile.data();

    // Temporary files a killed writer left (their writer is gone).
    const size_t stale = platform::RemoveStaleTemporaryFiles(deviceFolder(first)) +
                         platform::RemoveStaleTemporaryFiles(dataFolder_);
    if (stale) result.notes.push_back("removed " + std::to_string(stale) + " temporary file(s) a stopped write left");

    const auto snapshot = index(first).read();
    if (!snapshot.usable() && snapshot.status != FileStatus::TooLarge) {
        // A folder, FIFO or device where the index should be: shown from the files, not changed.
        for (const ListId id : lists) setList(id, ProfileList{folderProfileNames(id), -1});
        result.message = kIndexUnusableMessage;
        result.failed = first;
        result.notes.push_back(indexName + " " + platform::FileProblemText(snapshot.status) +
                               ": the lists are shown from the profile files and cannot be changed");
        return result;
    }
    // Nothing of any list in a file that is there: garbage, UTF-16, empty, too large.
    const bool wholeFile = snapshot.status == FileStatus::TooLarge ||
                           (snapshot.status == FileStatus::Read && !HasAnyListSection(snapshot.doc, indexName));
    // What can be read: without a last line that was cut off.
    platform::ini::Document readable = snapshot.doc;
    const auto cutSection = wholeFile ? std::nullopt : DropCutLastLine(readable);
    std::vector<IndexedList> entries;
    bool listMissing = false;
    for (const ListId id : lists) {
        const auto& listSpec = ListSpecOf(id);
        entries.push_back(wholeFile ? WholeFileDamaged(snapshot.status) : ReadIndexedList(readable, listSpec));
        auto& entry = entries.back();
        if (entry.state != IndexedList::State::Damaged && cutSection && ListHasSection(listSpec, *cutSection))
            entry = IndexedList::damaged("it ends in the middle of a line");
        // A list without entries in an index that holds lists, while its profile files are
        // there: the file was cut (or a write stopped), not a first run.
        if (snapshot.status == FileStatus::Read && !wholeFile && entry.state == IndexedList::State::FirstRun &&
            !folderProfileNames(id).empty()) {
            entry = IndexedList::damaged("a list is missing from it");
            listMissing = true;
        }
    }
    // A cut file may have lost the end of the list before the cut too (a link's path): every
    // list of it is rebuilt from what can be read.
    if (cutSection || listMissing)
        for (auto& entry : entries)
            if (entry.state != IndexedList::State::Damaged) entry = IndexedList::damaged("it was cut off");
    const bool damaged = std::any_of(entries.begin(), entries.end(),
                                     [](const IndexedList& e) { return e.state == IndexedList::State::Damaged; });
    if (damaged) {
        const auto copy = keepDamagedCopy(first);
        result.message = kIndexRebuiltMessage;
        result.failed = first;
        result.notes.push_back(indexName + " was damaged (" + entries.front().problem +
                               (entries.size() > 1 && entries.back().problem != entries.front().problem &&
                                        !entries.back().problem.empty()
                                    ? "; " + entries.back().problem
                                    : "") +
                               "): the lists were rebuilt from what could be read and the profile files present; " +
                               (copy.empty() ? "no copy of it could be kept" : "the damaged file was kept as " + copy));
        device::Log(result.notes.back());
    }

    // Every list rebuilt or made goes into one document, written by one atomic replace: a
    // stop at any moment leaves the old index or the whole new one. What could not be read
    // is dropped with the first rewrite of a whole damaged file.
    platform::ini::Document doc = wholeFile ? platform::ini::Document{} : readable;
    bool changed = false;
    // First profiles made, removed again when the index cannot name them.
    std::vector<std::pair<ListId, fs::path>> made;
    auto writeIndex = [&] {
        if (!changed || replaceIndex(first, doc)) return true;
        for (const auto& [id, path] : made) {
            std::error_code ec;
            fs::remove(path, ec);
        }
        return false;
    };
    for (size_t i = 0; i < lists.size(); ++i) {
        const ListId id = lists[i];
        auto& list = entries[i];
        if (list.state == IndexedList::State::Damaged) {
            list = SalvageList(readable, ListSpecOf(id), folderProfileNames(id));
            if (list.state == IndexedList::State::Valid) {
                WriteIndexedList(doc, ListSpecOf(id), list);
                changed = true;
            }
        }
        if (list.state == IndexedList::State::FirstRun) {
            std::string_view message;
            // The file first: the index never names a profile that has no file.
            if (const auto name = createFirstProfile(id, message)) {
                list = IndexedList{IndexedList::State::Valid, {*name}, {LinkEntry{}}, 0, {}};
                WriteIndexedList(doc, ListSpecOf(id), list);
                changed = true;
                made.emplace_back(id, *profilePath(id, *name));
            }
            if (!message.empty()) {
                // The lists before this one are still recorded.
                made.clear();
                writeIndex();
                result.message = message;
                result.failed = id;
                if (message == kWriteFailedMessage || message == kFolderBusyMessage)
                    result.notes.push_back("the first profile could not be made: " + lastWriteProblem());
                return result;
            }
        }
    }
    if (!writeIndex()) {
        const bool madeAny = !made.empty();
        result.message = FailureMessage(lastWriteProblem());
        result.failed = madeAny ? made.front().first : first;
        result.notes.push_back((madeAny ? "the first profile could not be made: " : "the rebuilt list could not be saved: ") +
                               lastWriteProblem());
        if (madeAny) return result;
    }
    for (size_t i = 0; i < lists.size(); ++i) setList(lists[i], ProfileList{std::move(entries[i].names), -1});
    return result;
}

}  // namespace orvane::profiles
