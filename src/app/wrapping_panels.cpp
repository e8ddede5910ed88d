// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/wrapping_panels.h"

#include <QBoxLayout>
#include <QEvent>
#include <QGridLayout>

#include <algorithm>

namespace orvane::app {

void WrappingPanels::Attach(QWidget* row, QWidget* room, int widest, int margins) {
    if (row && room && qobject_cast<QBoxLayout*>(row->layout())) new WrappingPanels(row, room, widest, margins);
}

std::vector<int> WrappingPanels::LinesFor(const std::vector<int>& widths, int room, int spacing) {
    std::vector<int> lines;
    int line = 0, used = 0;
    for (int width : widths) {
        if (width <= 0) {  // a hidden panel keeps its place on the current line
            lines.push_back(line);
            continue;
        }
        if (used > 0 && used + spacing + width > room) {
            ++line;
            used = 0;
        }
        used += (used > 0 ? spacing : 0) + width;
        lines.push_back(line);
    }
    return lines;
}

WrappingPanels::WrappingPanels(QWidget* row, QWidget* room, int widest, int margins)
    : QObject(row), row_(row), room_(room), widest_(widest), margins_(margins) {
    auto* box = static_cast<QBoxLayout*>(row->layout());
    const QMargins contents = box->contentsMargins();
    const int spacing = box->spacing();
    while (QLayoutItem* item = box->takeAt(0)) {
        if (QWidget* panel = item->widget()) panels_.emplace_back(panel);
        delete item;  // spacers go: the grid's last column takes the rest of the room
    }
    delete box;
    grid_ = new QGridLayout(row);
    grid_->setContentsMargins(contents);
    grid_->setSpacing(spacing);
    grid_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    for (const auto& panel : panels_) panel->installEventFilter(this);
    room->installEventFilter(this);
    arrange();
}

bool WrappingPanels::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::LayoutRequest: arrange(); break;
    default: break;
    }
    return false;
}

void WrappingPanels::arrange() {
    if (!row_ || !room_ || !grid_) return;
    std::vector<int> widths;
    for (const auto& panel : panels_)
        widths.push_back(panel && !panel->isHidden() ? panel->sizeHint().width() : 0);
    const int room = std::min(room_->width(), widest_) - margins_;
    const std::vector<int> lines = LinesFor(widths, room, grid_->horizontalSpacing());
    if (lines == lines_) return;
    lines_ = lines;
    int column = 0;
    for (size_t i = 0; i < panels_.size(); ++i) {
        if (i > 0 && lines[i] != lines[i - 1]) column = 0;
        if (panels_[i]) grid_->addWidget(panels_[i], lines[i], column++);
    }
}

}  // namespace orvane::app
