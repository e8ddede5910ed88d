#pragma once
// Profile names: a name is also a file name in the device folder, so it is checked before
// anything is written (platform/stored_names.h); and the names the operations make up
// ("New Profile n", "A copy").

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

inline constexpr size_t kExtensionBytes = 4;  // ".pro" / ".led"

/// True when the name can name a profile file and survives the index unchanged.
inline bool IsValidProfileName(std::string_view name) { return platform::IsValidStoredName(name, kExtensionBytes); }

using platform::ContainsName;
using platform::SameName;

/// "New Profile n" with the smallest n >= 1 not in the list.
std::string NextNewProfileName(std::span<const std::string> names);
/// "S copy", then "S copy copy", ... until the name is not in the list.
std::string CopyName(std::span<const std::string> names, std::string_view source);

}  // namespace orvane::profiles
