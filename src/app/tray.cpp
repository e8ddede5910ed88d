// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tray.h"

namespace orvane::app {

Tray::Tray(const QIcon& icon, Callbacks callbacks, QObject* parent)
    : QObject(parent), icon_(icon), callbacks_(std::move(callbacks)) {
    icon_.setToolTip(QString::fromUtf8(kTooltip));
    icon_.setContextMenu(&menu_);
    connect(&menu_, &QMenu::aboutToShow, this, [this] {
        if (callbacks_.fillMenu) callbacks_.fillMenu(menu_);
    });
    connect(&icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger && callbacks_.leftClick) callbacks_.leftClick();
    });
}

void Tray::show() {
    if (QSystemTrayIcon::isSystemTrayAvailable()) icon_.show();
}

void Tray::remove() { icon_.hide(); }

}  // namespace orvane::app
