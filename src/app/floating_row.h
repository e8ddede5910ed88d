// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A row of a page that floats over the page instead of taking room in its layout: the
// profile tools ("Manage") open under the page header as a popover, and the page below them
// does not move. The row keeps its parent and visibility; it is only placed and raised.

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace orvane::app {

class FloatingRow : public QObject {
public:
    /// Takes `row` out of its parent's layout and keeps it under `anchor`'s lower edge,
    /// as wide as the parent. Does nothing when either is missing.
    static void Attach(QWidget* row, QWidget* anchor);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FloatingRow(QWidget* row, QWidget* anchor);
    void place();

    QPointer<QWidget> row_;
    QPointer<QWidget> anchor_;
};

}  // namespace orvane::app
