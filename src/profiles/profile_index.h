// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What an index file says about a list, judged as hostile input, and how a list is written
// back. Pure text work on a parsed document: no file access here.
//
// A list is
//  - Valid     "count" is a decimal number 0-1000 and every position below it has a name
//              (positions at or above "count" are ignored, as they always were);
//  - FirstRun  nothing of the list is there (no "count", no names): it is made afresh;
//  - Damaged   anything else: "count=x", "count=-3", a count past the names, names without
//              a count. A damaged list is never taken for a first run: it is rebuilt from
//              the names that can be read and the profile files in the folder.

#include <optional>
#include <string>
#include <utility>
#include <string_view>
#include <vector>

#include "platform/ini_text.h"
#include "profiles/profile_lists.h"

namespace orvane::profiles {

/// More profiles than this in one list are not read from an index.
inline constexpr int kMaxListEntries = 1000;

/// A profile's link to an application as the index records it (values as stored, so that
/// moving an entry keeps them byte for byte).
struct LinkEntry {
    std::string flag = "0";     ///< "1" linked; read as a decimal number
    std::string process = "0";  ///< the linked application's path; " " after the link was removed
    bool linked() const;
};

struct IndexedList {
    enum class State { Valid, FirstRun, Damaged };
    State state = State::FirstRun;
    std::vector<std::string> names;
    std::vector<LinkEntry> links;  ///< one per name
    int selection = 0;             ///< "select" as recorded (may lie outside the list)
    std::string problem;           ///< why Damaged, for the user: "its count is not a number"

    static IndexedList damaged(std::string problem) {
        IndexedList out;
        out.state = State::Damaged;
        out.problem = std::move(problem);
        return out;
    }
};

/// The list as the index records it. `fileReadable`: the file's content could be taken at
/// all; a present file in which no section of any list of the file can be found (garbage,
/// UTF-16, empty) damages every list of the file.
IndexedList ReadIndexedList(const platform::ini::Document& doc, const ListSpec& list);
/// Whether any section of the lists of that index file is in the document.
bool HasAnyListSection(const platform::ini::Document& doc, std::string_view indexFile);

/// A damaged list rebuilt: the names that can be read (positions in order, names that can
/// name a file, the first of names equal without regard to case), with their links; then
/// `folderNames` (the profile files present, without extension) not yet in it. The recorded
/// selection is kept when it still names an entry.
IndexedList SalvageList(const platform::ini::Document& doc, const ListSpec& list,
                        const std::vector<std::string>& folderNames);

/// Every line this program writes ends with a line ending, so a last line without one was
/// cut (a copy or write stopped, a full disk). Removes it and returns the name of its section
/// ("" before any), or nullopt when the last line is whole: ended, blank, a header, or a
/// "select" whose value is a whole number (what a hand edit that dropped the final line
/// ending leaves).
std::optional<std::string> DropCutLastLine(platform::ini::Document& doc);
/// Whether the section is one of the list's.
bool ListHasSection(const ListSpec& list, std::string_view section);

/// Replaces the list's sections in the document by the list: count, names, links, select.
void WriteIndexedList(platform::ini::Document& doc, const ListSpec& list, const IndexedList& entries);

}  // namespace orvane::profiles
