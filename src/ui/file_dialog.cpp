// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/file_dialog.h"

#include <QDir>
#include <QFileDialog>

namespace orvane::ui {

QStringList QtNameFilters(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        const QString pattern = parts[i + 1].trimmed();
        if (description.isEmpty() && pattern.isEmpty()) break;  // the closing "||"
        if (pattern.isEmpty()) continue;
        filters << (description.contains(QLatin1Char('(') + pattern + QLatin1Char(')'))
                        ? description
                        : (description.isEmpty() ? pattern : description) + QStringLiteral(" (") + pattern + QLatin1Char(')'));
    }
    return filters;
}

QString ChooseFileWithQt(QWidget* owner, const FileChoice& choice) {
    QFileDialog dialog(owner);
    dialog.setAcceptMode(choice.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(choice.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!choice.confirmOverwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    const QStringList filters = QtNameFilters(choice.filter);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    if (choice.executables) dialog.setFilter(QDir::AllDirs | QDir::Files | QDir::Executable | QDir::NoDotAndDotDot);
    if (!choice.defaultExtension.isEmpty()) dialog.setDefaultSuffix(choice.defaultExtension);
    // A wildcard start name ("*.led") is what the filter already shows.
    if (!choice.initialName.isEmpty() && !choice.initialName.contains(QLatin1Char('*')))
        dialog.selectFile(choice.initialName);
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles().value(0);
}

}  // namespace orvane::ui
