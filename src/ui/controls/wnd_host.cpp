// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/wnd_host.h"

namespace orvane::ui {

WndHost::WndHost(QWidget* parent) : QWidget(parent) {}

void WndHost::attach(QWidget* hosted) {
    hosted_ = hosted;
    follow();
}

void WndHost::follow() {
    if (!hosted_) return;
    QRect target(QPoint(0, 0), size());
    if (hosted_->isWindow()) target.moveTopLeft(mapToGlobal(QPoint(0, 0)));
    else if (hosted_->parentWidget()) target.moveTopLeft(mapTo(hosted_->window(), QPoint(0, 0)) -
                                                         hosted_->parentWidget()->mapTo(hosted_->window(), QPoint(0, 0)));
    hosted_->setGeometry(target);
    hosted_->setVisible(isVisible());
}

void WndHost::moveEvent(QMoveEvent*) { follow(); }
void WndHost::resizeEvent(QResizeEvent*) { follow(); }
void WndHost::showEvent(QShowEvent*) { follow(); }
void WndHost::hideEvent(QHideEvent*) { follow(); }

}  // namespace orvane::ui
