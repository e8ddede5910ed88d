// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// NoticeToast: a short confirmation ("Applied to the mouse") over the bottom of the window
// for a few seconds, with nothing to click; a newer notice replaces the one shown. It keeps
// its place at the bottom centre when the window is resized or maximised.

#include <QLabel>
#include <QTimer>

namespace orvane::app {

class NoticeToast : public QLabel {
public:
    static constexpr int kShownMs = 2500;

    explicit NoticeToast(QWidget* window);
    void showNotice(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void place();
    QTimer hideTimer_;
};

}  // namespace orvane::app
