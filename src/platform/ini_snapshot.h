#pragma once
// IniSnapshot: a private-profile file read once and then asked many times (a macro file of
// thousands of actions, a profile index's link entries on every watcher pass). IniFile
// parses the file again for every value, which is right for a few keys of an index. The
// snapshot keeps IniFile's reading rules: sections and keys match without regard to ASCII
// case (the first of repeated sections or keys counts), values are trimmed, unquoted and cut
// to 259 characters, "0" is the default. The file is indexed once, so a look-up does not
// scan it; a file replaced atomically is seen whole or not at all.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace orvane::platform {

class IniSnapshot {
public:
    /// Files larger than this are not read (a damaged or hostile file); they read as missing.
    static constexpr size_t kMaxFileBytes = 16u << 20;

    /// An empty snapshot (every lookup misses) when the file cannot be read.
    static IniSnapshot Load(const std::filesystem::path& path);
    static IniSnapshot FromText(std::string_view text);

    bool loaded() const { return loaded_; }
    std::optional<std::string> find(std::string_view section, std::string_view key) const;
    std::string readString(std::string_view section, std::string_view key, std::string_view defaultValue = "0") const;
    /// The leading decimal number of the value as IniFile::readInt reads it.
    int readInt(std::string_view section, std::string_view key, int defaultValue = 0) const;
    bool hasSection(std::string_view section) const;

private:
    using Section = std::unordered_map<std::string, std::string>;  // lower-case key -> raw value
    std::unordered_map<std::string, Section> sections_;             // lower-case name -> keys
    bool loaded_ = false;
};

/// atoi rules: blanks, an optional sign, digits; 0 when there are none; saturates at the
/// int range.
int LeadingInt(std::string_view text);

}  // namespace orvane::platform
