// SPDX-License-Identifier: GPL-3.0-or-later
#include "macros/macro_document.h"

#include <algorithm>

#include "macros/action_tables.h"

namespace orvane::macros {

namespace {

constexpr std::string_view kKeyboardStyle = "macro_label_keyboard_style";
constexpr std::string_view kMouseStyle = "macro_label_mouse_style";
constexpr std::string_view kTextStyle = "macro_label_text_style";
constexpr std::string_view kDownStyle = "macro_label_down_style";
constexpr std::string_view kUpStyle = "macro_label_up_style";

}  // namespace

RowCells DescribeRow(const MacroRow& row) {
    const ActionLine& a = row.action;
    RowCells cells;
    cells.name = a.label;
    cells.nameStyle = a.isKeyboardAction() ? kKeyboardStyle : kMouseStyle;
    if (a.isMove()) {
        cells.state = std::to_string(a.code);
        cells.stateStyle = kTextStyle;
    } else {
        if (row.recordedMouse) cells.state = a.pressed ? "\u25BC" : "\u25B2";
        cells.stateStyle = a.pressed == 1 ? kDownStyle : kUpStyle;
    }
    cells.delay = std::to_string(a.delayUnits() * 10);
    cells.delayStyle = kTextStyle;
    return cells;
}

ActionDetail DetailOf(const ActionLine& a) {
    ActionDetail d;
    d.delayUnits = a.delayUnits();
    if (a.isKeyboardAction()) {
        d.panel = ActionDetail::Panel::Key;
        d.keyIndex = a.action() == kind::kModifierKey ? KeyIndexByModifier(a.code) : KeyIndexByUsage(a.code);
        d.pressed = a.pressed != 0;
        return d;
    }
    d.panel = ActionDetail::Panel::Mouse;
    d.mouseRow = MouseEventRowOf(a);
    if (a.isMove()) d.distance = a.code;
    return d;
}

void MacroDocument::load(std::span<const std::string> lines) {
    const Change reset{Change::Kind::Reset};
    notifyBefore(reset);
    rows_.clear();
    rows_.reserve(lines.size());
    for (const auto& line : lines) rows_.push_back({ParseActionLine(line), false});
    selected_.reset();
    unsaved_ = false;
    notifyAfter(reset);
}

std::vector<std::string> MacroDocument::lines() const {
    std::vector<std::string> out;
    out.reserve(rows_.size());
    for (const auto& r : rows_) out.push_back(FormatActionLine(r.action));
    return out;
}

void MacroDocument::select(std::optional<int> row) {
    selected_ = row && *row >= 0 && *row < size() ? row : std::nullopt;
}

bool MacroDocument::insertMouseAction(size_t tableRow, uint8_t distance) {
    if (size() >= kMaxRows || tableRow >= kMouseEventRows) return false;
    ActionLine action = MouseEventAction(tableRow, distance);
    action.setDelayUnits(kInsertedDelayUnits);
    const int at = rows_.empty() ? 0 : selected_.value_or(0) + 1;
    const Change c{Change::Kind::Inserted, at, at};
    notifyBefore(c);
    rows_.insert(rows_.begin() + at, {std::move(action), false});
    selected_ = selected_.value_or(0);
    unsaved_ = true;
    notifyAfter(c);
    return true;
}

bool MacroDocument::moveRow(int from, int to) {
    if (from == to) return false;
    const Change c{Change::Kind::Moved, from, from, to};
    notifyBefore(c);
    MacroRow moving = std::move(rows_[size_t(from)]);
    rows_.erase(rows_.begin() + from);
    rows_.insert(rows_.begin() + to, std::move(moving));
    selected_ = to;
    unsaved_ = true;
    notifyAfter(c);
    return true;
}

bool MacroDocument::moveSelected(MoveTo where) {
    if (!selected_) return false;
    const int from = *selected_;
    const int last = size() - 1;
    switch (where) {
    case MoveTo::Up: return from > 0 && moveRow(from, from - 1);
    case MoveTo::Down: return from < last && moveRow(from, from + 1);
    case MoveTo::Top: return moveRow(from, 0);
    case MoveTo::Bottom: return moveRow(from, last);
    }
    return false;
}

bool MacroDocument::removeSelected() {
    if (!selected_) return false;
    const int at = *selected_;
    const Change c{Change::Kind::Removed, at, at};
    notifyBefore(c);
    rows_.erase(rows_.begin() + at);
    selected_.reset();
    unsaved_ = true;
    notifyAfter(c);
    return true;
}

void MacroDocument::removeAll() {
    const Change reset{Change::Kind::Reset};
    notifyBefore(reset);
    rows_.clear();
    selected_.reset();
    unsaved_ = true;
    notifyAfter(reset);
}

bool MacroDocument::edit(int i, ActionLine updated) {
    if (i < 0 || i >= size()) return false;
    const Change c{Change::Kind::Changed, i, i};
    notifyBefore(c);
    rows_[size_t(i)].action = std::move(updated);
    unsaved_ = true;
    notifyAfter(c);
    return true;
}

bool MacroDocument::setDelayUnits(int i, int units) {
    if (i < 0 || i >= size()) return false;
    ActionLine a = rows_[size_t(i)].action;
    a.setDelayUnits(units);
    return edit(i, std::move(a));
}

bool MacroDocument::setKey(int i, size_t keyIndex) {
    if (i < 0 || i >= size() || keyIndex >= MacroKeys().size()) return false;
    const ActionLine& old = rows_[size_t(i)].action;
    ActionLine a = KeyAction(MacroKeys()[keyIndex], old.pressed != 0);
    a.pressed = old.pressed;
    a.delayLow = old.delayLow;
    a.delayHigh = old.delayHigh;
    return edit(i, std::move(a));
}

bool MacroDocument::setPressed(int i, bool pressed) {
    if (i < 0 || i >= size()) return false;
    ActionLine a = rows_[size_t(i)].action;
    a.pressed = pressed ? 1 : 0;
    a.kind = static_cast<uint8_t>(pressed ? (a.kind | kind::kDirectionBit) : (a.kind & ~kind::kDirectionBit));
    return edit(i, std::move(a));
}

bool MacroDocument::setMouseEvent(int i, size_t tableRow) {
    if (i < 0 || i >= size() || tableRow >= kMouseEventRows) return false;
    const ActionLine& old = rows_[size_t(i)].action;
    ActionLine a = MouseEventAction(tableRow, old.isMove() ? old.code : 0);
    a.delayLow = old.delayLow;
    a.delayHigh = old.delayHigh;
    return edit(i, std::move(a));
}

bool MacroDocument::setDistance(int i, int distance) {
    if (i < 0 || i >= size() || !rows_[size_t(i)].action.isMove()) return false;
    ActionLine a = rows_[size_t(i)].action;
    a.code = static_cast<uint8_t>(std::clamp(distance, 0, 255));
    return edit(i, std::move(a));
}

bool MacroDocument::appendRecorded(ActionLine action, bool recordedMouse, int delayMs) {
    if (size() >= kMaxRows) return false;
    if (!rows_.empty()) {
        ActionLine previous = rows_.back().action;
        previous.setDelayUnits(DelayUnitsOf(delayMs));
        edit(size() - 1, std::move(previous));
    }
    action.setDelayUnits(0);
    const int at = size();
    const Change c{Change::Kind::Inserted, at, at};
    notifyBefore(c);
    rows_.push_back({std::move(action), recordedMouse});
    unsaved_ = true;
    notifyAfter(c);
    return true;
}

bool MacroDocument::dropRecordedTail(int from) {
    if (from < 0 || from >= size()) return false;
    const Change c{Change::Kind::Removed, from, size() - 1};
    notifyBefore(c);
    rows_.erase(rows_.begin() + from, rows_.end());
    if (selected_ && *selected_ >= from) selected_.reset();
    unsaved_ = true;
    notifyAfter(c);
    if (!rows_.empty() && rows_.back().action.delayUnits() != 0) {
        ActionLine last = rows_.back().action;
        last.setDelayUnits(0);
        edit(size() - 1, std::move(last));
    }
    return true;
}

}  // namespace orvane::macros
