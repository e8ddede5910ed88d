// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ini_text.h"

#include <algorithm>
#include <charconv>
#include <climits>

namespace orvane::platform::ini {

namespace {
constexpr std::string_view kBom = "\xEF\xBB\xBF";

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != text.npos; }
}  // namespace

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::optional<std::string_view> SectionName(std::string_view line) {
    line = Trim(line);
    if (line.size() < 2 || line.front() != '[') return std::nullopt;
    const auto close = line.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return Trim(line.substr(1, close - 1));
}

std::optional<std::pair<std::string_view, std::string_view>> KeyValue(std::string_view line) {
    const auto trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '[') return std::nullopt;
    const auto eq = trimmed.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return std::pair{Trim(trimmed.substr(0, eq)), trimmed.substr(eq + 1)};
}

std::string CookValue(std::string_view raw, size_t maxChars) {
    auto value = Trim(raw);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    // Count characters, not bytes, so a cut never splits a UTF-8 sequence.
    size_t chars = 0;
    size_t i = 0;
    while (i < value.size()) {
        if (chars == maxChars) break;
        const auto lead = static_cast<unsigned char>(value[i]);
        size_t len = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3
                   : (lead >> 3) == 0x1E ? 4 : 1;
        i = std::min(value.size(), i + len);
        ++chars;
    }
    return std::string(value.substr(0, i));
}

int LeadingInt(std::string_view text) {
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    long long number = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        number = number * 10 + (c - '0');
        if (number > INT_MAX) { number = INT_MAX; break; }
    }
    return int(negative ? -number : number);
}

std::optional<int> StrictInt(std::string_view text) {
    text = Trim(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    int value = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

bool ValidSection(std::string_view section) {
    return !Trim(section).empty() && !HasLineBreak(section) && section.find(']') == section.npos;
}

bool ValidKey(std::string_view key) {
    const auto trimmed = Trim(key);
    return !trimmed.empty() && !HasLineBreak(key) && key.find('=') == key.npos &&
           trimmed.front() != '[' && trimmed.front() != ';';
}

Document Document::Parse(std::string_view bytes) {
    Document doc;
    while (bytes.starts_with(kBom)) {
        doc.bom += kBom;
        bytes.remove_prefix(kBom.size());
    }
    bool sawCrLf = false, sawLf = false;
    while (!bytes.empty()) {
        const auto nl = bytes.find('\n');
        Line line;
        if (nl == std::string_view::npos) {
            line.text = std::string(bytes);
            bytes = {};
        } else {
            line.text = std::string(bytes.substr(0, nl));
            line.ending = "\n";
            if (!line.text.empty() && line.text.back() == '\r') {
                line.text.pop_back();
                line.ending = "\r\n";
            }
            (line.ending == "\r\n" ? sawCrLf : sawLf) = true;
            bytes.remove_prefix(nl + 1);
        }
        doc.lines.push_back(std::move(line));
    }
    if (sawCrLf && !sawLf) doc.newline = "\r\n";
    return doc;
}

std::string Document::serialise() const {
    std::string out = bom;
    for (const auto& line : lines) out += line.text + line.ending;
    return out;
}

std::optional<size_t> Document::findSection(std::string_view section) const {
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto name = SectionName(lines[i].text);
        if (name && EqualNoCase(*name, Trim(section))) return i;
    }
    return std::nullopt;
}

size_t Document::sectionEnd(size_t header) const {
    size_t i = header + 1;
    while (i < lines.size() && !SectionName(lines[i].text)) ++i;
    return i;
}

std::optional<size_t> Document::findKey(size_t header, std::string_view key) const {
    const auto end = sectionEnd(header);
    for (size_t i = header + 1; i < end; ++i) {
        const auto kv = KeyValue(lines[i].text);
        if (kv && EqualNoCase(kv->first, Trim(key))) return i;
    }
    return std::nullopt;
}

std::optional<std::string> Document::get(std::string_view section, std::string_view key, size_t maxChars) const {
    const auto header = findSection(section);
    if (!header) return std::nullopt;
    const auto line = findKey(*header, key);
    if (!line) return std::nullopt;
    return CookValue(KeyValue(lines[*line].text)->second, maxChars);
}

namespace {

// The last line of a section that is not blank, so that a new key goes right after the
// section's content and blank separator lines stay below it.
size_t InsertPosition(const Document& doc, size_t header) {
    size_t pos = doc.sectionEnd(header);
    while (pos > header + 1 && Trim(doc.lines[pos - 1].text).empty()) --pos;
    return pos;
}

void EnsureEnding(Document& doc, size_t index) {
    if (index < doc.lines.size() && doc.lines[index].ending.empty()) doc.lines[index].ending = doc.newline;
}

}  // namespace

bool Document::set(std::string_view section, std::string_view key, std::string_view value) {
    if (!ValidSection(section) || !ValidKey(key) || HasLineBreak(value)) return false;
    std::string line = std::string(Trim(key)) + "=" + std::string(value);
    if (const auto header = findSection(section)) {
        if (const auto at = findKey(*header, key)) {
            lines[*at].text = std::move(line);
        } else {
            const auto pos = InsertPosition(*this, *header);
            EnsureEnding(*this, pos - 1);
            lines.insert(lines.begin() + long(pos), {std::move(line), newline});
        }
    } else {
        if (!lines.empty()) EnsureEnding(*this, lines.size() - 1);
        lines.push_back({"[" + std::string(Trim(section)) + "]", newline});
        lines.push_back({std::move(line), newline});
    }
    return true;
}

bool Document::removeKey(std::string_view section, std::string_view key) {
    const auto header = findSection(section);
    if (!header) return true;
    const auto at = findKey(*header, key);
    if (at) lines.erase(lines.begin() + long(*at));
    return true;
}

bool Document::removeSection(std::string_view section) {
    const auto header = findSection(section);
    if (header) lines.erase(lines.begin() + long(*header), lines.begin() + long(sectionEnd(*header)));
    return true;
}

void Document::removeSectionsEverywhere(const std::vector<std::string_view>& sections) {
    bool dropping = false;
    std::erase_if(lines, [&](const Line& line) {
        if (const auto name = SectionName(line.text))
            dropping = std::any_of(sections.begin(), sections.end(),
                                   [&](std::string_view s) { return EqualNoCase(*name, Trim(s)); });
        return dropping;
    });
}

std::vector<std::string> Document::sectionNames() const {
    std::vector<std::string> out;
    for (const auto& line : lines)
        if (const auto name = SectionName(line.text)) out.emplace_back(*name);
    return out;
}

std::vector<std::string> Document::keys(std::string_view section) const {
    std::vector<std::string> out;
    const auto header = findSection(section);
    if (!header) return out;
    const size_t end = sectionEnd(*header);  // once: per line it made a long section quadratic
    for (size_t i = *header + 1; i < end; ++i)
        if (const auto kv = KeyValue(lines[i].text)) out.emplace_back(kv->first);
    return out;
}

}  // namespace orvane::platform::ini
