// The main window's answers to everything that is not a control notification: the tray and
// its menu, the second-instance signal, captured input, requests of the worker threads,
// the timers and the end of the program.
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QThread>

#include "app/main_window.h"
#include "app/tray.h"
#include "platform/single_instance.h"
#include "ui/log.h"

namespace orvane::app {

namespace {
const char kSkinSection[] = "SKINIMAGE";

void Call(const std::function<void()>& hook) {
    if (hook) hook();
}
void Call(const std::function<void(const CapturedInput&)>& hook, const CapturedInput& input) {
    if (hook) hook(input);
}
}  // namespace

void MainWindow::onActivationChanged(bool active) {
    qCDebug(lcShell) << "activation" << active;
    if (!active) Call(hooks_.removeInputHooks);
}

void MainWindow::onInstanceSignal() {
    qCDebug(lcShell) << "软件标示" << platform::SingleInstance::kSignalName;
    if (anyDeviceConnected()) {
        showNormal();
        raise();
        activateWindow();
    } else {
        hide();
        showNoDeviceMessage();
    }
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
    showNormal();
    raise();
    activateWindow();
    update();
    scheduleRelayout(std::chrono::milliseconds(10));
}

void MainWindow::fillMenu(QMenu& menu, bool withExit) {
    const MenuCommand command = [this](const QString& name, const QString& text) { onMenuCommand(name, text); };
    FillMenu(menu, QDir(skin_.folder()).filePath(QStringLiteral("menu.xml")), language_, command);
    if (!withExit) return;
    const auto* row = ui::LanguageByIniValue(mainIni_.readInt(kSkinSection, "LANGUAGE", 0));
    const QString exitText = QString::fromUtf8(row ? row->exitText : ui::kLanguages[0].exitText);
    InsertMenuItem(menu, 1, QStringLiteral("exit"), exitText, command);
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
    mainIni_.writeInt(kSkinSection, "LANGUAGE", row.iniValue);
    if (machine_.setLanguage(std::to_string(row.machineValue))) qCDebug(lcShell) << "写成功！";
    reloadTexts();
}

void MainWindow::reloadTexts() {
    language_.apply(this);
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top != this && top->isVisible()) language_.apply(top);
    update();
    scheduleRelayout(std::chrono::milliseconds(0));
}

void MainWindow::onTextsChanged() { reloadTexts(); }

void MainWindow::onKeyboardKeyCaptured(const CapturedInput& input) {
    qCDebug(lcShell) << "WM_HOOK_KEY_SINGLEKEY";
    Call(hooks_.keyboardKeyCaptured, input);
}

void MainWindow::onKeyboardMacroKey(const CapturedInput& input) {
    qCDebug(lcShell) << "WM_HOOK_KEY_MACRO";
    Call(hooks_.keyboardMacroKey, input);
}

void MainWindow::onKeyboardMacroMouse(const CapturedInput& input) { Call(hooks_.keyboardMacroMouse, input); }

void MainWindow::onMouseKeyCaptured(const CapturedInput& input) {
    qCDebug(lcShell) << "WM_HOOK_MOU_SINGLEKEY";
    Call(hooks_.mouseKeyCaptured, input);
}

void MainWindow::onMouseMacroKey(const CapturedInput& input) {
    qCDebug(lcShell) << "WM_HOOK_MOU_MACRO";
    Call(hooks_.mouseMacroKey, input);
}

void MainWindow::onMouseMacroMouse(const CapturedInput& input) { Call(hooks_.mouseMacroMouse, input); }

void MainWindow::onMouseReadBackRequest() { Call(hooks_.readBackMouse); }
void MainWindow::onMouseSlotZeroReload() { Call(hooks_.reloadMouseSlotZero); }
void MainWindow::onPadReadBackRequest() { Call(hooks_.readBackPad); }

void MainWindow::showSettingProgress() {
    if (QWidget* progress = control(QStringLiteral("setting_progress"))) progress->show();
}

void MainWindow::hideSettingProgressSoon() { timer1_.start(); }

void MainWindow::onTimer1() {
    timer1_.stop();
    if (QWidget* progress = control(QStringLiteral("setting_progress"))) progress->hide();
}

void MainWindow::onTimer2() {
    Call(hooks_.flushMouse);
    Call(hooks_.flushPad);
}

void MainWindow::onLastDeviceGone() { Call(hooks_.closeSettingsWindow); }

void MainWindow::onNewVersionAvailable() { Call(hooks_.openSettingsWindow); }

StopOutcome MainWindow::shutdown() {
    if (outcome_) return *outcome_;
    qCDebug(lcShell) << "退出测试";
    if (tray_) tray_->remove();
    hide();
    for (QTimer* timer : {&timer1_, &timer2_, &timer3_, &timer7_}) timer->stop();
    outcome_ = workers_.stopAll(options_.stopBound);
    qCDebug(lcShell).noquote() << QString::fromUtf8(OutcomeText(*outcome_)).trimmed();
    releaseDevices();
    emit shutDown();
    // Only a running loop is ended: exit() without one would make every later modal loop
    // return at once (a window torn down outside exec(), as in the tests).
    if (QThread::currentThread()->loopLevel() > 0) QCoreApplication::exit(0);
    return *outcome_;
}

void MainWindow::releaseDevices() {
    // Workers left running past the bound may still use the connections: those are kept
    // (reachable, so not a leak) until the process ends instead of being freed under them.
    static std::vector<std::unique_ptr<protocol::DeviceConnection>> keptForStragglers;
    for (auto* connection : {&mousepad_, &mouse_, &keyboard_}) {
        auto& c = **connection;
        {
            std::lock_guard guard(c.lock);
            c.connected = false;
            c.vendorId = c.productId = c.usage = c.usagePage = 0;
        }
        c.device.close();
        if (*outcome_ == StopOutcome::TimedOut) keptForStragglers.push_back(std::move(*connection));
        else connection->reset();
    }
}

}  // namespace orvane::app
