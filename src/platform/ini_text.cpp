#include "platform/ini_text.h"

#include <algorithm>

namespace orvane::platform::ini {

namespace {
char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
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

Document Document::Parse(std::string_view bytes) {
    Document doc;
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
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
    std::string out;
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

}  // namespace orvane::platform::ini
