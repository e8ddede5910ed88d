// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// MacroDocument: the macro editor's action list, without any widget. The page shows it
// through a list model (ui/macro_list_model.h) and changes it only through these
// operations, which keep the selection, the unsaved flag and the rows' lines in step and
// tell an observer before and after every change (the model's begin/end calls).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "macros/action_file.h"
#include "macros/action_line.h"

namespace orvane::macros {

struct MacroRow {
    ActionLine action;
    /// Added by recording mouse input: shown as a plain row with "▼" / "▲".
    bool recordedMouse = false;
};

/// The three cells of a row as the list shows them; the name is a language key.
struct RowCells {
    std::string name;
    std::string_view nameStyle;
    std::string state;  ///< the distance of a move, "▼"/"▲" of a recorded mouse row, else empty
    std::string_view stateStyle;
    std::string delay;  ///< the delay in ms
    std::string_view delayStyle;
};
RowCells DescribeRow(const MacroRow& row);

/// The detail panel of a clicked row ("kb_tab_macro_edit" items 1 and 2).
struct ActionDetail {
    enum class Panel : uint8_t { Key = 1, Mouse = 2 };
    Panel panel = Panel::Key;
    int delayUnits = 0;
    /// Key panel: the first key of MacroKeys() whose usage (kind 0x0A) or modifier bit
    /// (kind 0x09) is the code; and the up/down item.
    std::optional<size_t> keyIndex;
    bool pressed = false;
    /// Mouse panel: the event-table row, and the distance for moves (rows 10-13).
    std::optional<size_t> mouseRow;
    std::optional<uint8_t> distance;
};
ActionDetail DetailOf(const ActionLine& action);

enum class MoveTo : uint8_t { Up, Down, Top, Bottom };

class MacroDocument {
public:
    struct Change {
        enum class Kind : uint8_t { Reset, Inserted, Removed, Moved, Changed };
        Kind kind = Kind::Reset;
        int first = 0;
        int last = 0;
        /// Moved: the row's index after the move.
        int to = 0;
    };
    class Observer {
    public:
        virtual ~Observer() = default;
        virtual void aboutToChange(const Change&) {}
        virtual void changed(const Change&) {}
    };

    /// The most rows a document holds (what a file and an image record hold).
    static constexpr int kMaxRows = kMaxFileActions;
    /// An inserted action waits 50 ms.
    static constexpr int kInsertedDelayUnits = 5;

    void setObserver(Observer* observer) { observer_ = observer; }

    /// The macro's lines; no selection, saved.
    void load(std::span<const std::string> lines);
    std::vector<std::string> lines() const;

    int size() const { return static_cast<int>(rows_.size()); }
    const MacroRow& row(int i) const { return rows_.at(size_t(i)); }
    const std::vector<MacroRow>& rows() const { return rows_; }

    bool unsaved() const { return unsaved_; }
    void markUnsaved() { unsaved_ = true; }
    void markSaved() { unsaved_ = false; }

    std::optional<int> selected() const { return selected_; }
    /// Out-of-range rows select none.
    void select(std::optional<int> row);

    /// A press, release or move of event-table row `tableRow` with a 50 ms delay, after the
    /// selected row (after row 0 when none is selected; the only row of an empty list). The
    /// selection stays where it was (row 0 when there was none). False when full.
    bool insertMouseAction(size_t tableRow, uint8_t distance = 0);
    /// Moves the selected row and keeps it selected; false when nothing moved.
    bool moveSelected(MoveTo where);
    bool removeSelected();
    void removeAll();

    // The detail panel's edits of row i; false (nothing changed) for a row that is not there
    // or does not take the edit.
    bool setDelayUnits(int i, int units);
    /// Key `keyIndex` of MacroKeys(), pressed as the row was.
    bool setKey(int i, size_t keyIndex);
    /// Press (down) or release (up): pressed and bit 7 of the kind together.
    bool setPressed(int i, bool pressed);
    /// Event-table row: rows 0-9 give kind and code; 10-13 keep the row's distance when it
    /// already was a move (else 0).
    bool setMouseEvent(int i, size_t tableRow);
    /// Distance 0-255 of a move.
    bool setDistance(int i, int distance);

    /// Recording: the action goes last with delay 0, and the row before it (whatever it is)
    /// gets the time since the previous event, delayMs in 10 ms units to the nearest. False when full.
    bool appendRecorded(ActionLine action, bool recordedMouse, int delayMs);
    /// Recording: rows `from` to the end leave (the input that ended the recording), and
    /// the new last row waits 0. False when there is no such row.
    bool dropRecordedTail(int from);

private:
    void notifyBefore(const Change& c) {
        if (observer_) observer_->aboutToChange(c);
    }
    void notifyAfter(const Change& c) {
        if (observer_) observer_->changed(c);
    }
    bool edit(int i, ActionLine updated);
    bool moveRow(int from, int to);

    std::vector<MacroRow> rows_;
    std::optional<int> selected_;
    bool unsaved_ = false;
    Observer* observer_ = nullptr;
};

}  // namespace orvane::macros
