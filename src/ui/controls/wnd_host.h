// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// WndHost: a place in a layout that a separate window is kept on top of: whenever the host
// moves, resizes, shows or hides, the hosted window follows. With nothing hosted it is a
// plain widget.

#include <QPointer>
#include <QWidget>

namespace orvane::ui {

class WndHost : public QWidget {
    Q_OBJECT
public:
    explicit WndHost(QWidget* parent = nullptr);

    void attach(QWidget* hosted);
    QWidget* hosted() const { return hosted_; }

protected:
    void moveEvent(QMoveEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void showEvent(QShowEvent*) override;
    void hideEvent(QHideEvent*) override;

private:
    void follow();
    QPointer<QWidget> hosted_;
};

}  // namespace orvane::ui
