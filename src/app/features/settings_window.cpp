// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/settings_window.h"

#include <utility>

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QSpinBox>

#include "app/desktop_frame.h"
#include "device/log.h"
#include "integrations/openrgb/server_settings.h"
#include "platform/paths.h"
#include "update/update_client.h"
#include "ui/log.h"

namespace orvane::app {

namespace {

/// What a newest version shows while the server has not answered yet.
const char kAsking[] = "…";

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

FunctionSet::FunctionSet(QWidget* owner, SettingsEnv env)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint),
      env_(std::move(env)),
      bridge_([this](const ui::Notification& n) { onNotify(n); }),
      queries_(env_.makeClient, env_.runtime ? env_.runtime->dispatcher() : nullptr) {
    setObjectName(QStringLiteral("FunctionSet"));
    // The title the desktop shows (task bar, window switcher) follows the language.
    setWindowTitle(QStringLiteral("Settings"));
    setProperty("textId", QStringLiteral("settings_title_text"));
    setAttribute(Qt::WA_DeleteOnClose);
    if (env_.skin) {
        env_.skin->load(QStringLiteral("function_set.xml"), this);
        const QString qss = env_.skin->styleSheet();
        if (!qss.isEmpty()) setStyleSheet(qss);
    }
    if (env_.language) env_.language->apply(this);
    controls_.add(this);

    using namespace ui::event;
    bindings_.on("closebtn", kClick, [this](const ui::Notification&) {
        queries_.cancelAll();  // a request still waiting for the server ends now
        done(kClosed);
    });
    for (const auto& product : update::kProducts)
        bindings_.on(QString::fromLatin1(product.button.data(), qsizetype(product.button.size())), kClick,
                     [this, button = product.button](const ui::Notification&) { requestUpdate(button.data()); });
    bindings_.on("lanuage_select_combo", kItemSelect, [this](const ui::Notification&) {
        auto* combo = controls_.find<QComboBox>(QStringLiteral("lanuage_select_combo"));
        const auto ini = combo ? update::LanguageOfComboEntry(combo->currentIndex()) : std::nullopt;
        const auto* row = ini ? ui::LanguageByIniValue(*ini) : nullptr;
        if (row && env_.changeLanguage) env_.changeLanguage(*row);
    });
    bindings_.on("sdk_server_check", kClick, [this](const ui::Notification&) { storeSdkServer(); });
    bindings_.on("sdk_server_port", kValueChanged, [this](const ui::Notification&) { storeSdkServer(); });
    bindings_.on("desktop_frame_check", kClick, [this](const ui::Notification&) { storeDesktopFrame(); });
    bindings_.on("net_btn", kClick, [this](const ui::Notification&) {
        openPage(env_.machine ? env_.machine->webSite() : std::nullopt, "web site");
    });
    bindings_.on("facebook_btn", kClick, [this](const ui::Notification&) {
        openPage(env_.machine ? env_.machine->socialPage() : std::nullopt, "social-media page");
    });

    // What is known without the server, before the window shows.
    const runtime::RuntimeFlags* flags = env_.runtime ? &env_.runtime->flags : nullptr;
    const int kind = flags ? flags->keyboardKind.load() : 0;
    const auto pages = update::PagesFor(kind, flags && flags->mousePresent.load());
    if (QWidget* w = control(QStringLiteral("rgb_page"))) w->setVisible(pages.rgbPage);
    if (QWidget* w = control(QStringLiteral("blue_page"))) w->setVisible(pages.bluePage);
    if (QWidget* w = control(QStringLiteral("ms_page"))) w->setVisible(pages.mousePage);
    installedSoftware_ = env_.machine ? env_.machine->displayVersion() : std::string();
    keyboardVersion_ = flags ? flags->keyboardVersion.load() : 0;
    rgbKeyboardShown_ = pages.rgbPage;
    showSoftware({"V" + installedSoftware_, kAsking, false});
    // The mouse reports no firmware version and the server is not asked for one: nothing
    // can be offered for it.
    showLine("ms_now_fw", "ms_new", "ms_update_btn",
             {std::string(update::kUnknownVersion), std::string(update::kUnknownVersion), false});
    if (pages.rgbPage) showKeyboard({update::KeyboardLine(keyboardVersion_, std::nullopt).installed, kAsking, false});
    if (const auto problem = env_.machine ? update::EndpointProblem(*env_.machine) : std::nullopt) {
        device::Log("version check: " + *problem);
        checkProblem_ = *problem;
    }
    showCheckProblem();
    selectCurrentLanguage();
    showSdkServer();
    showDesktopFrame();
    bridge_.attach(this);
    adjustSize();
    startQueries();
}

FunctionSet::~FunctionSet() { queries_.cancelAll(); }

void FunctionSet::onNotify(const ui::Notification& n) { bindings_.dispatch(n); }

void FunctionSet::selectCurrentLanguage() {
    auto* combo = controls_.find<QComboBox>(QStringLiteral("lanuage_select_combo"));
    if (!combo) return;
    // The language the window speaks (a run's --language is not stored), else main.ini's.
    std::optional<int> ini;
    for (const auto& row : ui::kLanguages)
        if (env_.language && env_.language->code() == QLatin1String(row.code)) ini = row.iniValue;
    if (!ini && env_.mainIni) ini = env_.mainIni->readInt(ui::kLanguageIniSection, ui::kLanguageIniKey, 0);
    if (!ini) return;
    const auto entry = update::LanguageComboEntry(*ini);
    // The language is the one already loaded: showing it needs no change.
    ui::Silently(combo, [&](QComboBox* c) { c->setCurrentIndex(entry.value_or(-1)); });
}

void FunctionSet::showSdkServer() {
    if (!env_.mainIni) return;
    const auto settings = integrations::openrgb::ReadServerSettings(env_.mainIni->path());
    if (auto* check = controls_.find<QAbstractButton>(QStringLiteral("sdk_server_check")))
        ui::Silently(check, [&](QAbstractButton* c) { c->setChecked(settings.enabled); });
    if (auto* port = controls_.find<QSpinBox>(QStringLiteral("sdk_server_port")))
        ui::Silently(port, [&](QSpinBox* p) { p->setValue(settings.port); });
}

void FunctionSet::storeSdkServer() {
    auto* check = controls_.find<QAbstractButton>(QStringLiteral("sdk_server_check"));
    auto* port = controls_.find<QSpinBox>(QStringLiteral("sdk_server_port"));
    if (!env_.mainIni || !check || !port) return;
    auto settings = integrations::openrgb::ReadServerSettings(env_.mainIni->path());
    settings.enabled = check->isChecked();
    settings.port = uint16_t(port->value());
    if (!integrations::openrgb::WriteServerSettings(env_.mainIni->path(), settings)) {
        device::Log("settings: the SDK server choice could not be written to main.ini");
        if (env_.tell) env_.tell(platform::kMainIniUnusableMessage);
        showSdkServer();
        return;
    }
    if (env_.runtime) env_.runtime->events.settingsChanged.emit(runtime::Setting::SdkServer);
}

void FunctionSet::showDesktopFrame() {
    if (auto* check = controls_.find<QAbstractButton>(QStringLiteral("desktop_frame_check")))
        ui::Silently(check, [&](QAbstractButton* c) { c->setChecked(env_.mainIni && ReadDesktopFrame(*env_.mainIni)); });
}

void FunctionSet::storeDesktopFrame() {
    auto* check = controls_.find<QAbstractButton>(QStringLiteral("desktop_frame_check"));
    if (!env_.mainIni || !check) return;
    if (!WriteDesktopFrame(*env_.mainIni, check->isChecked())) {
        device::Log("settings: the window frame choice could not be written to main.ini");
        if (env_.tell) env_.tell(platform::kMainIniUnusableMessage);
        showDesktopFrame();
        return;
    }
    if (env_.useDesktopFrame) env_.useDesktopFrame(check->isChecked());
}

void FunctionSet::startQueries() {
    const int kind = env_.runtime ? env_.runtime->flags.keyboardKind.load() : 0;
    const std::string installed = installedSoftware_;
    const uint16_t keyboard = keyboardVersion_;
    queries_.run<update::SettingsVersions>(
        [installed, kind, keyboard](update::UpdateClient& client) {
            return update::QuerySettingsVersions(client, installed, kind, keyboard);
        },
        [this](const update::SettingsVersions& v) {
            showSoftware(v.software);
            if (v.rgbKeyboard) showKeyboard(*v.rgbKeyboard);
        });
}

void FunctionSet::devicesChanged() {
    if (!env_.runtime) return;
    const auto& flags = env_.runtime->flags;
    const int keyboard = flags.keyboardKind.load();
    if (QWidget* w = control(QStringLiteral("ms_page"))) w->setVisible(flags.mousePresent.load());
    const bool rgb = keyboard == runtime::RuntimeFlags::RgbKeyboard;
    // A keyboard that arrived, or another one in its place (its version differs).
    const bool arrived = rgb && (!std::exchange(rgbKeyboardShown_, rgb) || flags.keyboardVersion.load() != keyboardVersion_);
    if (keyboard == runtime::RuntimeFlags::NoKeyboard) {
        // Neither keyboard area stays for a keyboard that is no longer there.
        if (QWidget* w = control(QStringLiteral("rgb_page"))) w->hide();
        if (QWidget* w = control(QStringLiteral("blue_page"))) w->hide();
    }
    if (!arrived) return;
    if (QWidget* w = control(QStringLiteral("rgb_page"))) w->show();
    if (QWidget* w = control(QStringLiteral("blue_page"))) w->hide();
    keyboardVersion_ = flags.keyboardVersion.load();
    showKeyboard({update::KeyboardLine(keyboardVersion_, std::nullopt).installed, kAsking, false});
    const uint16_t version = keyboardVersion_;
    queries_.run<update::VersionLine>(
        [version](update::UpdateClient& client) { return update::QueryKeyboardLine(client, version); },
        [this](const update::VersionLine& line) { showKeyboard(line); });
}

namespace {
// What the user reads after an update button's request (it may wait for the server for a
// few seconds, the button meanwhile disabled).
const char* UpdateOutcomeText(update::UpdateRequestResult r) {
    switch (r) {
    case update::UpdateRequestResult::Started: return "update_started_text";
    case update::UpdateRequestResult::NotConfirmed: return "update_not_confirmed_text";
    case update::UpdateRequestResult::UpdaterMissing: return "update_updater_missing_text";
    case update::UpdateRequestResult::UpdaterFailed: return "update_updater_failed_text";
    }
    return "update_not_confirmed_text";
}
}  // namespace

void FunctionSet::requestUpdate(const char* button) {
    const update::Product* product = update::FindProduct(button);
    if (!product) return;
    QWidget* pressed = control(QLatin1String(button));
    if (pressed) pressed->setEnabled(false);  // one request at a time
    const std::string installed = installedSoftware_;
    const uint16_t keyboard = keyboardVersion_;
    const update::UpdaterProgram updater = env_.updater;
    queries_.run<update::UpdateRequestResult>(
        [product, updater, installed, keyboard](update::UpdateClient& client) {
            return update::RequestUpdate(client, *product, updater, installed, keyboard);
        },
        [this, pressed, code = std::string(product->code)](const update::UpdateRequestResult& r) {
            device::Log("update " + code + ": " + std::string(update::ResultText(r)));
            if (pressed) pressed->setEnabled(true);
            if (env_.tell) env_.tell(UpdateOutcomeText(r));
        });
}

void FunctionSet::showSoftware(const update::VersionLine& line) {
    software_ = line;
    showLine("soft_now_version", "soft_new_version", "soft_update_btn", line);
}

void FunctionSet::showKeyboard(const update::VersionLine& line) {
    keyboard_ = line;
    showLine("RGB_KB_N", "RGB_KB_F", "rgb_kb_btn", line);
}

void FunctionSet::showLine(const char* installed, const char* newest, const char* button,
                           const update::VersionLine& line) {
    if (auto* label = controls_.find<QLabel>(QLatin1String(installed))) label->setText(versionText(line.installed));
    if (auto* label = controls_.find<QLabel>(QLatin1String(newest))) label->setText(versionText(line.newest));
    QWidget* b = control(QLatin1String(button));
    if (!b) return;
    b->setEnabled(line.updateEnabled);
    // A button left disabled because a version is not known says so.
    const bool unknown = line.installed == update::kUnknownVersion || line.newest == update::kUnknownVersion;
    const QString reason = !line.updateEnabled && unknown ? QStringLiteral("update_versions_unknown_tip") : QString();
    b->setProperty("tipId", reason);
    b->setToolTip(reason.isEmpty() || !env_.language ? QString() : env_.language->text(reason));
}

QString FunctionSet::versionText(const std::string& text) const {
    if (text == update::kUnknownVersion && env_.language)
        return env_.language->text(QStringLiteral("version_unknown_text"));
    return Utf8(text);
}

// No version can be asked for: the "latest" fields say why, where the user looks.
void FunctionSet::showCheckProblem() {
    if (!checkProblem_) return;
    const QString lead = env_.language ? env_.language->text(QStringLiteral("update_check_failed_text"))
                                       : QStringLiteral("Could not check for updates:");
    for (const char* newest : {"soft_new_version", "RGB_KB_F", "ms_new"})
        if (QWidget* w = control(QLatin1String(newest))) w->setToolTip(lead + QLatin1Char(' ') + Utf8(*checkProblem_));
}

void FunctionSet::retranslate() {
    if (env_.language) env_.language->apply(this);
    showCheckProblem();
    if (software_) showSoftware(*software_);
    if (keyboard_) showKeyboard(*keyboard_);
}

void FunctionSet::openPage(const std::optional<std::string>& url, const char* what) {
    if (!url) {
        qCDebug(lcShell) << "no" << what << "is configured";
        return;
    }
    if (env_.openUrl) env_.openUrl(Utf8(*url));
}

}  // namespace orvane::app
