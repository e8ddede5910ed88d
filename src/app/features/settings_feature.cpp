// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/settings_feature.h"

#include <QDesktopServices>
#include <QUrl>

#include "app/main_window.h"
#include "runtime/ui_dispatcher.h"
#include "ui/log.h"

namespace orvane::app {

// The window uses the feature's hooks: it does not outlive it.
SettingsFeature::~SettingsFeature() {
    {
        std::lock_guard lock(checkLink_->mutex);
        checkLink_->runtime = nullptr;
        checkLink_->feature = nullptr;
    }
    delete window_.data();
}

void SettingsFeature::install(FeatureContext& context) {
    runtime::Runtime& rt = context.runtime;
    main_ = &context.window;
    runtime_ = &rt;
    gear_.on("setbtn", ui::event::kClick, [this](const ui::Notification&) { open(); });
    bind(context, "settings button", gear_);

    // The presence flags are set before either event: the window reads them.
    subscriptions_ += rt.events.deviceConnected.subscribe([this](const device::DeviceKind&) {
        if (window_) window_->devicesChanged();
    });
    subscriptions_ += rt.events.deviceGone.subscribe([this](const device::DeviceKind&) {
        if (window_) window_->devicesChanged();
    });
    subscriptions_ += rt.events.settingsChanged.subscribe([this](const runtime::Setting& setting) {
        if (setting == runtime::Setting::Language && window_) window_->retranslate();
    });

    // Once at start: an update of the software or of the connected RGB keyboard opens the
    // settings window. Stopping the program cancels the request in progress.
    const std::string installed = main_->machineSettings().displayVersion();
    const auto endpoint = update::ConfiguredEndpoint(main_->machineSettings());
    {
        std::lock_guard lock(checkLink_->mutex);
        checkLink_->runtime = &rt;
        checkLink_->feature = this;
    }
    // The client is made when the worker starts (a test's hook is set by then).
    plug(context, runtime::WorkerSlot::VersionCheck,
         {"version check",
          [link = checkLink_, installed, endpoint, makeClient = &hooks.makeClient](std::stop_token stop) {
              std::unique_ptr<update::UpdateClient> client;
              {
                  std::lock_guard lock(link->mutex);
                  if (!link->feature) return;
                  client = *makeClient ? (*makeClient)() : std::make_unique<update::UpdateClient>(endpoint);
              }
              const update::KeyboardVersionQuery rgbKeyboard = [link]() -> std::optional<uint16_t> {
                  std::lock_guard lock(link->mutex);
                  runtime::Runtime* rt = link->runtime;
                  if (!rt || !rt->connected(device::DeviceKind::Keyboard) ||
                      rt->flags.keyboardKind.load() != runtime::RuntimeFlags::RgbKeyboard)
                      return std::nullopt;
                  return rt->flags.keyboardVersion.load();
              };
              update::RunVersionCheck(stop, *client, installed, rgbKeyboard, [link] {
                  std::lock_guard lock(link->mutex);
                  if (!link->runtime || !link->runtime->dispatcher()) return;
                  link->runtime->dispatcher()->post([link] {
                      SettingsFeature* feature = nullptr;
                      {
                          std::lock_guard lock(link->mutex);
                          feature = link->feature;
                      }
                      if (!feature) return;
                      qCDebug(lcShell) << 3429;  // an update exists: the settings window opens
                      feature->open();
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
    env.useDesktopFrame = [this](bool desktopFrame) { main_->useDesktopFrame(desktopFrame); };
    env.makeClient = clientMaker();
    env.openUrl = hooks.openUrl ? hooks.openUrl : [](const QString& url) { QDesktopServices::openUrl(QUrl(url)); };
    env.updater = hooks.updater ? *hooks.updater : update::InstalledUpdater();
    env.tell = [this](const char* textId) {
        if (window_) main_->dialogs().showMessage(window_, QLatin1String(textId), true);
    };
    window_ = new FunctionSet(main_, std::move(env));
    window_->setModal(true);
    // Centred on the main window, or on the screen while it is hidden in the tray.
    if (main_->isVisible()) window_->move(main_->frameGeometry().center() - window_->rect().center());
    window_->show();
}

}  // namespace orvane::app
