#include "platform/ini_file.h"

#include <mutex>

#include "platform/atomic_file.h"
#include "platform/ini_snapshot.h"
#include "platform/ini_text.h"

namespace orvane::platform {

namespace {

std::recursive_mutex& IniMutex() {
    static std::recursive_mutex mutex;
    return mutex;
}

ini::Document Load(const std::filesystem::path& path) {
    const auto bytes = ReadWholeFile(path);
    return bytes ? ini::Document::Parse(*bytes) : ini::Document{};
}

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != text.npos; }

bool ValidSection(std::string_view section) {
    return !ini::Trim(section).empty() && !HasLineBreak(section) &&
           section.find(']') == section.npos;
}

bool ValidKey(std::string_view key) {
    const auto trimmed = ini::Trim(key);
    return !trimmed.empty() && !HasLineBreak(key) && key.find('=') == key.npos &&
           trimmed.front() != '[' && trimmed.front() != ';';
}

// The last line of a section that is not blank, so that a new key goes right after the
// section's content and blank separator lines stay below it.
size_t InsertPosition(const ini::Document& doc, size_t header) {
    size_t pos = doc.sectionEnd(header);
    while (pos > header + 1 && ini::Trim(doc.lines[pos - 1].text).empty()) --pos;
    return pos;
}

void EnsureEnding(ini::Document& doc, size_t index) {
    if (index < doc.lines.size() && doc.lines[index].ending.empty())
        doc.lines[index].ending = doc.newline;
}

}  // namespace

IniFile::IniFile(std::filesystem::path path) : path_(std::move(path)) {}

std::optional<std::string> IniFile::find(std::string_view section, std::string_view key) const {
    std::lock_guard guard(IniMutex());
    const auto doc = Load(path_);
    const auto header = doc.findSection(section);
    if (!header) return std::nullopt;
    const auto line = doc.findKey(*header, key);
    if (!line) return std::nullopt;
    return ini::CookValue(ini::KeyValue(doc.lines[*line].text)->second, kMaxValueLength);
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
    auto value = find(section, key);
    return value ? std::move(*value) : ini::CookValue(defaultValue, kMaxValueLength);
}

int IniFile::readInt(std::string_view section, std::string_view key, int defaultValue) const {
    const auto value = find(section, key);
    return value ? LeadingInt(*value) : defaultValue;
}

bool IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
    if (!ValidSection(section) || !ValidKey(key) || HasLineBreak(value)) return false;
    std::lock_guard guard(IniMutex());
    auto doc = Load(path_);
    const std::string line = std::string(ini::Trim(key)) + "=" + std::string(value);
    if (const auto header = doc.findSection(section)) {
        if (const auto at = doc.findKey(*header, key)) {
            doc.lines[*at].text = line;
        } else {
            const auto pos = InsertPosition(doc, *header);
            EnsureEnding(doc, pos - 1);
            doc.lines.insert(doc.lines.begin() + long(pos), {line, doc.newline});
        }
    } else {
        if (!doc.lines.empty()) EnsureEnding(doc, doc.lines.size() - 1);
        doc.lines.push_back({"[" + std::string(ini::Trim(section)) + "]", doc.newline});
        doc.lines.push_back({line, doc.newline});
    }
    return WriteFileAtomically(path_, doc.serialise());
}

bool IniFile::writeInt(std::string_view section, std::string_view key, int value) {
    return writeString(section, key, std::to_string(value));
}

bool IniFile::removeKey(std::string_view section, std::string_view key) {
    std::lock_guard guard(IniMutex());
    auto doc = Load(path_);
    const auto header = doc.findSection(section);
    if (!header) return true;
    const auto at = doc.findKey(*header, key);
    if (!at) return true;
    doc.lines.erase(doc.lines.begin() + long(*at));
    return WriteFileAtomically(path_, doc.serialise());
}

bool IniFile::removeSection(std::string_view section) {
    std::lock_guard guard(IniMutex());
    auto doc = Load(path_);
    const auto header = doc.findSection(section);
    if (!header) return true;
    doc.lines.erase(doc.lines.begin() + long(*header), doc.lines.begin() + long(doc.sectionEnd(*header)));
    return WriteFileAtomically(path_, doc.serialise());
}

std::vector<std::string> IniFile::sections() const {
    std::lock_guard guard(IniMutex());
    std::vector<std::string> out;
    for (const auto& line : Load(path_).lines)
        if (const auto name = ini::SectionName(line.text)) out.emplace_back(*name);
    return out;
}

std::vector<std::string> IniFile::keys(std::string_view section) const {
    std::lock_guard guard(IniMutex());
    std::vector<std::string> out;
    const auto doc = Load(path_);
    const auto header = doc.findSection(section);
    if (!header) return out;
    for (size_t i = *header + 1; i < doc.sectionEnd(*header); ++i)
        if (const auto kv = ini::KeyValue(doc.lines[i].text)) out.emplace_back(kv->first);
    return out;
}

}  // namespace orvane::platform
