// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/profile_index.h"

#include <algorithm>
#include <map>
#include <unordered_map>

#include "profiles/profile_names.h"

namespace orvane::profiles {

namespace ini = platform::ini;

namespace {

constexpr size_t kMaxValue = kMaxIndexValue;

std::vector<std::string_view> SectionsOf(const ListSpec& list) {
    const auto& s = *list.sections;
    return {s.count, s.names, s.linked, s.process, s.select};
}

/// One pass over a section: key (ASCII lower case) -> value as read; the first of
/// duplicate keys wins, as for a single look-up.
class SectionValues {
public:
    SectionValues(const ini::Document& doc, std::string_view section) {
        const auto header = doc.findSection(section);
        if (!header) return;
        const size_t end = doc.sectionEnd(*header);
        for (size_t i = *header + 1; i < end; ++i) {
            const auto kv = ini::KeyValue(doc.lines[i].text);
            if (!kv) continue;
            std::string key(kv->first);
            for (char& c : key) c = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
            if (values_.count(key)) continue;
            order_.push_back(key);
            values_.emplace(std::move(key), ini::CookValue(kv->second, kMaxValue));
        }
    }
    const std::string* find(const std::string& key) const {
        const auto it = values_.find(key);
        return it == values_.end() ? nullptr : &it->second;
    }
    const std::vector<std::string>& keys() const { return order_; }
    bool empty() const { return order_.empty(); }

private:
    std::unordered_map<std::string, std::string> values_;
    std::vector<std::string> order_;
};

struct ListValues {
    SectionValues names, linked, process;
    ListValues(const ini::Document& doc, const ListSpec& list)
        : names(doc, list.sections->names), linked(doc, list.sections->linked), process(doc, list.sections->process) {}
    LinkEntry link(int position) const {
        const auto key = std::to_string(position);
        const auto* flag = linked.find(key);
        const auto* path = process.find(key);
        return {flag ? *flag : "0", path ? *path : "0"};
    }
};

int ReadSelection(const ini::Document& doc, const ListSpec& list) {
    const auto value = doc.get(list.sections->select, kSelectKey, kMaxValue);
    return value ? ini::LeadingInt(*value) : 0;
}

}  // namespace

bool LinkEntry::linked() const {
    // The flag's leading decimal number is not 0 (overflow-safe: only its digits matter).
    size_t i = flag.find_first_not_of(" \t");
    if (i == std::string::npos) return false;
    if (flag[i] == '-' || flag[i] == '+') ++i;
    for (; i < flag.size() && flag[i] >= '0' && flag[i] <= '9'; ++i)
        if (flag[i] != '0') return true;
    return false;
}

bool HasAnyListSection(const ini::Document& doc, std::string_view indexFile) {
    for (const auto& list : kLists) {
        if (list.indexFile != indexFile) continue;
        for (const auto section : SectionsOf(list))
            if (doc.findSection(section)) return true;
    }
    return false;
}

IndexedList ReadIndexedList(const ini::Document& doc, const ListSpec& list) {
    const auto countText = doc.get(list.sections->count, kCountKey, kMaxValue);
    const ListValues values(doc, list);
    if (!countText) {
        if (!values.names.empty()) return IndexedList::damaged("it has names but no count");
        IndexedList first;
        first.selection = ReadSelection(doc, list);
        return first;
    }
    const auto count = ini::StrictInt(*countText);
    if (!count) return IndexedList::damaged("its count \"" + *countText + "\" is not a number");
    if (*count < 0) return IndexedList::damaged("its count " + std::to_string(*count) + " is negative");
    if (*count > kMaxListEntries)
        return IndexedList::damaged("its count " + std::to_string(*count) + " is above " + std::to_string(kMaxListEntries));
    IndexedList out;
    out.state = *count == 0 ? IndexedList::State::FirstRun : IndexedList::State::Valid;
    out.selection = ReadSelection(doc, list);
    for (int i = 0; i < *count; ++i) {
        const auto* name = values.names.find(std::to_string(i));
        if (!name) return IndexedList::damaged("its count is " + std::to_string(*count) + " but it has no name " + std::to_string(i));
        out.names.push_back(*name);
        out.links.push_back(values.link(i));
    }
    return out;
}

IndexedList SalvageList(const ini::Document& doc, const ListSpec& list, const std::vector<std::string>& folderNames) {
    IndexedList out;
    out.state = IndexedList::State::Valid;
    // Positions as numbers, in order, whatever order the lines are in.
    const ListValues values(doc, list);
    std::map<int, std::string> named;
    for (const auto& key : values.names.keys()) {
        const auto position = ini::StrictInt(key);
        if (!position || *position < 0 || *position >= kMaxListEntries || named.count(*position)) continue;
        named.emplace(*position, *values.names.find(key));
    }
    const int recorded = ReadSelection(doc, list);
    std::string selectedName;
    for (auto& [position, name] : named) {
        if (!IsValidProfileName(name) || ContainsName(out.names, name)) continue;
        if (position == recorded) selectedName = name;
        // A flag whose path was lost (links store absolute paths) links to nothing: dropped.
        const auto link = values.link(position);
        out.links.push_back(link.linked() && !ini::Trim(link.process).starts_with('/') ? LinkEntry{} : link);
        out.names.push_back(std::move(name));
    }
    for (const auto& name : folderNames) {
        if (out.names.size() >= size_t(kMaxListEntries)) break;
        if (!IsValidProfileName(name) || ContainsName(out.names, name)) continue;
        out.names.push_back(name);
        out.links.emplace_back();
    }
    if (out.names.size() > size_t(kMaxListEntries)) {
        out.names.resize(kMaxListEntries);
        out.links.resize(kMaxListEntries);
    }
    const auto at = std::find(out.names.begin(), out.names.end(), selectedName);
    out.selection = selectedName.empty() || at == out.names.end() ? 0 : int(at - out.names.begin());
    if (out.names.empty()) out.state = IndexedList::State::FirstRun;
    return out;
}

std::optional<std::string> DropCutLastLine(ini::Document& doc) {
    if (doc.lines.empty() || !doc.lines.back().ending.empty()) return std::nullopt;
    std::optional<std::string> section;
    for (size_t i = doc.lines.size(); i-- > 0;)
        if (const auto name = ini::SectionName(doc.lines[i].text)) {
            section = std::string(*name);
            break;
        }
    const auto& last = doc.lines.back().text;
    if (ini::Trim(last).empty() || ini::SectionName(last)) return std::nullopt;  // nothing to lose
    const auto kv = ini::KeyValue(last);
    // A hand-edited file often lacks its last line ending after "select=N".
    if (kv && section && ini::EqualNoCase(kv->first, kSelectKey) && ini::StrictInt(kv->second))
        for (const auto& list : kLists)
            if (ini::EqualNoCase(*section, list.sections->select)) return std::nullopt;
    doc.lines.pop_back();
    return section.value_or(std::string());
}

bool ListHasSection(const ListSpec& list, std::string_view section) {
    for (const auto s : SectionsOf(list))
        if (ini::EqualNoCase(s, ini::Trim(section))) return true;
    return false;
}

void WriteIndexedList(ini::Document& doc, const ListSpec& list, const IndexedList& entries) {
    // Every copy of a section goes: a hand-edited file may hold one twice.
    doc.removeSectionsEverywhere(SectionsOf(list));
    if (!doc.lines.empty() && doc.lines.back().ending.empty()) doc.lines.back().ending = doc.newline;
    // A section is written only when it has a line.
    auto section = [&](std::string_view name, auto&& fill) {
        std::vector<ini::Line> lines;
        fill([&](const std::string& key, const std::string& value) { lines.push_back({key + "=" + value, doc.newline}); });
        if (lines.empty()) return;
        doc.lines.push_back({"[" + std::string(name) + "]", doc.newline});
        doc.lines.insert(doc.lines.end(), lines.begin(), lines.end());
    };
    const auto& s = *list.sections;
    const size_t n = entries.names.size();
    section(s.count, [&](auto put) { put(std::string(kCountKey), std::to_string(n)); });
    section(s.names, [&](auto put) {
        for (size_t i = 0; i < n; ++i) put(std::to_string(i), entries.names[i]);
    });
    section(s.linked, [&](auto put) {
        for (size_t i = 0; i < n; ++i) put(std::to_string(i), i < entries.links.size() ? entries.links[i].flag : "0");
    });
    section(s.process, [&](auto put) {
        for (size_t i = 0; i < n && i < entries.links.size(); ++i)
            if (entries.links[i].process != "0") put(std::to_string(i), entries.links[i].process);
    });
    section(s.select, [&](auto put) { put(std::string(kSelectKey), std::to_string(entries.selection)); });
}

}  // namespace orvane::profiles
