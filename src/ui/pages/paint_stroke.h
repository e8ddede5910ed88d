// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A paint stroke across the keys of a picture: the left button pressed on one key paints
// it, and every other key the pointer passes over while the button is held is painted
// too, each once per stroke. A button grabs the pointer while pressed, so the keys under
// a drag would never see it themselves; the stroke follows the grab and looks up the key
// under the pointer.

#include <QObject>
#include <QString>

#include <functional>
#include <set>

class QWidget;

namespace orvane::ui::pages {

class PaintStroke : public QObject {
public:
    using Paint = std::function<void(int key)>;
    /// Keys are the widgets named `prefix` + number.
    PaintStroke(QString prefix, Paint paint, QObject* parent = nullptr);

    /// Follows the presses and drags on this key.
    void watch(QWidget* key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// The number of the key at a global position, or -1.
    int keyAt(QPoint global) const;
    void paintOnce(int key);

    QString prefix_;
    Paint paint_;
    bool stroking_ = false;
    std::set<int> painted_;  ///< the keys of the stroke so far
};

}  // namespace orvane::ui::pages
