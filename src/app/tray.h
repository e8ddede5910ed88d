// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The notification-area icon: tooltip "Orvane Gaming Software 3.0"; a left click and the
// pop-up menu (skin menu.xml plus "exit" in second place) are reported to the window.

#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>

#include <functional>

#include "app/popup_menu.h"

namespace orvane::app {

class Tray : public QObject {
    Q_OBJECT
public:
    static constexpr char kTooltip[] = "Orvane Gaming Software 3.0";

    struct Callbacks {
        std::function<void()> leftClick;
        /// Fills the menu just before it opens (so it shows the current language).
        std::function<void(QMenu&)> fillMenu;
    };

    Tray(const QIcon& icon, Callbacks callbacks, QObject* parent = nullptr);

    void show();
    void remove();
    QMenu& menu() { return menu_; }
    bool visible() const { return icon_.isVisible(); }

private:
    QSystemTrayIcon icon_;
    QMenu menu_;
    Callbacks callbacks_;
};

}  // namespace orvane::app
