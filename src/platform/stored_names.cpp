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

bool IsValidStoredName(std::string_view name, size_t extensionBytes) {
    if (name.empty() || name == "." || name == "..") return false;
    if (name.size() > kMaxIndexValue || name.size() + extensionBytes + kTemporarySuffixBytes > kMaxFileNameBytes)
        return false;
    if (ChangedByIndex(name)) return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return c == '/' || c == '\\' || u < 0x20 || u == 0x7F;
    });
}

bool SameName(std::string_view a, std::string_view b) { return ini::EqualNoCase(a, b); }

bool ContainsName(std::span<const std::string> names, std::string_view name) {
    return std::any_of(names.begin(), names.end(), [&](const std::string& n) { return SameName(n, name); });
}

}  // namespace orvane::platform
