// SPDX-License-Identifier: GPL-3.0-or-later
// Import and export at any position of a list: the file side, shared by the panels'
// operations and orvanectl.

#include "profiles/profile_names.h"
#include "profiles/profile_operations.h"

namespace orvane::profiles {

namespace fs = std::filesystem;

std::string_view ReadFailureMessage(ReadResult r) {
    switch (r) {
    case ReadResult::Missing: return kFileMissingMessage;
    case ReadResult::BadMagic: return kBadMagicMessage;
    case ReadResult::Read: break;
    }
    return {};
}

std::string_view FileCopyResult::message() const { return refused.empty() ? ReadFailureMessage(read) : refused; }

FileCopyResult ImportIntoProfile(ProfileStore& store, ListId id, int position, const fs::path& source) {
    auto guard = store.lock();
    const auto list = store.list(id);
    if (position < 0 || position >= list.count()) return {};
    FileCopyResult out;
    const std::string& name = list.names[size_t(position)];
    if (list.readOnly(position)) {
        out.refused = kReadOnlyDuplicateMessage;
        out.detail = "\"" + name + "\" repeats the name of profile " + std::to_string(list.earlierWithName(position)) +
                     " and shares its file: read-only";
        return out;
    }
    const auto path = store.profilePath(id, name);
    if (!path) {
        out.refused = kInvalidNameMessage;
        out.detail = "the name \"" + name + "\" " + ProfileNameProblem(name);
        return out;
    }
    const auto body = store.readBody(id, source);
    out.read = body.result;
    if (!body.ok()) {
        if (body.notRegular) out.detail = source.string() + " is not a regular file";
        return out;
    }
    out.detail = body.shortNote();
    out.written = store.writeBody(id, *path, body.bytes);
    if (!out.written) out.detail = store.lastWriteProblem();
    return out;
}

FileCopyResult ExportProfileFile(ProfileStore& store, ListId id, int position, const fs::path& target) {
    auto guard = store.lock();
    const auto list = store.list(id);
    if (position < 0 || position >= list.count()) return {};
    FileCopyResult out;
    const std::string& name = list.names[size_t(position)];
    const auto path = store.profilePath(id, name);
    if (!path) {
        out.refused = kInvalidNameMessage;
        out.detail = "the name \"" + name + "\" " + ProfileNameProblem(name);
        return out;
    }
    const auto body = store.readBody(id, *path);
    out.read = body.result;
    if (!body.ok()) return out;
    const auto outcome = store.writeBodyOutside(id, target, body.bytes);
    out.written = outcome.ok();
    out.detail = out.written ? body.shortNote() : outcome.text();
    // Not a place to export to at all, as opposed to a folder that refused the write.
    if (outcome.problem == platform::WriteProblem::NotRegular || outcome.problem == platform::WriteProblem::NoFolder)
        out.refused = kExportTargetMessage;
    return out;
}

}  // namespace orvane::profiles
