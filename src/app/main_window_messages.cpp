// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's answers to everything that is not a control notification: the tray and
// its menu, the second-instance signal, activation, and the end of the program.
#include <QApplication>
#include <QDir>
#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QThread>

#include "app/main_window.h"
#include "app/tray.h"
#include "platform/autostart.h"
#include "platform/single_instance.h"
#include "ui/log.h"

namespace orvane::app {

void MainWindow::onActivationChanged(bool active) {
    qCDebug(lcShell) << "activation" << active;
    if (!active) runtime_.events.captureEnds.emit();
}

void MainWindow::onInstanceSignal() {
    qCDebug(lcShell) << "软件标示" << platform::SingleInstance::kSignalName;
    keepHiddenForDevices_ = false;  // asked for: from now on the window comes up with a device
    if (anyDeviceConnected() || trayless_) {
        bringUp();
    } else {
        hide();
        showNoDeviceMessage();
    }
}

void MainWindow::bringUp() {
    showNormal();
    raise();
    activateWindow();
}

void MainWindow::onTrayLeftClick() {
    if (!anyDeviceConnected()) {
        hide();
        showNoDeviceMessage();
        return;
    }
    if (isVisible() && !isMinimized()) {
        hide();
        return;
    }
    keepHiddenForDevices_ = false;
    showNormal();
    raise();
    activateWindow();
    update();
    scheduleRelayout(std::chrono::milliseconds(10));
}

void MainWindow::fillMenu(QMenu& menu, bool withExit) {
    const MenuCommand command = [this](const QString& name, const QString& text) { onMenuCommand(name, text); };
    FillMenu(menu, QDir(skin_.folder()).filePath(QStringLiteral("menu.xml")), language_, command);
    markLanguages(menu);
    // Start with the session: a check that says whether the autostart entry is there.
    menu.addSeparator();
    const QString autostartText = language_.has(QStringLiteral("menu_autostart_text"))
                                      ? language_.text(QStringLiteral("menu_autostart_text"))
                                      : QStringLiteral("Start with the session");
    auto* autostart = menu.addAction(autostartText);
    autostart->setObjectName(QStringLiteral("autostart"));
    autostart->setCheckable(true);
    autostart->setChecked(platform::AutostartEnabled());
    connect(autostart, &QAction::triggered, this, [this] { toggleAutostart(); });
    if (!withExit) return;
    const auto* row = ui::LanguageByIniValue(mainIni_.readInt(ui::kLanguageIniSection, ui::kLanguageIniKey, 0));
    const QString exitText = QString::fromUtf8(row ? row->exitText : ui::kLanguages[0].exitText);
    InsertMenuItem(menu, 1, QStringLiteral("exit"), exitText, command);
}

void MainWindow::markLanguages(QMenu& menu) {
    // The languages are one choice, the one in use ticked; each name is drawn in the faces
    // of its own language (简体中文 in a Chinese face in the Japanese interface too).
    auto* choice = new QActionGroup(&menu);
    for (QAction* action : menu.findChildren<QAction*>()) {
        const auto* row = ui::LanguageByTrayItem(action->objectName());
        if (!row) continue;
        action->setCheckable(true);
        action->setChecked(language_.code() == QLatin1String(row->code));
        action->setActionGroup(choice);
        QFont font = action->font();
        font.setFamilies(ui::FontFamiliesFor(QLatin1String(row->code)));
        action->setFont(font);
    }
}

void MainWindow::toggleAutostart() {
    const bool on = !platform::AutostartEnabled();
    std::string error;
    if (!platform::SetAutostart(on, QCoreApplication::applicationFilePath().toStdString(), &error))
        showMessage(QString::fromStdString(error), false);
}

void MainWindow::onMenuCommand(const QString& name, const QString& text) {
    if (const auto* row = ui::LanguageByTrayItem(name)) {
        changeLanguage(*row);
    } else if (name == QLatin1String("exit")) {
        shutdown();
    } else if (name == QLatin1String("qianting") || name == QLatin1String("Menu_Import") ||
               name == QLatin1String("Menu_Export")) {
        // items without an action
    } else {
        showMessage(text, false);  // an item the program does not know is never silent
    }
}

void MainWindow::changeLanguage(const ui::LanguageRow& row) {
    loadLanguage(row);
    mainIni_.writeInt(ui::kLanguageIniSection, ui::kLanguageIniKey, row.iniValue);
    if (machine_.setLanguage(std::to_string(row.machineValue))) qCDebug(lcShell) << "写成功！";
    runtime_.events.settingsChanged.emit(runtime::Setting::Language);  // every window reloads its texts
}

void MainWindow::reloadTexts() {
    language_.apply(this);
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top != this && top->isVisible()) language_.apply(top);
    update();
    scheduleRelayout(std::chrono::milliseconds(0));
}

runtime::StopOutcome MainWindow::shutdown() {
    if (const auto outcome = runtime_.stopOutcome()) return *outcome;
    qCDebug(lcShell) << "退出测试";
    if (tray_) tray_->remove();
    hide();
    for (QTimer* timer : {&progressHideTimer_, &flushTimer_, &relayoutTimer_}) timer->stop();
    const runtime::StopOutcome outcome = runtime_.stop();
    qCDebug(lcShell).noquote() << QString::fromUtf8(runtime::OutcomeText(outcome)).trimmed();
    Q_EMIT shutDown();
    // Only a running loop is ended: exit() without one would make every later modal loop
    // return at once (a window torn down outside exec(), as in the tests).
    if (QThread::currentThread()->loopLevel() > 0) QCoreApplication::exit(0);
    return outcome;
}

}  // namespace orvane::app
