// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/stored_names.h"

#include <algorithm>

#include "platform/ini_file.h"
#include "platform/ini_text.h"

namespace orvane::platform {

static_assert(kMaxIndexValue == IniFile::kMaxValueLength);

namespace {

// The index trims blanks around a value and removes one pair of enclosing quotes, so a name
// starting or ending with either would read back as another name.
bool ChangedByIndex(std::string_view name) {
    const auto edge = [](char c) { return c == ' ' || c == '\t' || c == '"' || c == '\''; };
    return edge(name.front()) || edge(name.back());
}

}  // namespace

std::string StoredNameProblem(std::string_view name, size_t extensionBytes) {
    if (name.empty()) return "is empty";
    if (name == "." || name == "..") return "is \".\" or \"..\"";
    if (name.size() > kMaxIndexValue || name.size() + extensionBytes > kMaxFileNameBytes)
        return "is longer than " + std::to_string(std::min(kMaxIndexValue, kMaxFileNameBytes - extensionBytes)) + " bytes";
    if (std::any_of(name.begin(), name.end(), [](char c) { return c == '/' || c == '\\'; }))
        return "contains a path separator (/ or \\)";
    if (std::any_of(name.begin(), name.end(), [](char c) {
            const auto u = static_cast<unsigned char>(c);
            return u < 0x20 || u == 0x7F;
        }))
        return "contains a control character";
    if (ChangedByIndex(name)) return "begins or ends with a blank or a quotation mark";
    return {};
}

bool IsValidStoredName(std::string_view name, size_t extensionBytes) {
    return StoredNameProblem(name, extensionBytes).empty();
}

bool SameName(std::string_view a, std::string_view b) { return ini::EqualNoCase(a, b); }

bool ContainsName(std::span<const std::string> names, std::string_view name) {
    return std::any_of(names.begin(), names.end(), [&](const std::string& n) { return SameName(n, name); });
}

}  // namespace orvane::platform
