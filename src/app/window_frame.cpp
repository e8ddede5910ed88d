// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/window_frame.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEnterEvent>
#include <QEvent>
#include <QMouseEvent>
#include <QWindow>

namespace orvane::app {

WindowFrame* WindowFrame::Attach(QWidget* window, QWidget* titleBar) {
    if (!window) return nullptr;
    return new WindowFrame(window, titleBar);
}

WindowFrame::WindowFrame(QWidget* window, QWidget* titleBar) : QObject(window), window_(window), titleBar_(titleBar) {
    // The native window exists from the first show on; its events come before any child
    // widget's, so an edge is an edge even where a button reaches it.
    window->installEventFilter(this);
}

Qt::Edges WindowFrame::EdgesAt(QPoint at, QSize size) {
    const auto near = [](int v, int limit, int reach) { return v < reach ? -1 : (v >= limit - reach ? 1 : 0); };
    const int x = near(at.x(), size.width(), kEdgeWidth);
    const int y = near(at.y(), size.height(), kEdgeWidth);
    if (x == 0 && y == 0) return {};
    // On an edge, the stretch near a corner takes that corner's other edge too.
    const int cornerX = x != 0 ? x : near(at.x(), size.width(), kCornerLength);
    const int cornerY = y != 0 ? y : near(at.y(), size.height(), kCornerLength);
    Qt::Edges edges;
    if (cornerX < 0) edges |= Qt::LeftEdge;
    if (cornerX > 0) edges |= Qt::RightEdge;
    if (cornerY < 0) edges |= Qt::TopEdge;
    if (cornerY > 0) edges |= Qt::BottomEdge;
    return edges;
}

Qt::CursorShape WindowFrame::CursorFor(Qt::Edges edges) {
    const bool horizontal = edges & (Qt::LeftEdge | Qt::RightEdge);
    const bool vertical = edges & (Qt::TopEdge | Qt::BottomEdge);
    if (horizontal && vertical) {
        const bool falling = bool(edges & Qt::LeftEdge) == bool(edges & Qt::TopEdge);  // ↖↘
        return falling ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
    }
    if (horizontal) return Qt::SizeHorCursor;
    if (vertical) return Qt::SizeVerCursor;
    return Qt::ArrowCursor;
}

void WindowFrame::ToggleMaximised(QWidget& window) {
    if (window.isMaximized()) window.showNormal();
    else window.showMaximized();
}

void WindowFrame::setActive(bool active) {
    active_ = active;
    pressEdges_ = {};
    showEdgeCursor({});
}

bool WindowFrame::resizable() const {
    return window_ && !(window_->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized)) &&
           window_->minimumSize() != window_->maximumSize();
}

void WindowFrame::showEdgeCursor(Qt::Edges edges) {
    if (edges && !cursorShown_) {
        QGuiApplication::setOverrideCursor(QCursor(CursorFor(edges)));
        cursorShown_ = true;
    } else if (edges) {
        QGuiApplication::changeOverrideCursor(QCursor(CursorFor(edges)));
    } else if (cursorShown_) {
        QGuiApplication::restoreOverrideCursor();
        cursorShown_ = false;
    }
}

bool WindowFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_) {
        // A change of the window's flags (the desktop's frame on or off) may give it a new
        // native window.
        if (QWindow* handle = window_->windowHandle(); handle && handle != handle_) {
            handle->installEventFilter(this);
            handle_ = handle;
        }
        if (event->type() == QEvent::Hide || event->type() == QEvent::WindowStateChange) showEdgeCursor({});
        return false;
    }
    if (!active_) return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: return onMouse(static_cast<QMouseEvent*>(event));
    case QEvent::Enter: {
        // The pointer may come in straight onto an edge, with no move after it.
        const QPoint at = static_cast<QEnterEvent*>(event)->position().toPoint();
        if (!pressEdges_) showEdgeCursor(resizable() ? EdgesAt(at, window_->size()) : Qt::Edges{});
        return false;
    }
    case QEvent::Leave:
        if (!pressEdges_) showEdgeCursor({});
        return false;
    default: return false;
    }
}

bool WindowFrame::onMouse(QMouseEvent* e) {
    const QPoint at = e->position().toPoint();
    switch (e->type()) {
    case QEvent::MouseButtonDblClick: {
        if (e->button() != Qt::LeftButton || !titleBar_ || EdgesAt(at, window_->size())) return false;
        QWidget* hit = window_->childAt(at);
        if (!hit || !(hit == titleBar_ || titleBar_->isAncestorOf(hit)) || qobject_cast<QAbstractButton*>(hit)) return false;
        ToggleMaximised(*window_);
        return true;
    }
    case QEvent::MouseButtonPress: {
        const Qt::Edges edges = resizable() ? EdgesAt(at, window_->size()) : Qt::Edges{};
        if (e->button() != Qt::LeftButton || !edges) return false;
        pressEdges_ = edges;
        pressAt_ = at;
        return true;  // the edge's, not the control's under it
    }
    case QEvent::MouseMove:
        if (pressEdges_) {
            if ((e->buttons() & Qt::LeftButton) && (at - pressAt_).manhattanLength() >= QApplication::startDragDistance()) {
                const Qt::Edges edges = pressEdges_;
                pressEdges_ = {};
                showEdgeCursor({});
                window_->windowHandle()->startSystemResize(edges);
            }
            return true;
        }
        if (e->buttons() == Qt::NoButton) showEdgeCursor(resizable() ? EdgesAt(at, window_->size()) : Qt::Edges{});
        return false;
    case QEvent::MouseButtonRelease:
        if (!pressEdges_ || e->button() != Qt::LeftButton) return false;
        pressEdges_ = {};  // a click on an edge: nothing happens
        return true;
    default: return false;
    }
}

}  // namespace orvane::app
