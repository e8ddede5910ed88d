// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The real file dialogs behind Dialogs::chooseFile.

#include <QStringList>

#include "ui/dialogs.h"

namespace orvane::ui {

/// Qt name filters of a "description|pattern|description|pattern||" filter:
/// "(*.led) | *.led |(*.*)|*.*||" → {"(*.led)", "(*.*)"}; a description that does not show
/// its pattern gets it appended in parentheses.
QStringList QtNameFilters(const QString& filter);

/// Shows the open or save dialog; the chosen path, or empty when cancelled. A save asks
/// before it overwrites and adds the default extension to a name typed without one.
QString ChooseFileWithQt(QWidget* owner, const FileChoice& choice);

}  // namespace orvane::ui
