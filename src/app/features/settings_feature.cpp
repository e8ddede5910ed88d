#include "app/features/settings_feature.h"

#include <QDesktopServices>
#include <QUrl>

#include "app/main_window.h"
#include "runtime/ui_dispatcher.h"
#include "ui/log.h"

namespace orvane::app {

// The window uses the feature's hooks: it does not outlive it.
SettingsFeature::~SettingsFeature() { delete window_.data(); }

void SettingsFeature::install(FeatureContext& context) {
    runtime::Runtime& rt = context.runtime;
    main_ = &context.window;
    runtime_ = &rt;
    gear_.on("setbtn", ui::event::kClick, [this](const ui::Notification&) { open(); });
    bind(context, Owner::Window, gear_);

    subscriptions_ += rt.events.deviceConnected.subscribe([this](const device::DeviceKind& kind) {
        if (kind == device::DeviceKind::Keyboard && window_) window_->keyboardArrived();
        if (kind == device::DeviceKind::Mouse && window_) window_->showMouse(true);
    });
    subscriptions_ += rt.events.deviceGone.subscribe([this](const device::DeviceKind& kind) {
        if (kind == device::DeviceKind::Keyboard && window_) window_->keyboardGone();
        if (kind == device::DeviceKind::Mouse && window_) window_->showMouse(false);
    });
    subscriptions_ += rt.events.settingsChanged.subscribe([this](const runtime::Setting& setting) {
        if (setting == runtime::Setting::Language && window_) window_->retranslate();
    });

    // Once at start: an update of the software or of the connected RGB keyboard opens the
    // settings window. Stopping the program cancels the request in progress.
    const std::string installed = main_->machineSettings().displayVersion();
    const auto endpoint = update::ConfiguredEndpoint(main_->machineSettings());
    std::weak_ptr<int> alive = alive_;
    plug(context, runtime::WorkerSlot::VersionCheck,
         {"version check",
          [this, &rt, installed, endpoint, alive](std::stop_token stop) {
              auto client = hooks.makeClient ? hooks.makeClient() : std::make_unique<update::UpdateClient>(endpoint);
              const update::KeyboardVersionQuery rgbKeyboard = [&rt]() -> std::optional<uint16_t> {
                  if (!rt.connected(device::DeviceKind::Keyboard) ||
                      rt.flags.keyboardKind.load() != runtime::RuntimeFlags::RgbKeyboard)
                      return std::nullopt;
                  return rt.flags.keyboardVersion.load();
              };
              update::RunVersionCheck(stop, *client, installed, rgbKeyboard, [this, &rt, alive] {
                  if (!rt.dispatcher()) return;
                  rt.dispatcher()->post([this, alive] {
                      if (alive.expired()) return;
                      qCDebug(lcShell) << 3429;
                      open();
                  });
              });
          },
          {}});
}

UpdateQueries::MakeClient SettingsFeature::clientMaker() const {
    if (hooks.makeClient) return hooks.makeClient;
    // The server as configured when the window opens.
    auto endpoint = update::ConfiguredEndpoint(main_->machineSettings());
    return [endpoint] { return std::make_unique<update::UpdateClient>(endpoint); };
}

void SettingsFeature::open() {
    if (!main_) return;
    if (window_) {
        window_->raise();
        window_->activateWindow();
        return;
    }
    SettingsEnv env;
    env.runtime = runtime_;
    env.skin = &main_->skin();
    env.language = &main_->language();
    env.mainIni = &main_->mainIni();
    env.machine = &main_->machineSettings();
    env.changeLanguage = [this](const ui::LanguageRow& row) { main_->changeLanguage(row); };
    env.makeClient = clientMaker();
    env.openUrl = hooks.openUrl ? hooks.openUrl : [](const QString& url) { QDesktopServices::openUrl(QUrl(url)); };
    env.updater = hooks.updater ? *hooks.updater : update::InstalledUpdater();
    window_ = new FunctionSet(main_, std::move(env));
    window_->setModal(true);
    // Centred on the main window, or on the screen while it is hidden in the tray.
    if (main_->isVisible()) window_->move(main_->frameGeometry().center() - window_->rect().center());
    window_->show();
}

}  // namespace orvane::app
