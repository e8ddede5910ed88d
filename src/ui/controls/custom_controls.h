// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's own controls, made by class name for the skins (placeholders carrying a
// "customClass" property).

#include <QString>
#include <QWidget>

namespace orvane::ui {

/// A new control of that class, or null for a class name that is not ours. Skin attributes
/// are read from the placeholder's dynamic properties; image paths are relative to
/// skinFolder.
QWidget* CreateCustomControl(const QString& className, const QWidget& placeholder,
                             const QString& skinFolder);

}  // namespace orvane::ui
