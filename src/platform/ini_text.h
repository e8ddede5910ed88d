#pragma once
// The line model behind IniFile: a file is a list of lines kept byte for byte, so that an
// update changes only the line it must.

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

}  // namespace orvane::platform::ini
