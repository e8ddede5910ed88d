// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The four cursor sequences shipped as "name_1.cur" ... "name_4.cur" beside the program:
// what a first start copies into the mouse folder and what a reset restores. gen_defaults
// writes them; a unit test checks that the shipped files still match.
//
// Each sequence has 30 steps of six actions. The first three actions of a step are
// zero-distance moves without delay (the editor never changes them, and the mouse plays
// them as nothing); then the step's delay (carried by a zero-distance move), its
// horizontal move and its vertical move. The patterns, for recoil-style pulls while a
// button is held:
//   1  steady pull-down: 4 down every 100 ms, nothing sideways
//   2  rising pull-down: every 90 ms, the pull grows from 2 to 8 over the first seven
//      steps, then settles at 6
//   3  small zig-zag: 3 down every 100 ms, alternating 2 right and 2 left
//   4  wide zig-zag: 2 down every 120 ms, sideways 1, 2, 3, 3, 2, 1 to the right, then the
//      same to the left

#include <array>
#include <cstdlib>
#include <string>
#include <vector>

#include "macros/action_line.h"
#include "macros/action_tables.h"
#include "macros/cursor_store.h"

namespace orvane::tools {

struct CursorStepPattern {
    int delayUnits;  ///< 10 ms each
    int horizontal;  ///< negative: left
    int vertical;    ///< positive: down
};

inline CursorStepPattern DefaultCursorStep(int sequence, int step) {
    switch (sequence) {
    case 0: return {10, 0, 4};
    case 1: return {9, 0, step < 7 ? 2 + step : 6};
    case 2: return {10, step % 2 == 0 ? 2 : -2, 3};
    default: {
        constexpr std::array<int, 6> sway{1, 2, 3, 3, 2, 1};
        const int phase = step % 12;
        return {12, phase < 6 ? sway[size_t(phase)] : -sway[size_t(phase - 6)], 2};
    }
    }
}

/// A move line; `direction` is left (horizontal) or up (vertical).
inline std::string MoveLine(uint8_t action, int distance, bool direction, int delayUnits = 0) {
    macros::ActionLine a;
    a.setDelayUnits(delayUnits);
    a.kind = static_cast<uint8_t>(action | (direction ? macros::kind::kDirectionBit : 0));
    a.code = static_cast<uint8_t>(distance);
    a.pressed = direction ? 1 : 0;
    a.label = std::string(macros::MoveLabel(action, direction));
    return macros::FormatActionLine(a);
}

/// The action lines of default sequence k (0-3).
inline std::vector<std::string> DefaultCursorSequence(int k) {
    using namespace macros::kind;
    std::vector<std::string> lines;
    for (int p = 0; p < macros::kCursorSteps; ++p) {
        const CursorStepPattern step = DefaultCursorStep(k, p);
        lines.push_back(MoveLine(kHorizontalMove, 0, false));
        lines.push_back(MoveLine(kVerticalMove, 0, false));
        lines.push_back(MoveLine(kHorizontalMove, 0, false));
        lines.push_back(MoveLine(kVerticalMove, 0, false, step.delayUnits));
        lines.push_back(MoveLine(kHorizontalMove, std::abs(step.horizontal), step.horizontal < 0));
        lines.push_back(MoveLine(kVerticalMove, step.vertical, false));  // down
    }
    return lines;
}

}  // namespace orvane::tools
