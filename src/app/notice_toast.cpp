// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/notice_toast.h"

#include <QEvent>

namespace orvane::app {

namespace {
constexpr int kBottomMargin = 28;
}  // namespace

NoticeToast::NoticeToast(QWidget* window) : QLabel(window) {
    setObjectName(QStringLiteral("notice_toast"));
    setAttribute(Qt::WA_TransparentForMouseEvents);  // never in the way of a click
    setAlignment(Qt::AlignCenter);
    setStyleSheet(QStringLiteral("QLabel#notice_toast { background: rgba(24, 26, 31, 235); color: #f2f3f5;"
                                 " border: 1px solid #e0323c; border-radius: 8px; padding: 9px 18px;"
                                 " font-size: 13px; font-weight: 600; }"));
    hide();
    hideTimer_.setSingleShot(true);
    hideTimer_.setInterval(kShownMs);
    connect(&hideTimer_, &QTimer::timeout, this, &QWidget::hide);
    if (window) window->installEventFilter(this);
}

void NoticeToast::showNotice(const QString& text) {
    setText(text);
    adjustSize();
    place();
    raise();
    show();
    hideTimer_.start();
}

void NoticeToast::place() {
    const QWidget* window = parentWidget();
    if (!window) return;
    move((window->width() - width()) / 2, window->height() - height() - kBottomMargin);
}

bool NoticeToast::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize && isVisible()) place();
    return QLabel::eventFilter(watched, event);
}

}  // namespace orvane::app
