// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The stored macro set and cursor sequences judged before an image is made of them: the
// files are the user's and any tool's, so every limit is checked where they enter an
// upload, and a set that breaks one is refused whole with the file and the reason ("kb/
// Macro_1.mac: action 3: its delay byte 300 is above 255"). Nothing is sent then.
//
// A file that is simply missing is no fault (a macro without a file packs as 0 actions, as
// it always has); a file that is there but is not one of ours (not a regular file, UTF-16,
// garbage), a count that is not a number, negative or above its limit, a name or action the
// count promises but the file lacks, and a line whose numbers do not fit their bytes are.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "macros/macro_image.h"
#include "macros/macro_store.h"

namespace orvane::macros {

/// What an upload may take from the files of a set.
struct SetLimits {
    std::string_view what;          ///< "macro", "cursor sequence"
    std::string_view countSection;  ///< of the index file
    std::string_view nameSection;
    std::string_view extension;     ///< ".mac", ".cur"
    int maxEntries;                 ///< 50 macros, 4 sequences
    int maxActions;                 ///< per file: 65535 for a macro, 180 for a sequence
};
SetLimits MacroLimits();
SetLimits CursorLimits();

/// The set's entries in index order, or the first problem found.
struct CheckedSet {
    std::vector<ImageEntry> entries;
    std::string problem;  ///< "" when the files can be sent
    bool ok() const { return problem.empty(); }
};
CheckedSet ReadCheckedSet(const MacroStore& store, MacroSet set, const SetLimits& limits);

/// Why an action line cannot be sent as it stands ("its delay byte 300 is above 255"), or
/// nullopt when every number is a whole number within its field.
std::optional<std::string> ActionLineProblem(std::string_view line);

}  // namespace orvane::macros
