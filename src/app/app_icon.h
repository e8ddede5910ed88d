// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QIcon>
#include <QString>

namespace orvane::app {
/// The program's icon: the skin's images/logo.svg, else a drawn badge.
QIcon AppIcon(const QString& skinFolder);
}
