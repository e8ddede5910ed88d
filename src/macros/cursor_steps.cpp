// SPDX-License-Identifier: GPL-3.0-or-later
#include "macros/cursor_steps.h"

#include <algorithm>

#include "macros/action_line.h"
#include "macros/action_tables.h"
#include "macros/macro_messages.h"
#include "platform/ini_index.h"
#include "platform/ini_text.h"

namespace orvane::macros {

namespace {

ActionLine LineAt(std::span<const std::string> lines, int i) {
    return i >= 0 && size_t(i) < lines.size() ? ParseActionLine(lines[size_t(i)]) : ParseActionLine("0");
}

std::string MoveLine(uint8_t action, const StepMove& move) {
    ActionLine a;
    a.kind = static_cast<uint8_t>(action | (move.checked ? kind::kDirectionBit : 0));
    a.code = move.distance;
    a.pressed = move.checked ? 1 : 0;
    a.label = std::string(MoveLabel(action, move.checked));
    return FormatActionLine(a);
}

}  // namespace

StepView ReadCursorStep(std::span<const std::string> lines, int step) {
    const StepActions at = StepActionNumbers(step);
    StepView view;
    view.delay = LineAt(lines, at.delay).delayUnits();
    for (int i : {at.horizontal, at.vertical}) {
        const ActionLine a = LineAt(lines, i);
        const StepMove move{a.code, a.directionSet()};
        if (a.action() == kind::kHorizontalMove) view.horizontal = move;
        if (a.action() == kind::kVerticalMove) view.vertical = move;
    }
    return view;
}

void WriteCursorStep(std::vector<std::string>& lines, int step, const StepEdit& edit) {
    if (step < 0 || step >= kCursorSteps) return;
    const StepActions at = StepActionNumbers(step);
    if (lines.size() < size_t(at.vertical) + 1) lines.resize(size_t(at.vertical) + 1, "0,0,0,0,0,");
    ActionLine delay = ParseActionLine(lines[size_t(at.delay)]);
    delay.setDelayUnits(edit.delay);
    lines[size_t(at.delay)] = FormatActionLine(delay);
    lines[size_t(at.horizontal)] = MoveLine(kind::kHorizontalMove, edit.horizontal);
    lines[size_t(at.vertical)] = MoveLine(kind::kVerticalMove, edit.vertical);
}

StepView ShowCursorStep(const MacroStore& store, int sequence, int step) {
    return ReadCursorStep(LoadCursorSequence(store, sequence), step);
}

CursorResult StoreCursorStep(MacroStore& store, int sequence, int step, const StepEdit& edit) {
    if (step < 0 || step >= kCursorSteps) return {CursorStatus::NoSuchSequence, {}};
    auto guard = store.lock();
    if (guard.busy()) return {CursorStatus::FolderBusy, kMacroFolderBusyMessage};
    auto lines = LoadCursorSequence(store, sequence);
    WriteCursorStep(lines, step, edit);
    return SaveCursorSequence(store, sequence, lines);
}

EditNumber ClampEditNumber(std::string_view text, int max) {
    EditNumber n;
    n.value = std::max(platform::ini::LeadingInt(text), 0);
    if (n.value > max) {
        n.value = max;
        n.replacement = std::to_string(max);
    }
    return n;
}

std::optional<int> PreviousStep(int current) {
    if (current <= 0) return std::nullopt;
    return std::min(current, kCursorSteps) - 1;
}

std::optional<int> NextStep(int current) {
    if (current >= kCursorSteps - 1) return std::nullopt;
    return std::max(current, -1) + 1;
}

std::string_view HorizontalCheckText(bool left) { return MoveLabel(kind::kHorizontalMove, left); }
std::string_view VerticalCheckText(bool up) { return MoveLabel(kind::kVerticalMove, up); }

}  // namespace orvane::macros
