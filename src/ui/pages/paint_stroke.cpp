// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/pages/paint_stroke.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace orvane::ui::pages {

PaintStroke::PaintStroke(QString prefix, Paint paint, QObject* parent)
    : QObject(parent), prefix_(std::move(prefix)), paint_(std::move(paint)) {}

void PaintStroke::watch(QWidget* key) {
    if (key) key->installEventFilter(this);
}

int PaintStroke::keyAt(QPoint global) const {
    for (QWidget* w = QApplication::widgetAt(global); w; w = w->parentWidget()) {
        const QString name = w->objectName();
        if (!name.startsWith(prefix_)) continue;
        bool ok = false;
        const int key = name.mid(prefix_.size()).toInt(&ok);
        return ok && w->isEnabled() ? key : -1;
    }
    return -1;
}

void PaintStroke::paintOnce(int key) {
    if (key < 0 || !painted_.insert(key).second) return;
    paint_(key);
}

bool PaintStroke::eventFilter(QObject* watched, QEvent* event) {
    auto* key = qobject_cast<QWidget*>(watched);
    if (!key) return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton || !key->isEnabled()) return false;
        stroking_ = true;
        painted_.clear();
        paintOnce(key->objectName().mid(prefix_.size()).toInt());
        return true;  // the stroke paints: the button's own click would paint the key again
    }
    case QEvent::MouseMove: {
        if (!stroking_) return false;
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (!(mouse->buttons() & Qt::LeftButton)) {
            stroking_ = false;  // the release went elsewhere
            return false;
        }
        paintOnce(keyAt(mouse->globalPosition().toPoint()));
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (!stroking_ || static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) return false;
        stroking_ = false;
        return true;
    default:
        return false;
    }
}

}  // namespace orvane::ui::pages
