// SPDX-License-Identifier: GPL-3.0-or-later
#include "macros/macro_checks.h"

#include <array>

#include "macros/action_file.h"
#include "macros/action_line.h"
#include "macros/cursor_store.h"
#include "macros/cursor_image.h"
#include "platform/ini_index.h"
#include "platform/ini_text.h"
#include "platform/regular_file.h"
#include "platform/stored_names.h"

namespace orvane::macros {

namespace fs = std::filesystem;
namespace ini = platform::ini;

namespace {

/// A file of ours as an index over its sections; nullopt (with the reason) when it is there
/// but cannot be one. `present` is false for a missing file.
std::optional<platform::IniIndex> ReadOurFile(const fs::path& path, bool& present, std::string& problem) {
    const auto contents = platform::ReadRegularFile(path, platform::IniIndex::kMaxFileBytes);
    present = contents.status != platform::FileStatus::Missing;
    if (!present) return platform::IniIndex{};
    if (!contents.ok()) {
        problem = platform::FileProblemText(contents.status, platform::IniIndex::kMaxFileBytes);
        return std::nullopt;
    }
    return platform::IniIndex::FromText(contents.bytes);
}

/// The count of a section as a whole number within 0 ... limit; the reason otherwise.
std::optional<int> CheckedCount(const platform::IniIndex& file, std::string_view section, int limit,
                                const std::string& ofWhat, std::string& problem) {
    const auto text = file.find(section, kCountKey);
    if (!text) return 0;
    const auto count = ini::StrictInt(*text);
    if (!count) problem = "its " + ofWhat + " count \"" + *text + "\" is not a number";
    else if (*count < 0) problem = "its " + ofWhat + " count " + std::to_string(*count) + " is negative";
    else if (*count > limit)
        problem = "it counts " + std::to_string(*count) + " " + ofWhat + "s; at most " + std::to_string(limit) + " can be sent";
    return problem.empty() ? count : std::nullopt;
}

std::string Located(MacroSet set, const std::string& file, const std::string& problem) {
    return std::string(SetTag(set)) + "/" + file + ": " + problem;
}

/// The device actions of one file; the reason when it cannot be sent.
std::optional<ImageEntry> CheckedEntry(const fs::path& path, const SetLimits& limits, std::string& problem) {
    bool present = false;
    const auto file = ReadOurFile(path, present, problem);
    if (!file) return std::nullopt;
    if (!present) return ImageEntry{};  // a macro without a file packs as 0 actions
    if (!file->hasSection(kActionCountSection)) {
        problem = "it holds no [MACROACTIONCOUNT] (not a macro file: binary, UTF-16 or cut)";
        return std::nullopt;
    }
    const auto count = CheckedCount(*file, kActionCountSection, limits.maxActions, "action", problem);
    if (!count) return std::nullopt;
    ImageEntry entry;
    entry.reserve(size_t(*count));
    for (int i = 0; i < *count; ++i) {
        const auto line = file->find(kActionSection, std::to_string(i));
        if (!line) problem = "its count is " + std::to_string(*count) + " but action " + std::to_string(i) + " is missing";
        else if (const auto bad = ActionLineProblem(*line)) problem = "action " + std::to_string(i) + ": " + *bad;
        if (!problem.empty()) return std::nullopt;
        entry.push_back(ParseActionLine(*line).deviceBytes());
    }
    return entry;
}

}  // namespace

SetLimits MacroLimits() {
    return {"macro", kMacroCountSection, kMacroNameSection, kMacroExtension, kMaxMacros, kMaxFileActions};
}

SetLimits CursorLimits() {
    return {"cursor sequence", kCursorCountSection, kCursorNameSection, kCursorExtension, kCursorSequenceCount,
            kSequenceActions};
}

std::optional<std::string> ActionLineProblem(std::string_view line) {
    static constexpr std::array<std::string_view, 5> kFields{"delay byte", "second delay byte", "kind", "code",
                                                             "pressed flag"};
    static constexpr std::array<int, 5> kLimits{255, 255, 255, 255, 1};
    std::array<std::string_view, 5> numbers;
    size_t from = 0;
    for (size_t field = 0; field < numbers.size(); ++field) {
        const auto comma = line.find(',', from);
        if (comma == std::string_view::npos)
            return "\"" + std::string(line.substr(0, 40)) + "\" has " + std::to_string(field) + " of its 5 numbers";
        numbers[field] = line.substr(from, comma - from);
        from = comma + 1;
    }
    for (size_t field = 0; field < numbers.size(); ++field) {
        const auto value = ini::StrictInt(numbers[field]);
        const std::string name(kFields[field]);
        if (!value) return "its " + name + " \"" + std::string(numbers[field].substr(0, 20)) + "\" is not a number";
        if (*value < 0 || *value > kLimits[field])
            return "its " + name + " " + std::to_string(*value) + " is outside 0-" + std::to_string(kLimits[field]);
    }
    return std::nullopt;
}

CheckedSet ReadCheckedSet(const MacroStore& store, MacroSet set, const SetLimits& limits) {
    auto guard = store.lock();
    CheckedSet out;
    const std::string indexName(IndexFileName(set));
    bool present = false;
    std::string problem;
    const auto index = ReadOurFile(store.indexPath(set), present, problem);
    if (!index) {
        out.problem = Located(set, indexName, problem);
        return out;
    }
    // An index there that holds none of its sections is not one (binary, UTF-16).
    if (present && !index->hasSection(kMacroCountSection) && !index->hasSection(kMacroNameSection) &&
        !index->hasSection(kCursorCountSection) && !index->hasSection(kCursorNameSection)) {
        const auto bytes = platform::ReadRegularFile(store.indexPath(set)).bytes;
        if (!ini::Trim(bytes).empty()) {
            out.problem = Located(set, indexName, "it holds no macro list (binary, UTF-16 or cut)");
            return out;
        }
    }
    const auto count = CheckedCount(*index, limits.countSection, limits.maxEntries, std::string(limits.what), problem);
    if (!count) {
        out.problem = Located(set, indexName, problem);
        return out;
    }
    for (int i = 0; i < *count; ++i) {
        const auto name = index->find(limits.nameSection, std::to_string(i));
        const auto path = name ? store.namedPath(set, *name, limits.extension) : std::nullopt;
        if (!name)
            problem = "its count is " + std::to_string(*count) + " but " + std::string(limits.what) + " " +
                      std::to_string(i) + " has no name (the file is cut or damaged)";
        else if (!path)
            problem = std::string(limits.what) + " " + std::to_string(i) + " is named \"" + *name +
                      "\", which cannot name a file";
        if (!problem.empty()) {
            out.problem = Located(set, indexName, problem);
            return out;
        }
        auto entry = CheckedEntry(*path, limits, problem);
        if (!entry) {
            out.problem = Located(set, path->filename().string(), problem);
            return out;
        }
        out.entries.push_back(std::move(*entry));
    }
    return out;
}

}  // namespace orvane::macros
