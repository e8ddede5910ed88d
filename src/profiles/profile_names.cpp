#include "profiles/profile_names.h"

#include <algorithm>

namespace orvane::profiles {

namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

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

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

bool ContainsName(std::span<const std::string> names, std::string_view name) {
    return std::any_of(names.begin(), names.end(), [&](const std::string& n) { return SameName(n, name); });
}

std::string NextNewProfileName(std::span<const std::string> names) {
    for (size_t n = 1;; ++n) {
        std::string name = "New Profile " + std::to_string(n);
        if (!ContainsName(names, name)) return name;
    }
}

std::string CopyName(std::span<const std::string> names, std::string_view source) {
    std::string name = std::string(source) + " copy";
    while (ContainsName(names, name)) name += " copy";
    return name;
}

}  // namespace orvane::profiles
