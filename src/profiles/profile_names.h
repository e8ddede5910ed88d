// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Profile names: a name is also a file name in the device folder, so it is checked before
// anything is written (platform/stored_names.h); and the names the operations make up
// ("New Profile n", "A copy").

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/stored_names.h"

namespace orvane::profiles {

/// Shown when a name cannot be a profile name (path separators, "." or "..", control
/// characters, blanks or quotes at either end, too long for the index or the file system).
inline constexpr std::string_view kInvalidNameMessage = "message_text_20";
inline constexpr std::string_view kFileMissingMessage = "message_text_8";
inline constexpr std::string_view kBadMagicMessage = "message_text_9";
inline constexpr std::string_view kLastProfileMessage = "message_text_11";
inline constexpr std::string_view kConfirmDeleteMessage = "message_text_12";
inline constexpr std::string_view kEmptyNameMessage = "message_text_14";
inline constexpr std::string_view kDuplicateNameMessage = "message_text_15";
/// A profile file or the index could not be written (read-only folder, full disk).
inline constexpr std::string_view kWriteFailedMessage = "message_text_21";
/// Once, after a damaged index was rebuilt (a copy of it kept beside it).
inline constexpr std::string_view kIndexRebuiltMessage = "message_text_30";
/// The index is a folder, FIFO or device node, or cannot be read: the list is shown from
/// the profile files and cannot be changed.
inline constexpr std::string_view kIndexUnusableMessage = "message_text_31";
/// Another program (orvanectl, a second copy) held the data folder past the wait.
inline constexpr std::string_view kFolderBusyMessage = "message_text_32";
/// The entry repeats an earlier entry's name and shares its file: it cannot be changed.
inline constexpr std::string_view kReadOnlyDuplicateMessage = "message_text_33";
/// Another program changed the list since it was shown; it was reloaded.
inline constexpr std::string_view kListChangedMessage = "message_text_34";
/// The selected profile's file was changed by another program (orvanectl) since this program
/// loaded or saved it: it is not overwritten with the older state.
inline constexpr std::string_view kProfileChangedElsewhereMessage = "message_profile_changed_elsewhere";
/// An export target that is not a regular file (or a link to one), or in a missing folder.
inline constexpr std::string_view kExportTargetMessage = "message_text_35";
/// A selected key profile's page was refused by the device: not recorded, select it again.
inline constexpr std::string_view kDeviceRefusedMessage = "message_key_page_refused";

inline constexpr size_t kExtensionBytes = 4;  // ".pro" / ".led"
using platform::kMaxFileNameBytes;
using platform::kMaxIndexValue;

/// True when the name can name a profile file and survives the index unchanged.
inline bool IsValidProfileName(std::string_view name) { return platform::IsValidStoredName(name, kExtensionBytes); }
/// The rule a name breaks, for messages: "contains a path separator (/ or \\)", ...;
/// empty for a valid name.
inline std::string ProfileNameProblem(std::string_view name) { return platform::StoredNameProblem(name, kExtensionBytes); }

using platform::ContainsName;
using platform::SameName;

/// "New Profile n" with the smallest n >= 1 not in the list.
std::string NextNewProfileName(std::span<const std::string> names);
/// The n of a name made by NextNewProfileName ("New Profile 12": "12"), for showing the
/// name in the user's language; nullopt for every other name.
std::optional<std::string> NewProfileNumber(std::string_view name);
/// "S copy", then "S copy copy", ... until the name is not in the list.
std::string CopyName(std::span<const std::string> names, std::string_view source);

}  // namespace orvane::profiles
