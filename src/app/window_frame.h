// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The behaviour of a window without the desktop's frame, as the desktop's own frame has it:
// a press dragged on an edge or corner resizes the window through the window manager
// (QWindow::startSystemResize), the pointer takes the resize shape over the edges, and a
// double click on the title bar maximises or restores. Only a drag starts a resize: a
// click on an edge stays a click, as on the background (where a drag moves the window).

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include <optional>

class QMouseEvent;

namespace orvane::app {

class WindowFrame : public QObject {
public:
    /// How far in from the window's border a press resizes it (logical pixels); a corner
    /// takes a longer stretch of both its edges.
    static constexpr int kEdgeWidth = 6;
    static constexpr int kCornerLength = 16;

    /// Watches `window` (owned by it); `titleBar` is the area whose double click maximises.
    static WindowFrame* Attach(QWidget* window, QWidget* titleBar);
    ~WindowFrame() override { showEdgeCursor({}); }

    /// The edges a point of a window of that size resizes (none for the inside).
    static Qt::Edges EdgesAt(QPoint at, QSize size);
    static Qt::CursorShape CursorFor(Qt::Edges edges);

    /// Maximised ⇄ normal, as the title's double click and the maximise button do.
    static void ToggleMaximised(QWidget& window);

    /// Off while the desktop's own frame is around the window: its edges and title bar do
    /// all of this then.
    void setActive(bool active);
    bool active() const { return active_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    WindowFrame(QWidget* window, QWidget* titleBar);
    bool resizable() const;
    bool onMouse(QMouseEvent* e);
    void showEdgeCursor(Qt::Edges edges);

    QPointer<QWidget> window_;
    QPointer<QWidget> titleBar_;
    QPointer<QWindow> handle_;  // the native window watched
    /// The edges and place of a left press on an edge, until it is dragged or released.
    Qt::Edges pressEdges_;
    QPoint pressAt_;
    bool cursorShown_ = false;  // our override cursor is on the application's stack
    bool active_ = true;
};

}  // namespace orvane::app
