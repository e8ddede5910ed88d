// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The line model behind IniFile: a file is a list of lines kept byte for byte, so that an
// update changes only the line it must. Pure text in, text out: no file access here.
// Every read walks the lines at most once per look-up (never once per line), so the time of
// a read grows with the file's length, whatever blank lines or repeated sections it holds.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::platform::ini {

struct Line {
    std::string text;    ///< without the line ending
    std::string ending;  ///< "\n", "\r\n" or "" for a last line without one
};

struct Document {
    /// Byte-order marks the file starts with, written back as they were (one is usual; an
    /// editor may have doubled it). The first line is read after them.
    std::string bom;
    std::vector<Line> lines;
    std::string newline = "\n";  ///< used for lines this program adds

    static Document Parse(std::string_view bytes);
    std::string serialise() const;

    /// Index of the header line of a section, or nullopt.
    std::optional<size_t> findSection(std::string_view section) const;
    /// One past the last line of the section whose header is at `header`.
    size_t sectionEnd(size_t header) const;
    /// Index of the key's line inside the section, or nullopt.
    std::optional<size_t> findKey(size_t header, std::string_view key) const;

    /// The value as read (see CookValue), or nullopt when the section or key is missing.
    std::optional<std::string> get(std::string_view section, std::string_view key, size_t maxChars) const;
    /// Replaces the key's line in place, or appends the key at the end of its section's
    /// content, or the section at the end of the document. false (and nothing changed) for
    /// a section, key or value that would change the file's structure.
    bool set(std::string_view section, std::string_view key, std::string_view value);
    /// Removes the key's line; true when it is gone (also when it was never there).
    bool removeKey(std::string_view section, std::string_view key);
    /// Removes the section's header and every line up to the next section.
    bool removeSection(std::string_view section);
    /// Removes every copy of each of these sections (a hand-edited file may repeat one), in
    /// one pass over the lines.
    void removeSectionsEverywhere(const std::vector<std::string_view>& sections);

    std::vector<std::string> sectionNames() const;
    /// The keys of a section in file order.
    std::vector<std::string> keys(std::string_view section) const;
};

bool EqualNoCase(std::string_view a, std::string_view b);
std::string_view Trim(std::string_view text);
/// The section name of a header line "[name]", or nullopt.
std::optional<std::string_view> SectionName(std::string_view line);
/// Key and raw value of a "key=value" line, or nullopt (comments, blanks, headers).
std::optional<std::pair<std::string_view, std::string_view>> KeyValue(std::string_view line);
/// A raw value as read: blanks trimmed, one pair of enclosing quotes removed, cut to
/// maxChars UTF-8 characters.
std::string CookValue(std::string_view raw, size_t maxChars);
/// atoi rules: optional sign, then digits; 0 when none; held to the int range.
int LeadingInt(std::string_view text);
/// The whole value is one decimal number (blanks around allowed), within the int range.
std::optional<int> StrictInt(std::string_view text);

bool ValidSection(std::string_view section);
bool ValidKey(std::string_view key);

}  // namespace orvane::platform::ini
