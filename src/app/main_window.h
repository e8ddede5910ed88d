// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// MainWindow: the program's one window. Built from the skin layout "XML_MAIN"; it gives the
// features what every page needs — controls by name, the router, message boxes and file
// choices, the language — and keeps the window's own behaviour: its title buttons, the
// device tabs, the tray icon, the progress ring, the relayout timer and the 1-second flush
// tick. It knows no feature: features subscribe to the runtime's events and bind their pages
// to the router. It stays hidden (in the tray) until a device is found.

#include <QSet>
#include <QTimer>
#include <QWidget>

#include <array>
#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>

#include "app/preview_layout.h"
#include "app/router.h"
#include "platform/ini_file.h"
#include "platform/machine_settings.h"
#include "platform/paths.h"
#include "runtime/runtime.h"
#include "ui/control_index.h"
#include "ui/dialogs.h"
#include "ui/language.h"
#include "ui/notify_bridge.h"
#include "ui/pages/page_bindings.h"
#include "ui/pages/leave_check.h"
#include "ui/pages/page_controls.h"
#include "ui/pages/page_table.h"
#include "ui/preview.h"
#include "ui/skin_loader.h"

class QMenu;

namespace orvane::app {

class NoticeToast;
class WindowFrame;
class Tray;

class MainWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr char kTitle[] = "Orvane Gaming Software";
    static constexpr QSize kSize{800, 572};
    /// Small enough for 1366 × 768 at a scale of 1.5; the pages scroll below their size.
    static constexpr QSize kMinimumSize{720, 460};
    /// The pages grow with the window up to this width and stay centred beyond it.
    static constexpr int kMaximumContentWidth = 1180;
    /// The room the pages' margins and a scroll bar take beside a page's content.
    static constexpr int kPageMargins = 48;
    static constexpr size_t kPreviewCount = kPreviewCellCount;

    struct Options {
        QString skinFolder = ui::DefaultSkinFolder();
        std::filesystem::path mainIni;          ///< empty: the data folder's main.ini
        std::filesystem::path machineSettings;  ///< empty: the default machine settings
        ui::Dialogs* dialogs = nullptr;         ///< null: real message boxes
        bool tray = true;
        /// Started from the session's autostart entry: the window does not come up when a
        /// device arrives; the tray icon shows it.
        bool startMinimized = false;
        /// Whether the desktop has a system tray; nullopt: ask Qt. Without one (and with
        /// `tray` wanted) the window is the program's only face: it shows a "no device"
        /// page instead of hiding, and closing asks whether to quit.
        std::optional<bool> trayAvailable = std::nullopt;
        /// A "LANGUAGE" value for this run only (screenshots): shown, never stored.
        std::optional<int> language = std::nullopt;
        /// `--sdk-server[=PORT]`: the SDK server runs on this port this run, whatever main.ini
        /// says; nothing is stored.
        std::optional<uint16_t> sdkServerPort = std::nullopt;
        /// Offer the D-Bus service (io.orvane.Configurator1) on the session bus: the program
        /// with real devices, or `--dbus`. Off by default, so that test programs on emulated
        /// devices never answer for the user's devices.
        bool busService = false;
    };

    MainWindow(runtime::Runtime& runtime, Options options, QWidget* parent = nullptr);
    ~MainWindow() override;

    /// The "windowinit" work once the features are installed: window-level controls and
    /// previews, skin image, language choice, then the runtime's workers and the timers.
    void initialise();

    // --- what the features use ---------------------------------------------------------------
    QWidget* control(const QString& name) const { return controls_.find(name); }
    template <class T>
    T* control(const QString& name) const { return controls_.find<T>(name); }
    /// Control lookup for page controllers.
    ui::pages::ControlLookup lookup() const;
    Router& router() { return router_; }
    runtime::Runtime& runtime() { return runtime_; }
    ui::Language& language() { return language_; }
    const Options& options() const { return options_; }
    /// Message boxes and file choices (scripted in tests).
    ui::Dialogs& dialogs() { return *dialogs_; }
    const ui::SkinLoader& skin() const { return skin_; }
    ui::NotifyBridge& bridge() { return bridge_; }
    platform::IniFile& mainIni() { return mainIni_; }
    platform::MachineSettings& machineSettings() { return machine_; }
    bool anyDeviceConnected() const { return runtime_.anyConnected(); }
    /// Preview overlays in the order of preview_layout.h (null where the skin has none).
    const std::array<ui::PreviewOverlay*, kPreviewCount>& previews() const { return previews_; }

