#pragma once
// Profile names: a name is also a file name in the device folder, so it is checked before
// anything is written; and the names the operations make up ("New Profile n", "A copy").
// Names compare without regard to ASCII case.

#include <span>
#include <string>
#include <string_view>

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

/// The longest value the index keeps (longer values read back cut).
inline constexpr size_t kMaxIndexValue = 259;
/// The longest file name the file system holds, in bytes (the extension included).
inline constexpr size_t kMaxFileNameBytes = 255;
inline constexpr size_t kExtensionBytes = 4;  // ".pro" / ".led"
/// An atomic write goes through a temporary named after the file plus ".XXXXXX", which has
/// to fit the file system's limit too.
inline constexpr size_t kTemporarySuffixBytes = 7;

/// True when the name followed by an extension of that many bytes can name a file inside a
/// device folder (profiles, macros, cursor sequences) and survives an index unchanged.
bool IsValidStoredName(std::string_view name, size_t extensionBytes = kExtensionBytes);
/// True when the name can name a profile file and survives the index unchanged.
inline bool IsValidProfileName(std::string_view name) { return IsValidStoredName(name, kExtensionBytes); }

bool SameName(std::string_view a, std::string_view b);
bool ContainsName(std::span<const std::string> names, std::string_view name);

/// "New Profile n" with the smallest n >= 1 not in the list.
std::string NextNewProfileName(std::span<const std::string> names);
/// "S copy", then "S copy copy", ... until the name is not in the list.
std::string CopyName(std::span<const std::string> names, std::string_view source);

}  // namespace orvane::profiles
