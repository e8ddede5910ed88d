// SPDX-License-Identifier: GPL-3.0-or-later
#include "macros/macro_index_check.h"

#include <system_error>

#include "platform/atomic_file.h"

namespace orvane::macros {

namespace {
/// Whether any line starts with "[" (after blanks): text in another encoding (UTF-16) or
/// bytes that are no text have none.
bool HasASection(const std::string& text) {
    bool lineStart = true;
    for (const char c : text) {
        if (lineStart && c == '[') return true;
        if (c == '\n') lineStart = true;
        else if (c != ' ' && c != '\t' && c != '\r') lineStart = false;
    }
    return false;
}
}  // namespace

std::optional<std::string> IndexProblem(const MacroStore& store, MacroSet set) {
    const auto path = store.indexPath(set);
    std::error_code ec;
    const auto status = std::filesystem::symlink_status(path, ec);
    if (ec || !std::filesystem::exists(status)) return std::nullopt;
    auto guard = store.readLock();
    if (!std::filesystem::is_regular_file(std::filesystem::status(path, ec)))
        return path.string() + " is not a regular file";
    const auto text = platform::ReadWholeFile(path);
    if (!text) return path.string() + " cannot be read";
    if (!text->empty() && !HasASection(*text)) return path.string() + " holds no sections: it is damaged or not a macro index";
    return std::nullopt;
}

}  // namespace orvane::macros
