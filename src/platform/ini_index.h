// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// IniIndex: a private-profile file read once and then asked many times (a macro file of
// thousands of actions, a profile index's link entries on every watcher pass). IniFile keeps
// a file's lines to change them in place (its IniSnapshot looks values up line by line,
// right for the few keys of an index); this one hashes the file's sections and keys once for
// look-ups only. It keeps IniFile's reading rules and its reader of regular files: sections
// and keys match without regard to ASCII case (the first of repeated sections or keys counts), values are trimmed, unquoted and cut
// to 259 characters, "0" is the default. The file is indexed once, so a look-up does not
// scan it; a file replaced atomically is seen whole or not at all.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace orvane::platform {

class IniIndex {
public:
    /// Files larger than this are not read (a damaged or hostile file); they read as missing.
    /// (Regular files only, as every reader here: platform::ReadWholeFile.)
    static constexpr size_t kMaxFileBytes = 16u << 20;

    /// An empty index (every lookup misses) when the file cannot be read.
    static IniIndex Load(const std::filesystem::path& path);
    static IniIndex FromText(std::string_view text);

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

}  // namespace orvane::platform
