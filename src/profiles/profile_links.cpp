// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/profile_links.h"

#include <filesystem>

#include "platform/ini_file.h"
#include "platform/ini_index.h"
#include "platform/ini_text.h"

namespace orvane::profiles {

namespace {

LinkResult Unlinked(ProfileStore& store, ListId id, int position, std::string_view message = {}) {
    LinkResult r;
    r.message = message;
    r.display = {false, std::string(kNoApplication)};
    r.changed = store.writeLink(id, position, {"0", std::string(kNoApplication)});
    r.writeFailed = !r.changed;
    return r;
}

bool InList(const ProfileStore& store, ListId id, int position) {
    return position >= 0 && position < store.list(id).count();
}

}  // namespace

bool SameApplication(std::string_view a, std::string_view b) {
    if (a == b) return true;
    if (!a.starts_with('/') || !b.starts_with('/')) return false;
    // Linux file names are case-sensitive: "/opt/gameterm" and "/opt/GameTerm" are two
    // programs. Only a link (an entry stored before links were resolved, a link changed
    // since) may make two different texts one file.
    std::error_code ea, eb;
    const auto ra = std::filesystem::canonical(std::filesystem::path(a), ea);
    if (ea) return false;
    const auto rb = std::filesystem::canonical(std::filesystem::path(b), eb);
    return !eb && ra == rb;
}

std::string ApplicationDisplayName(std::string_view path) {
    const auto slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::optional<std::string> ApplicationPathToStore(std::string_view chosen) {
    const std::filesystem::path path(chosen);
    if (chosen.empty() || !path.is_absolute()) return std::nullopt;
    std::error_code ec;
    const auto resolved = std::filesystem::canonical(path, ec);
    const std::string stored = ec ? path.lexically_normal().string() : resolved.string();
    // A path that could break the index line is not a path the index can keep.
    if (stored.find_first_of("\r\n") != std::string::npos) return std::nullopt;
    if (stored.size() > platform::IniFile::kMaxValueLength) return std::nullopt;
    return stored;
}

std::vector<LinkEntry> ReadLinks(const ProfileStore& store, ListId id, int count) {
    auto guard = store.lock();
    const auto index = platform::IniIndex::Load(store.indexPath(id));
    const auto& s = *ListSpecOf(id).sections;
    std::vector<LinkEntry> links;
    for (int i = 0; i < count; ++i) {
        const auto key = std::to_string(i);
        links.push_back({index.readString(s.linked, key), index.readString(s.process, key)});
    }
    return links;
}

std::optional<int> FirstLinkedPosition(std::span<const LinkEntry> links, std::string_view application) {
    for (size_t i = 0; i < links.size(); ++i)
        if (links[i].linked() && SameApplication(links[i].process, application)) return int(i);
    return std::nullopt;
}

bool AppIdNamesApplication(std::string_view linkedPath, std::string_view appId,
                           const std::optional<std::string>& appIdProgram) {
    if (appId.empty() || !linkedPath.starts_with('/')) return false;
    if (appIdProgram) return SameApplication(linkedPath, *appIdProgram);
    return ApplicationDisplayName(linkedPath) == appId;
}

std::optional<int> LinkedPositionFor(std::span<const LinkEntry> links, const platform::ForegroundApplication& app) {
    if (app.executable) return FirstLinkedPosition(links, *app.executable);
    if (!app.appId) return std::nullopt;
    std::optional<int> first;
    for (size_t i = 0; i < links.size(); ++i) {
        if (!links[i].linked() || !AppIdNamesApplication(links[i].process, *app.appId, app.appIdProgram)) continue;
        if (!first)
            first = int(i);
        else if (!SameApplication(links[size_t(*first)].process, links[i].process))
            return std::nullopt;  // "/opt/a/game" and "/usr/bin/game" for app_id "game": which one runs?
    }
    return first;
}

LinkResult LinkProfile(ProfileStore& store, ListId id, int position, const std::optional<std::string>& chosen,
                       LinkSource source) {
    auto guard = store.lock();
    if (!InList(store, id, position)) return {};
    const bool checkBox = source == LinkSource::CheckBox;
    const auto path = chosen ? ApplicationPathToStore(*chosen) : std::nullopt;
    if (!path) {
        // The button leaves a cancelled or unusable choice alone; the check box unticks.
        if (!checkBox) return {{}, LinkDisplayOf(store, id, position)};
        return Unlinked(store, id, position);
    }
    if (checkBox) {
        const auto links = ReadLinks(store, id, store.list(id).count());
        for (size_t i = 0; i < links.size(); ++i) {
            if (int(i) == position) continue;  // linking a profile again to its own application is no clash
            if (links[i].linked() && SameApplication(links[i].process, *path))
                return Unlinked(store, id, position, kAlreadyLinkedMessage);
        }
    }
    LinkResult r;
    // The path before the flag: a write failing in between never leaves a "1" that points
    // at an older path.
    platform::IniFile index(store.indexPath(id));
    r.changed = index.writeString(ListSpecOf(id).sections->process, std::to_string(position), *path) &&
                store.writeLink(id, position, {"1", *path});
    r.writeFailed = !r.changed;
    r.display = r.changed ? LinkDisplay{true, ApplicationDisplayName(*path)} : LinkDisplayOf(store, id, position);
    return r;
}

LinkResult UnlinkProfile(ProfileStore& store, ListId id, int position) {
    auto guard = store.lock();
    if (!InList(store, id, position)) return {};
    return Unlinked(store, id, position);
}

LinkDisplay LinkDisplayOf(const ProfileStore& store, ListId id, int position) {
    const LinkEntry entry = store.link(id, position);
    if (!entry.linked()) return {false, std::string(kNoApplication)};
    return {true, ApplicationDisplayName(entry.process)};
}

}  // namespace orvane::profiles
