#pragma once
// IniSnapshot: one reading of an INI file for many look-ups (a profile index's link entries
// read on every watcher pass), with IniFile's reading rules: sections and keys without regard
// to case, blanks trimmed, one pair of quotes removed, values cut to 259 characters, "0" as
// the default. The file is read once; a file replaced atomically is seen whole or not at all.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ini_text.h"

namespace orvane::platform {

class IniSnapshot {
public:
    /// A missing or unreadable file reads as empty (every look-up gives its default).
    static IniSnapshot Load(const std::filesystem::path& path);

    std::optional<std::string> find(std::string_view section, std::string_view key) const;
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view defaultValue = "0") const;

private:
    ini::Document doc_;
};

}  // namespace orvane::platform
