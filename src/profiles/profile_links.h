// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Linking profiles to applications: the link entries of a list's index (flag and path at
// the profile's position: "PROFILELIKEDENGEXE"/"DENGPROCESS" for the lighting lists,
// "PROFILELIKEEXE"/"PROCESS" for the key lists), the link and unlink operations behind the
// link check box and button, and the match the watchers make.
//
// An application is the absolute path of its executable, as /proc/PID/exe names it. Two
// paths are the same application when they are equal byte for byte, or once symbolic links
// are resolved lead to the same file (case counts, as it does for Linux file names).
// Removing a link writes flag "0" and path " ".

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foreground.h"
#include "profiles/profile_operations.h"
#include "profiles/profile_store.h"

namespace orvane::profiles {

/// The message when the check box is given an application another profile of the same
/// list is linked to.
inline constexpr std::string_view kAlreadyLinkedMessage = "message_text_13";
/// The path written when a link is removed.
inline constexpr std::string_view kNoApplication = " ";

/// True when the two paths name the same application: equal whole texts, or the same file
/// after resolving symbolic links; never equal ignoring case.
bool SameApplication(std::string_view a, std::string_view b);
/// The name field's text: the file name after the path's last "/".
std::string ApplicationDisplayName(std::string_view path);
/// The path to store for a chosen file: absolute paths only (nullopt otherwise), with
/// symbolic links resolved so that it reads as /proc/PID/exe will name the running program.
std::optional<std::string> ApplicationPathToStore(std::string_view chosen);

/// The link entries of positions 0 … count-1, read in one go under the store's lock.
std::vector<LinkEntry> ReadLinks(const ProfileStore& store, ListId id, int count);
/// The first (lowest) linked position whose application is `application`.
std::optional<int> FirstLinkedPosition(std::span<const LinkEntry> links, std::string_view application);
/// True when a linked path is the application a compositor names by `appId` alone: the
/// program of its desktop entry when there is one (`appIdProgram`, compared as paths),
/// else the executable's file name equal to the app_id.
bool AppIdNamesApplication(std::string_view linkedPath, std::string_view appId,
                           const std::optional<std::string>& appIdProgram);
/// The first linked position for what is known of the application in front: by its
/// executable when that is known, else by its app_id. An app_id that matches links to
/// different applications (two linked programs of the same name) is not certain and
/// matches none.
std::optional<int> LinkedPositionFor(std::span<const LinkEntry> links, const platform::ForegroundApplication& app);

/// Where a link request comes from: the check box refuses an application another profile
/// of the list is linked to and unlinks on a cancelled choice; the button does neither.
enum class LinkSource { CheckBox, Button };

struct LinkResult {
    /// A language text id for the message box ("message_text_13"), empty for none.
    std::string_view message;
    /// What the link controls show now (check box, name field, name area).
    LinkDisplay display;
    /// The index entries at the position were written.
    bool changed = false;
    /// They could not be written; the index is as it was.
    bool writeFailed = false;
};

/// Links the profile at `position` to the application the user chose; `chosen` is nullopt
/// when the file choice was cancelled.
///  - check box, cancelled: the link is removed;
///  - check box, an application another linked profile of the list has: "message_text_13",
///    and the link of `position` is removed;
///  - a path that is not absolute: check box: the link is removed; button: nothing changes;
///  - otherwise flag "1" and the path at `position`.
/// A position outside the list changes nothing.
LinkResult LinkProfile(ProfileStore& store, ListId id, int position, const std::optional<std::string>& chosen,
                       LinkSource source);
/// Writes flag "0" and path " " at `position`.
LinkResult UnlinkProfile(ProfileStore& store, ListId id, int position);
/// The link controls' state for the profile at `position`.
LinkDisplay LinkDisplayOf(const ProfileStore& store, ListId id, int position);

}  // namespace orvane::profiles
