// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The cursor page's step editor as pure functions over a sequence's action lines. Step p
// (0-29, shown 1-30) owns actions 6p ... 6p+5; the editor reads and writes only the last
// three: 6p+3 the step's delay (its other fields kept), 6p+4 the horizontal move, 6p+5
// the vertical move. Actions 6p ... 6p+2 come from the default files or the mouse.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "macros/cursor_store.h"

namespace orvane::macros {

struct StepActions {
    int delay;       ///< 6p+3
    int horizontal;  ///< 6p+4
    int vertical;    ///< 6p+5
};
constexpr StepActions StepActionNumbers(int step) {
    return {kActionsPerStep * step + 3, kActionsPerStep * step + 4, kActionsPerStep * step + 5};
}

/// A move as the editor shows it: distance 0-255 and the check box (left, up).
struct StepMove {
    uint8_t distance = 0;
    bool checked = false;
    friend bool operator==(const StepMove&, const StepMove&) = default;
};

/// What the editor shows for a step. A move is set only when its action has the move's
/// kind (4 horizontal, 5 vertical; either action may hold either); otherwise the control
/// keeps what it showed.
struct StepView {
    int delay = 0;
    std::optional<StepMove> horizontal;
    std::optional<StepMove> vertical;
};
/// Missing lines read as "0".
StepView ReadCursorStep(std::span<const std::string> lines, int step);

/// What the editor's controls hold.
struct StepEdit {
    int delay = 0;  ///< 0-65535
    StepMove horizontal;
    StepMove vertical;
};
/// Writes actions 6p+3 ... 6p+5 (nothing for a step outside 0-29). A sequence shorter than the step is first filled up with
/// "0,0,0,0,0," lines so that the edit is part of it.
void WriteCursorStep(std::vector<std::string>& lines, int step, const StepEdit& edit);

/// ShowCursorStep / StoreCursorStep on the stored sequence k.
StepView ShowCursorStep(const MacroStore& store, int sequence, int step);
CursorResult StoreCursorStep(MacroStore& store, int sequence, int step, const StepEdit& edit);

/// An edit's text as a number: the leading decimal number (0 when there is none); above
/// `max` it becomes max, and the edit's text is to be replaced by `replacement`.
struct EditNumber {
    int value = 0;
    std::optional<std::string> replacement;
};
EditNumber ClampEditNumber(std::string_view text, int max);
inline constexpr int kMaxStepDelay = 0xFFFF;
inline constexpr int kMaxDistance = 0xFF;

/// "bullet_selected_prev" / "_next": the step to select, or nullopt at either end.
std::optional<int> PreviousStep(int current);
std::optional<int> NextStep(int current);

/// The text of "ms_cursor_x_check" / "ms_cursor_y_check" for their state.
std::string_view HorizontalCheckText(bool left);
std::string_view VerticalCheckText(bool up);

}  // namespace orvane::macros
