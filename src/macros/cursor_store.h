// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mouse's four cursor sequences on disk. "msMacro.ini" (the mouse's macro index) holds
// [CURSORCOUNT] count and [CURSORNAME] 0 ... count-1; sequence k is the file of its name
// plus ".cur" in the mouse folder, laid out as a macro file (action_file.h). The shipped
// "name_1.cur" ... "name_4.cur" beside the program seed the user's files and are what a
// reset restores.
//
// Every operation holds the macro store's lock; every write is atomic.

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "macros/cursor_image.h"
#include "macros/macro_store.h"

namespace orvane::macros {

inline constexpr std::string_view kCursorExtension = ".cur";

/// "name_1" ... "name_4" for k = 0 ... 3: the names the program gives and the default files'.
std::string DefaultSequenceName(int k);

struct CursorIndex {
    int declaredCount = 0;
    std::vector<std::string> names;  ///< a missing name reads "0"
};
CursorIndex ReadCursorIndex(const MacroStore& store);
/// The file of sequence k as the index names it; nullopt when k is not in the index or its
/// name cannot name a file in the mouse folder.
std::optional<std::filesystem::path> CursorSequencePath(const MacroStore& store, int k);
/// The shipped default of sequence k: the first default folder holding it.
std::optional<std::filesystem::path> DefaultSequencePath(const MacroStore& store, int k);

enum class CursorStatus : uint8_t {
    Done,
    NoSuchSequence,  ///< k is not in the cursor index
    Missing,         ///< the source (default, import or sequence) file is not there
    TooLong,         ///< an import of more than 180 actions
    Exists,          ///< export: the target exists and replacing it was not confirmed
    WriteFailed,     ///< a file could not be written; it is as it was
    FolderBusy,      ///< another process kept the data folder; nothing was changed
};

struct CursorResult {
    CursorStatus status = CursorStatus::Done;
    std::string_view message;  ///< language id to show; empty when done (and for Exists)
    bool ok() const { return status == CursorStatus::Done; }
};

/// First start: when [CURSORCOUNT] is 0 or missing, copies the four default files into the
/// mouse folder (an existing file is kept), names them in the index and sets the count to
/// 4. A count other than 0 leaves everything as it is. Missing when a default file was
/// not found (the others are still set up).
CursorResult InitCursorSequences(MacroStore& store);

/// The action lines of sequence k (none when its file is missing).
std::vector<std::string> LoadCursorSequence(const MacroStore& store, int k);
CursorResult SaveCursorSequence(MacroStore& store, int k, std::span<const std::string> lines);
/// Replaces sequence k with the lines of `from` when it holds at most 180 actions
/// ("message_text_18" otherwise, and the sequence stays as it was).
CursorResult ImportCursorSequence(MacroStore& store, int k, const std::filesystem::path& from);
/// Copies sequence k's file to `to`. An existing `to` is replaced only when the user
/// confirmed it; otherwise Exists and nothing is written.
CursorResult ExportCursorSequence(const MacroStore& store, int k, const std::filesystem::path& to,
                                  bool overwriteConfirmed);
/// Copies the shipped default over sequence k.
CursorResult ResetCursorSequence(MacroStore& store, int k);

/// Rewrites the sequence files from a cursor image read from the mouse: entry i goes to
/// the file [CURSORNAME] i names, each action with pressed = bit 7 of its kind and the
/// label of its kind and code. An image that does not parse is rejected whole (no file
/// touched, logged).
struct CursorImageStored {
    bool accepted = false;
    int sequences = 0;         ///< files written
    bool writeFailed = false;  ///< a file could not be written (the others were)
};
CursorImageStored StoreCursorImage(MacroStore& store, std::span<const uint8_t> image);

}  // namespace orvane::macros
