// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/app_icon.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPixmap>

namespace orvane::app {

QIcon AppIcon(const QString& skinFolder) {
    for (const char* name : {"images/logo.svg", "images/tray.svg", "images/logo.png"}) {
        const QString path = QDir(skinFolder).filePath(QLatin1String(name));
        if (QFileInfo::exists(path)) return QIcon(path);
    }
    QPixmap badge(64, 64);
    badge.fill(Qt::transparent);
    QPainter p(&badge);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xe0, 0x32, 0x3c));
    p.drawEllipse(4, 4, 56, 56);
    p.setBrush(QColor(0x12, 0x14, 0x18));
    p.drawEllipse(18, 18, 28, 28);
    return QIcon(badge);
}

}  // namespace orvane::app
