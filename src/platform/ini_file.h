// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// IniFile: the private-profile INI format that main.ini, the profile index files and the
// machine settings use. Behaves like the classic Windows functions so that files written by
// either side read the same:
//  - sections and keys match without regard to ASCII case; surrounding blanks are ignored;
//  - every read has a default ("0" unless the caller gives another) for a missing file,
//    section or key;
//  - a value read is cut to 259 characters (the 260-character buffers of the callers);
//    one pair of enclosing quotes is removed;
//  - a write replaces the key's line in place, keeps every other line (and any byte-order
//    mark) as it was, appends a missing key at the end of its section and a missing section
//    at the end of the file;
//  - the file (and its folder) is created by the first write.
// Unlike the classic functions, every write is atomic (a temporary file renamed over the
// old one) and texts with line breaks, or keys and sections that would change the file's
// structure, are refused instead of corrupting the file. The file is read as hostile: only
// a regular file of at most kMaxSettingsFileBytes is read (anything else reads as empty and
// is never written over), and read() parses it once for any number of look-ups. All
// operations of all IniFile objects in the process are serialised, so read-modify-write
// never loses another thread's update (another process's needs a FolderLock around it).

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ini_text.h"
#include "platform/regular_file.h"

namespace orvane::platform {

/// A file parsed once: look-ups without reading it again.
struct IniSnapshot {
    static constexpr size_t kMaxValueLength = 259;

    FileStatus status = FileStatus::Missing;
    ini::Document doc;

    /// Read, or Missing (a first write creates it). Look-ups in a file that is not usable
    /// find nothing.
    bool usable() const { return status == FileStatus::Read || status == FileStatus::Missing; }
    std::optional<std::string> find(std::string_view section, std::string_view key) const;
    std::string readString(std::string_view section, std::string_view key, std::string_view defaultValue = "0") const;
    int readInt(std::string_view section, std::string_view key, int defaultValue = 0) const;
};

class IniFile {
public:
    static constexpr size_t kMaxValueLength = IniSnapshot::kMaxValueLength;

    explicit IniFile(std::filesystem::path path);

    const std::filesystem::path& path() const { return path_; }

    /// The whole file, parsed once. A file that is not a regular one, or too large, reads as
    /// empty with its status saying why; of a too-large file `doc` holds the part that was
    /// read, for salvage.
    IniSnapshot read() const;
    /// The status of the file now, and a text for logs and messages when it is not usable.
    FileStatus status() const;
    std::string problem() const;

    /// The value, or nullopt when the file, section or key is missing.
    std::optional<std::string> find(std::string_view section, std::string_view key) const;
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view defaultValue = "0") const;
    /// Leading decimal number of the value (atoi rules: optional sign, digits; 0 when none);
    /// defaultValue when the key is missing.
    int readInt(std::string_view section, std::string_view key, int defaultValue = 0) const;

    /// false when the text is refused or the file cannot be written.
    bool writeString(std::string_view section, std::string_view key, std::string_view value);
    bool writeInt(std::string_view section, std::string_view key, int value);
    bool removeKey(std::string_view section, std::string_view key);
    bool removeSection(std::string_view section);
    /// One read, any number of changes, one atomic write (skipped when `change` returns
    /// false). false when the file is not usable, a change is refused or the write fails;
    /// `why` then says which.
    bool edit(const std::function<bool(ini::Document&)>& change, std::string* why = nullptr);

    /// Writes the document as the whole file, whatever the file held (a damaged file whose
    /// copy was kept). A target that is not a regular file is still refused.
    bool replace(const ini::Document& doc, std::string* why = nullptr);

    std::vector<std::string> sections() const;
    std::vector<std::string> keys(std::string_view section) const;

private:
    std::filesystem::path path_;
};

}  // namespace orvane::platform
