// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// NotifyBridge: turns the signals of a skin's widgets into notifications {type, sender}:
//   buttons             "click"; checkable ones also "selectchanged"; "msenter"/"msleave"
//   combo boxes         "itemselect" (also when code selects an item)
//   list widgets        "itemselect" (current row), "itemclick"
//   sliders, spin boxes "movevaluechanged" while dragged, "valuechanged" otherwise
//   line edits          "textchanged" (user edits only, as with a native edit's change)
// A change made by code that must not notify goes through Silently(), which blocks the
// widget's signals for the duration.

#include <QObject>
#include <QWidget>

#include <functional>

#include "ui/notification.h"

namespace orvane::ui {

class NotifyBridge : public QObject {
    Q_OBJECT
public:
    using Sink = std::function<void(const Notification&)>;

    explicit NotifyBridge(Sink sink, QObject* parent = nullptr);

    /// Connects root and all its descendants; widgets already connected are skipped, so it
    /// may be called again after controls were added.
    void attach(QWidget* root);
    /// Raises a notification for a control (custom controls, "colorchanged" ...).
    void notify(const QString& type, QWidget* control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void attachOne(QWidget* w);
    Sink sink_;
};

/// Runs change() with the widget's signals blocked: the change raises no notification.
template <class W, class F>
void Silently(W* widget, F&& change) {
    if (!widget) return;
    const bool was = widget->blockSignals(true);
    change(widget);
    widget->blockSignals(was);
}

}  // namespace orvane::ui
