#include "platform/ini_snapshot.h"

#include <unordered_set>

#include "platform/atomic_file.h"
#include "platform/ini_file.h"
#include "platform/ini_text.h"

namespace orvane::platform {

namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return out;
}

std::string Slot(std::string_view section, std::string_view key) {
    return Lower(ini::Trim(section)) + '\n' + Lower(ini::Trim(key));
}

}  // namespace

IniSnapshot IniSnapshot::Load(const std::filesystem::path& path) {
    const auto bytes = ReadWholeFile(path);
    return bytes ? Parse(*bytes) : IniSnapshot{};
}

IniSnapshot IniSnapshot::Parse(std::string_view bytes) {
    IniSnapshot s;
    std::unordered_set<std::string> sections;
    std::optional<std::string> current;  // nullopt: before the first section, or a repeated one
    for (const auto& line : ini::Document::Parse(bytes).lines) {
        if (const auto name = ini::SectionName(line.text)) {
            // Look-ups find a section's first occurrence; a repeated one is never read.
            current = sections.insert(Lower(*name)).second ? std::optional(std::string(*name)) : std::nullopt;
        } else if (const auto kv = ini::KeyValue(line.text); kv && current) {
            s.values_.emplace(Slot(*current, kv->first), std::string(kv->second));  // the first key counts
        }
    }
    return s;
}

std::optional<std::string> IniSnapshot::find(std::string_view section, std::string_view key) const {
    const auto it = values_.find(Slot(section, key));
    if (it == values_.end()) return std::nullopt;
    return ini::CookValue(it->second, IniFile::kMaxValueLength);
}

std::string IniSnapshot::readString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
    auto value = find(section, key);
    return value ? std::move(*value) : ini::CookValue(defaultValue, IniFile::kMaxValueLength);
}

}  // namespace orvane::platform
