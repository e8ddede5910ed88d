// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// FunctionSet: the settings window, from the skin layout "function_set.xml". It shows the
// installed and newest versions of the software and of the RGB keyboard, starts the
// updater, changes the language and opens the brand's pages.
//
// Which device areas show follows the keyboard kind and the mouse's presence; an RGB
// keyboard that connects or goes while the window is open shows or hides its area. Every
// server request (the versions on opening and on a keyboard's arrival, an update button's
// registration) runs off the window's thread; "closebtn" closes at once and cancels what
// still runs.

#include <QDialog>

#include <functional>
#include <optional>

#include "app/features/update_queries.h"
#include "platform/ini_file.h"
#include "platform/machine_settings.h"
#include "runtime/runtime.h"
#include "ui/control_index.h"
#include "ui/language.h"
#include "ui/notify_bridge.h"
#include "ui/pages/page_bindings.h"
#include "ui/skin_loader.h"
#include "update/settings_view.h"
#include "update/version_check.h"

namespace orvane::app {

struct SettingsEnv {
    runtime::Runtime* runtime = nullptr;
    const ui::SkinLoader* skin = nullptr;
    const ui::Language* language = nullptr;
    platform::IniFile* mainIni = nullptr;
    const platform::MachineSettings* machine = nullptr;
    /// Loads the language, keeps it in main.ini and the machine settings, reloads the texts.
    std::function<void(const ui::LanguageRow&)> changeLanguage;
    UpdateQueries::MakeClient makeClient;
    /// Opens a web page with the desktop's handler.
    std::function<void(const QString& url)> openUrl;
    update::UpdaterProgram updater;
    /// Puts the desktop's frame around the main window, or the program's own, at once.
    std::function<void(bool desktopFrame)> useDesktopFrame;
    /// Shows a message box (a text id) over the settings window.
    std::function<void(const char* textId)> tell;
};

class FunctionSet : public QDialog {
    Q_OBJECT
public:
    static constexpr int kClosed = 2;  ///< the result of "closebtn"

    FunctionSet(QWidget* owner, SettingsEnv env);
    ~FunctionSet() override;

    QWidget* control(const QString& name) const { return controls_.find(name); }
    /// A device came or went while the window is open: the areas follow the presence flags
    /// (an RGB keyboard that arrived shows its area and asks for its versions).
    void devicesChanged();
    /// Shows the texts of the current language again (the version words included).
    void retranslate();

private:
    void onNotify(const ui::Notification& n);
    void startQueries();
    void requestUpdate(const char* button);
    void selectCurrentLanguage();
    /// The SDK server's check box and port as main.ini holds them; a change is written there
    /// and told with settingsChanged(SdkServer), which the server follows.
    void showSdkServer();
    void storeSdkServer();
    /// The frame choice as main.ini holds it; a change is written there and applied.
    void showDesktopFrame();
    void storeDesktopFrame();
    void showSoftware(const update::VersionLine& line);
    void showKeyboard(const update::VersionLine& line);
    void showLine(const char* installed, const char* newest, const char* button, const update::VersionLine& line);
    QString versionText(const std::string& text) const;
    void openPage(const std::optional<std::string>& url, const char* what);

    SettingsEnv env_;
    ui::ControlIndex controls_;
    ui::NotifyBridge bridge_;
    ui::pages::PageBindings bindings_;
    std::optional<update::VersionLine> software_, keyboard_;
    std::string installedSoftware_;
    uint16_t keyboardVersion_ = 0;
    bool rgbKeyboardShown_ = false;
    /// Why no version can be asked for (no or no usable update server); shown as the
    /// "latest" fields' tooltip.
    std::optional<std::string> checkProblem_;
    void showCheckProblem();  ///< devicesChanged saw an RGB keyboard last time
    UpdateQueries queries_;
};

}  // namespace orvane::app
