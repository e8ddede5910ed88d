// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ini_index.h"

#include <climits>
#include <system_error>

#include "platform/atomic_file.h"
#include "platform/ini_file.h"
#include "platform/ini_text.h"

namespace orvane::platform {

namespace {

std::string Lower(std::string_view text) {
    std::string out(ini::Trim(text));
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return out;
}

}  // namespace

IniIndex IniIndex::Load(const std::filesystem::path& path) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > kMaxFileBytes) return {};
    const auto bytes = ReadWholeFile(path);
    return bytes ? FromText(*bytes) : IniIndex{};
}

IniIndex IniIndex::FromText(std::string_view text) {
    IniIndex snapshot;
    snapshot.loaded_ = true;
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    Section* current = nullptr;
    bool firstOccurrence = false;
    while (!text.empty()) {
        const auto nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        text = nl == std::string_view::npos ? std::string_view{} : text.substr(nl + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (const auto name = ini::SectionName(line)) {
            // A repeated section header starts a section nobody reads (the first one wins).
            const auto [it, inserted] = snapshot.sections_.try_emplace(Lower(*name));
            current = &it->second;
            firstOccurrence = inserted;
            continue;
        }
        if (!current || !firstOccurrence) continue;
        if (const auto kv = ini::KeyValue(line)) current->try_emplace(Lower(kv->first), std::string(kv->second));
    }
    return snapshot;
}

std::optional<std::string> IniIndex::find(std::string_view section, std::string_view key) const {
    const auto s = sections_.find(Lower(section));
    if (s == sections_.end()) return std::nullopt;
    const auto k = s->second.find(Lower(key));
    if (k == s->second.end()) return std::nullopt;
    return ini::CookValue(k->second, IniFile::kMaxValueLength);
}

std::string IniIndex::readString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
    auto value = find(section, key);
    return value ? std::move(*value) : ini::CookValue(defaultValue, IniFile::kMaxValueLength);
}

int IniIndex::readInt(std::string_view section, std::string_view key, int defaultValue) const {
    const auto value = find(section, key);
    return value ? ini::LeadingInt(*value) : defaultValue;
}

bool IniIndex::hasSection(std::string_view section) const { return sections_.contains(Lower(section)); }

}  // namespace orvane::platform
