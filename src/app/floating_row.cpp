// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/floating_row.h"

#include <QEvent>
#include <QLayout>
#include <QStyle>

namespace orvane::app {

void FloatingRow::Attach(QWidget* row, QWidget* anchor) {
    if (!row || !anchor || !row->parentWidget() || anchor->parentWidget() != row->parentWidget()) return;
    new FloatingRow(row, anchor);  // owned by the row
}

FloatingRow::FloatingRow(QWidget* row, QWidget* anchor) : QObject(row), row_(row), anchor_(anchor) {
    if (QLayout* layout = row->parentWidget()->layout()) layout->removeWidget(row);
    row->setAttribute(Qt::WA_StyledBackground);  // opaque over the page
    row->setProperty("floating", true);
    row->style()->unpolish(row);  // the sheet's [floating="true"] rule applies from now on
    row->style()->polish(row);
    for (QObject* watched : {static_cast<QObject*>(row), static_cast<QObject*>(anchor),
                             static_cast<QObject*>(row->parentWidget())})
        watched->installEventFilter(this);
    place();
}

bool FloatingRow::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Resize:
    case QEvent::Move:
    case QEvent::LayoutRequest: place(); break;
    default: break;
    }
    return false;
}

void FloatingRow::place() {
    if (!row_ || !anchor_) return;
    const QWidget* parent = row_->parentWidget();
    const int height = qMax(row_->sizeHint().height(), row_->minimumSizeHint().height());
    const QRect wanted(0, anchor_->geometry().bottom() + 1, parent->width(), height);
    if (row_->geometry() != wanted) row_->setGeometry(wanted);
    if (row_->isVisible()) row_->raise();
}

}  // namespace orvane::app
