// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Macro files (".mac") and cursor-sequence files (".cur"): private-profile text files with
// [MACROACTIONCOUNT] count and [MACROACTION] 0 ... count-1, one action line each. Keys
// beyond count may remain in old files; only count says how many actions there are.
//
// A file is read in one pass and written whole, atomically: a reader (or a crash) sees the
// old file or the new one.

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::macros {

inline constexpr std::string_view kActionCountSection = "MACROACTIONCOUNT";
inline constexpr std::string_view kActionSection = "MACROACTION";
inline constexpr std::string_view kCountKey = "count";

/// The most actions a file is read with: what the 16-bit count of an image record holds.
inline constexpr int kMaxFileActions = 0xFFFF;

struct ActionFile {
    bool exists = false;
    /// The count as stored (negative or huge when the file is damaged).
    int declaredCount = 0;
    /// Lines 0 ... min(count, kMaxFileActions)-1; a missing line reads "0".
    std::vector<std::string> lines;
    /// The count fits an image record (0 ... 65535).
    bool countFits() const { return declaredCount >= 0 && declaredCount <= kMaxFileActions; }
};

/// A missing or unreadable file reads as zero actions.
ActionFile ReadActionFile(const std::filesystem::path& path);
/// Only the declared count (what sizing an image needs).
int ReadActionCount(const std::filesystem::path& path);

/// The text of a file holding these lines; nullopt when a line holds a line break (it
/// would change the file's structure).
std::optional<std::string> ComposeActionFile(std::span<const std::string> lines);
/// Writes the file atomically; false (old file kept) on a refused line or a failed write.
bool WriteActionFile(const std::filesystem::path& path, std::span<const std::string> lines);

}  // namespace orvane::macros
