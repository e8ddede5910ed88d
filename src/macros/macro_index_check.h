// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether a macro set's index file ("kbMacro.ini" / "msMacro.ini") can be read as one. An
// index that is there but cannot be read lists no macros; the user is told which file, not
// left with an empty list that looks like "no macros yet".

#include <optional>
#include <string>

#include "macros/macro_store.h"

namespace orvane::macros {

/// Why the set's index cannot be read ("... is not a regular file", "... holds no sections"),
/// naming the file; nullopt when it reads (or is not there yet: a set without macros).
std::optional<std::string> IndexProblem(const MacroStore& store, MacroSet set);

}  // namespace orvane::macros
