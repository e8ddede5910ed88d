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

std::string ProfileNameProblem(std::string_view name) {
    if (name.empty()) return "is empty";
    if (name == "." || name == "..") return "is \".\" or \"..\"";
    if (name.size() > kMaxIndexValue || name.size() + kExtensionBytes > kMaxFileNameBytes)
        return "is longer than " + std::to_string(kMaxFileNameBytes - kExtensionBytes) + " bytes";
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

bool IsValidProfileName(std::string_view name) { return ProfileNameProblem(name).empty(); }

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
