#pragma once
// MainWindow: the program's one window. Built from the skin layout "XML_MAIN"; owns the
// three device connections, the workers, the timers, the tray icon, and receives every
// notification of its controls, which the router hands to their owners. It stays hidden
// (in the tray) until a device is found.

#include <QTimer>
#include <QWidget>

#include <array>
#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>

#include "app/lighting_phase.h"
#include "app/router.h"
#include "app/shell_hooks.h"
#include "app/ui_dispatcher.h"
#include "app/workers.h"
#include "device/hid/hid_backend.h"
#include "device/protocol/connection.h"
#include "platform/ini_file.h"
#include "platform/machine_settings.h"
#include "platform/paths.h"
#include "ui/control_index.h"
#include "ui/dialogs.h"
#include "ui/language.h"
#include "ui/notify_bridge.h"
#include "ui/preview.h"
#include "ui/skin_loader.h"

class QMenu;

namespace orvane::app {

class Tray;

class MainWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr char kTitle[] = "Orvane Gaming Software";
    static constexpr QSize kSize{800, 572};
    static constexpr size_t kPreviewCount = 20 + 15 + 126;

    struct Options {
        QString skinFolder = ui::DefaultSkinFolder();
        std::filesystem::path mainIni;          ///< empty: the data folder's main.ini
        std::filesystem::path machineSettings;  ///< empty: the default machine settings
        ui::Dialogs* dialogs = nullptr;         ///< null: real message boxes
        std::chrono::milliseconds stopBound = WorkerSet::kStopBound;
        bool tray = true;
    };

    MainWindow(hid::Backend& backend, Options options, QWidget* parent = nullptr);
    ~MainWindow() override;

    /// Looks up the window-level controls and previews, then does the "windowinit" work:
    /// skin image, page lists, device identities, language choice, workers and timers.
    void initialise();

    // --- what the pages use ---------------------------------------------------------------
    QWidget* control(const QString& name) const { return controls_.find(name); }
    template <class T>
    T* control(const QString& name) const { return controls_.find<T>(name); }
    Router& router() { return router_; }
    ShellHooks& hooks() { return hooks_; }
    WorkerSet& workers() { return workers_; }
    UiDispatcher& dispatcher() { return dispatcher_; }
    LightingPhase& phase() { return phase_; }
    ui::Language& language() { return language_; }
    /// Message boxes and file choices (scripted in tests).
    ui::Dialogs& dialogs() { return *dialogs_; }
    const ui::SkinLoader& skin() const { return skin_; }
    ui::NotifyBridge& bridge() { return bridge_; }
    platform::IniFile& mainIni() { return mainIni_; }
    platform::MachineSettings& machineSettings() { return machine_; }
    protocol::DeviceConnection& keyboard() { return *keyboard_; }
    protocol::DeviceConnection& mouse() { return *mouse_; }
    protocol::DeviceConnection& mousepad() { return *mousepad_; }
    bool anyDeviceConnected() const;
    /// Preview overlays: mouse 0-19, mousepad 20-34, keyboard 35-160 (null where the skin
    /// has no such control).
    const std::array<ui::PreviewOverlay*, kPreviewCount>& previews() const { return previews_; }

    /// A notification of one of the window's controls.
    void notify(const ui::Notification& n);
    /// Ends a page option's selection change: keeps an editor with unsaved macro edits,
    /// else ends input capture and switches "tab_switch" for the device tabs. false when
    /// the macro editor was kept.
    bool finishSelectionChange(const QString& option);
    int showMessage(const QString& text, bool textIsId);
    /// "message_text_1", unless the box this raised is still open.
    void showNoDeviceMessage();
    /// Timer 7: relayout after a device connects or the window is restored.
    void scheduleRelayout(std::chrono::milliseconds delay);
    void changeLanguage(const ui::LanguageRow& row);
    /// Re-applies the current language's texts to every window.
    void reloadTexts();
    /// The tray menu (or the menubtn menu when withExit is false) as it would open now.
    void fillMenu(QMenu& menu, bool withExit);

    // --- window messages -------------------------------------------------------------------
    void onActivationChanged(bool active);
    void onInstanceSignal();
    void onTrayLeftClick();
    void onMenuCommand(const QString& name, const QString& text);
    void onKeyboardKeyCaptured(const CapturedInput& input);
    void onKeyboardMacroKey(const CapturedInput& input);
    void onKeyboardMacroMouse(const CapturedInput& input);
    void onMouseKeyCaptured(const CapturedInput& input);
    void onMouseMacroKey(const CapturedInput& input);
    void onMouseMacroMouse(const CapturedInput& input);
    void onMouseReadBackRequest();
    void onMouseSlotZeroReload();
    void onPadReadBackRequest();
    void showSettingProgress();
    void hideSettingProgressSoon();
    void onLastDeviceGone();
    void onNewVersionAvailable();
    void onTextsChanged();
    /// The end of the program: hide, stop the workers (bounded), release the devices in the
    /// order mousepad, mouse, keyboard, quit the event loop. Later calls return the first
    /// outcome.
    StopOutcome shutdown();
    std::optional<StopOutcome> shutdownOutcome() const { return outcome_; }

signals:
    void shutDown();

protected:
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    void onWindowControl(const ui::Notification& n);
    void onDeviceTab(const ui::Notification& n);
    void applySkinImage();
    void writeDeviceIdentities();
    void applyLanguageAtStart();
    void loadLanguage(const ui::LanguageRow& row);
    void startWorkersAndTimers();
    void onTimer1();
    void onTimer2();
    void releaseDevices();
    bool keepMacroEditor(const char* bar, const char* macroTab, std::initializer_list<const char*> tabs,
                         const QString& option);
    void selectDeviceTab(const QString& tab);

    Options options_;
    ui::SkinLoader skin_;
    ui::ControlIndex controls_;
    ui::NotifyBridge bridge_;
    ui::Language language_;
    std::unique_ptr<ui::Dialogs> ownDialogs_;
    ui::Dialogs* dialogs_;
    Router router_;
    ShellHooks hooks_;
    UiDispatcher dispatcher_;
    LightingPhase phase_;
    platform::IniFile mainIni_;
    platform::MachineSettings machine_;

    std::unique_ptr<protocol::DeviceConnection> keyboard_;
    std::unique_ptr<protocol::DeviceConnection> mouse_;
    std::unique_ptr<protocol::DeviceConnection> mousepad_;
    WorkerSet workers_;

    QTimer timer1_;  // hides "setting_progress"
    QTimer timer2_;  // flushes the mouse and mousepad records
    QTimer timer3_;  // lighting phase
    QTimer timer7_;  // relayout
    std::unique_ptr<Tray> tray_;
    std::array<ui::PreviewOverlay*, kPreviewCount> previews_{};
    bool noDeviceBoxOpen_ = false;
    std::optional<StopOutcome> outcome_;
};

}  // namespace orvane::app
