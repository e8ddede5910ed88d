#pragma once
// IniSnapshot: one reading of an INI file for many look-ups (a profile index's link entries
// read on every watcher pass), with IniFile's reading rules: sections and keys without regard
// to ASCII case, the first of repeated sections or keys counting, blanks trimmed, one pair of
// quotes removed, values cut to 259 characters, "0" as the default. The file is read once
// and indexed, so a look-up does not scan it; a file replaced atomically is seen whole or not
// at all.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace orvane::platform {

class IniSnapshot {
public:
    /// A missing or unreadable file reads as empty (every look-up gives its default).
    static IniSnapshot Load(const std::filesystem::path& path);
    static IniSnapshot Parse(std::string_view bytes);

    std::optional<std::string> find(std::string_view section, std::string_view key) const;
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view defaultValue = "0") const;

private:
    /// lower-case section + '\n' + lower-case key → the raw value
    std::unordered_map<std::string, std::string> values_;
};

}  // namespace orvane::platform
