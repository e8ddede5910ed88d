// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Panels side by side while the window has the room, one under the other where it has not:
// a narrow window stacks the last panels of a row on further lines instead of scrolling the
// page sideways (the keyboard's custom lighting shows three panels at once).

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <vector>

class QGridLayout;

namespace orvane::app {

class WrappingPanels : public QObject {
public:
    /// Takes the widgets of `row`'s box layout as its panels. `room` is the widget whose
    /// width the row may fill (the pages' viewport), at most `widest` of it, less `margins`.
    static void Attach(QWidget* row, QWidget* room, int widest, int margins);

    /// The line of each panel for panels of these widths in that much room (a panel wider
    /// than the room has a line of its own).
    static std::vector<int> LinesFor(const std::vector<int>& widths, int room, int spacing);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    WrappingPanels(QWidget* row, QWidget* room, int widest, int margins);
    void arrange();

    QPointer<QWidget> row_;
    QPointer<QWidget> room_;
    int widest_;
    int margins_;
    QGridLayout* grid_ = nullptr;
    std::vector<QPointer<QWidget>> panels_;
    std::vector<int> lines_;  // as last arranged
};

}  // namespace orvane::app