    /// A notification of one of the window's controls.
    void notify(const ui::Notification& n);
    /// Selects a device tab or a sub-page option as a click would: the selection routing
    /// switches the page.
    void selectTab(const QString& tab);
    /// The tab of a device: for the keyboard the one of the model last found.
    QString deviceTab(device::DeviceKind kind) const;
    /// Shows or hides a device's tab (and its page's panel); a keyboard shows the tab of its model.
    void showDevice(device::DeviceKind kind, bool shown);
    /// Brings up a device's page as a click on its tab would.
    void selectDevice(device::DeviceKind kind) { selectTab(deviceTab(kind)); }
    /// While the subscription lives, the page of that row (page_table.h) is asked before
    /// another page or device tab replaces it; when it may not be left it stays and the
    /// user is told ("message_text_3").
    [[nodiscard]] runtime::Subscription guardPage(const char* page, const ui::pages::LeaveCheck& check);
    /// A page of the page table came up, however it was switched to.
    runtime::Event<const ui::pages::PageRow*> pageShown;
    int showMessage(const QString& text, bool textIsId);
    /// "message_text_1", unless the box this raised is still open.
    void showNoDeviceMessage();
    /// A device arrived: the window comes up, unless it was started minimized and the user
    /// has not opened it yet.
    void showForDevice();
    /// No device is left (or none came): the "no device found" page; the window hides
    /// into the tray where there is one, else it stays up to say so.
    void showNoDevicePage();
    /// A device of ours is there but its node cannot be opened: the page's udev hint.
    void setDeviceNotAccessible(device::DeviceKind kind, bool notAccessible);
    /// Offers a device's "same mode" option (while another device is there to follow it).
    void showSameMode(device::DeviceKind kind, bool shown);
    /// The desktop's title bar and frame around the window instead of the program's own
    /// (whose window buttons then hide); applied at once, also to a shown window.
    void useDesktopFrame(bool desktopFrame);
    bool usesDesktopFrame() const { return desktopFrame_; }
    /// Whether the program lives without a tray icon although it wanted one.
    bool trayless() const { return trayless_; }
    /// Relayout after a device connects or the window is restored.
    void scheduleRelayout(std::chrono::milliseconds delay);
    void changeLanguage(const ui::LanguageRow& row);
    /// Re-applies the current language's texts to every window.
    void reloadTexts();
    /// The tray menu (or the menubtn menu when withExit is false) as it would open now.
    void fillMenu(QMenu& menu, bool withExit);

    // --- what the shell answers --------------------------------------------------------------
    void onActivationChanged(bool active);
    void onInstanceSignal();
    void onTrayLeftClick();
    void onMenuCommand(const QString& name, const QString& text);
    /// The end of the program: hide, stop the runtime (its workers within the bound, its
    /// job queues, the devices released), quit the event loop. Later calls return the first
    /// outcome.
    runtime::StopOutcome shutdown();
    std::optional<runtime::StopOutcome> shutdownOutcome() const { return runtime_.stopOutcome(); }

Q_SIGNALS:
    void shutDown();

protected:
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void bindWindowControls();
    void onWindowButton(const QString& name);
    /// The close button and the window manager's close: hide into the tray, or without a
    /// tray ask whether to quit or go on in the background.
    void closeToBackground();
    /// "maxbtn" in a normal window, "restorebtn" in a maximised one.
    void showMaximiseButton();
    /// Brings the window up from the tray, a second start or a tray-less close.
    void bringUp();
    void onDeviceTab(const ui::Notification& n);
    void applySkinImage();
    /// Shows Runtime::background on "root": a colour, an image, or (an image that cannot be
    /// loaded, an empty path) none.
    void applyBackground();
    void applyLanguageAtStart();
    void loadLanguage(const ui::LanguageRow& row);
    void showProgress(bool running);
    void showProgressValue(int percent);
    /// Ends an option's selection change: keeps a page that may not be left, else ends input
    /// capture and switches to the option's page. false when the page was kept.
    bool finishSelectionChange(const QString& option);
    void onSubPageOption(const ui::Notification& n);
    /// Keeps the page in front when it may not be left for that option; true when it was kept.
    bool keepGuardedPage(const QString& option);
    /// Whether the row's page is in front (its device's page and its sub-page shown).
    bool showing(const ui::pages::PageRow& row) const;
    void selectDeviceTab(const QString& tab);
    void watchSubPages();

    runtime::Runtime& runtime_;
    Options options_;
    ui::SkinLoader skin_;
    ui::ControlIndex controls_;
    ui::NotifyBridge bridge_;
    ui::Language language_;
    std::unique_ptr<ui::Dialogs> ownDialogs_;
    ui::Dialogs* dialogs_;
    Router router_;
    platform::IniFile mainIni_;
    platform::MachineSettings machine_;

    QTimer progressHideTimer_;  // hides "setting_progress" a second after long work ended
    QTimer flushTimer_;         // every second: changed settings records go to the devices
    QTimer relayoutTimer_;
    std::unique_ptr<Tray> tray_;
    std::array<ui::PreviewOverlay*, kPreviewCount> previews_{};
    bool noDeviceBoxOpen_ = false;
    /// A background picture that could not be used is told once a run.
    bool pictureUnusableTold_ = false;
    bool keepHiddenForDevices_ = false;
    bool trayless_ = false;
    bool closeQuestionOpen_ = false;
    unsigned notAccessibleKinds_ = 0;  // a bit per device kind
    QSet<QString> openMessages_;
    NoticeToast* notice_ = nullptr;  // child of the window: short confirmations
    void toggleAutostart();
    void markLanguages(QMenu& menu);
    ui::pages::PageBindings windowControls_;
    ui::pages::PageBindings deviceTabs_;
    ui::pages::PageBindings subPageOptions_;
    struct Guard {
        const ui::pages::PageRow* row;
        const ui::pages::LeaveCheck* check;
    };
    runtime::Event<std::vector<Guard>*> guards_;  // each guard answers with itself
    runtime::Subscriptions subscriptions_;
    /// Where a left press on the background went down, until the drag that moves the window starts.
    std::optional<QPoint> dragFrom_;
    WindowFrame* frame_ = nullptr;
    bool desktopFrame_ = false;
};

}  // namespace orvane::app
