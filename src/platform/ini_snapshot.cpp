#include "platform/ini_snapshot.h"

#include "platform/atomic_file.h"
#include "platform/ini_file.h"

namespace orvane::platform {

IniSnapshot IniSnapshot::Load(const std::filesystem::path& path) {
    IniSnapshot s;
    if (const auto bytes = ReadWholeFile(path)) s.doc_ = ini::Document::Parse(*bytes);
    return s;
}

std::optional<std::string> IniSnapshot::find(std::string_view section, std::string_view key) const {
    const auto header = doc_.findSection(section);
    if (!header) return std::nullopt;
    const auto line = doc_.findKey(*header, key);
    if (!line) return std::nullopt;
    return ini::CookValue(ini::KeyValue(doc_.lines[*line].text)->second, IniFile::kMaxValueLength);
}

std::string IniSnapshot::readString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
    auto value = find(section, key);
    return value ? std::move(*value) : ini::CookValue(defaultValue, IniFile::kMaxValueLength);
}

}  // namespace orvane::platform
