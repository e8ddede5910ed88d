// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Names that are also file names: a profile, macro or cursor sequence is stored as
// "<name><extension>" in a device folder and listed by name in an index file, so a name is
// checked before anything is written. Names compare without regard to ASCII case, as the
// index does.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace orvane::platform {

/// The longest value an index keeps (longer values read back cut).
inline constexpr size_t kMaxIndexValue = 259;
/// The longest file name the file system holds, in bytes (the extension included).
inline constexpr size_t kMaxFileNameBytes = 255;
/// True when the name followed by an extension of that many bytes can name a file inside a
/// device folder and survives an index unchanged (no path separators, "." or "..", control
/// characters, blanks or quotes at either end, nothing too long for the index or the file
/// system).
bool IsValidStoredName(std::string_view name, size_t extensionBytes);
/// The rule a name breaks, for messages ("contains a path separator (/ or \\)", ...); empty
/// for a valid name.
std::string StoredNameProblem(std::string_view name, size_t extensionBytes);

bool SameName(std::string_view a, std::string_view b);
bool ContainsName(std::span<const std::string> names, std::string_view name);

}  // namespace orvane::platform
