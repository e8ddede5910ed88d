// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/version_check.h"

#include <unistd.h>

#include <QProcess>
#include <QString>
#include <QStringList>

#include <stop_token>

#include "device/log.h"
#include "platform/paths.h"

namespace orvane::update {

namespace {

std::string Number(std::optional<int> n) { return n ? std::to_string(*n) : "-1"; }

bool IsUpdate(int installed, std::optional<int> server) { return server && installed < *server; }

}  // namespace

VersionCheckResult VersionCheck(UpdateClient& client, std::string_view installedSoftware,
                                const KeyboardVersionQuery& rgbKeyboardVersion) {
    VersionCheckResult r;
    r.serverSoftware = client.queryVersion(kSoftware.code);
    device::Log("最新驱动版本号是" + Number(r.serverSoftware));
    r.installedSoftware = InstalledVersionNumber(installedSoftware);
    device::Log("现在驱动的版本号是" + std::to_string(r.installedSoftware));
    r.updateAvailable = IsUpdate(r.installedSoftware, r.serverSoftware);
    const auto keyboard = rgbKeyboardVersion && !client.cancelled() ? rgbKeyboardVersion() : std::nullopt;
    if (keyboard) {
        r.keyboardChecked = true;
        r.serverKeyboard = client.queryVersion(kRgbKeyboard.code);
        r.installedKeyboard = KeyboardVersionNumber(*keyboard);
        device::Log("RGB键盘的新版本号是" + Number(r.serverKeyboard));
        device::Log("RGB键盘现在版本号是" + std::to_string(r.installedKeyboard));
        r.updateAvailable = r.updateAvailable || IsUpdate(r.installedKeyboard, r.serverKeyboard);
    }
    return r;
}

void RunVersionCheck(std::stop_token stop, UpdateClient& client, std::string_view installedSoftware,
                     const KeyboardVersionQuery& rgbKeyboardVersion, const std::function<void()>& onUpdateAvailable) {
    std::stop_callback cancelOnStop(stop, [&client] { client.cancel(); });
    const auto r = VersionCheck(client, installedSoftware, rgbKeyboardVersion);
    if (!stop.stop_requested() && r.updateAvailable && onUpdateAvailable) onUpdateAvailable();
}

UpdaterProgram InstalledUpdater() { return {platform::ExecutableFolder()}; }

std::string_view ResultText(UpdateRequestResult result) {
    switch (result) {
    case UpdateRequestResult::Started: return "updater started";
    case UpdateRequestResult::NotConfirmed: return "the server did not confirm the update";
    case UpdateRequestResult::UpdaterMissing: return "the updater is missing";
    case UpdateRequestResult::UpdaterFailed: return "the updater could not be started";
    }
    return "";
}

bool StartUpdater(const UpdaterProgram& updater, const std::string& parameters) {
    QStringList arguments;
    if (!parameters.empty()) arguments << QString::fromStdString(parameters);
    return QProcess::startDetached(QString::fromStdString(updater.path().string()), arguments,
                                   QString::fromStdString(updater.folder.string()));
}

UpdateRequestResult RequestUpdate(UpdateClient& client, const Product& product, const UpdaterProgram& updater,
                                  std::string_view installedSoftware, uint16_t keyboardVersion) {
    const auto registration = client.post(RegistrationJson(NewRegistrationId(), product.code));
    const auto reply = registration.ok() ? ParseReply(registration.reply) : Reply{};
    if (reply.resultCode != kUpdateConfirmed) {
        device::Log("update of " + std::string(product.code) + " not confirmed: " +
                    (registration.ok() ? "Result_Code " + Number(reply.resultCode) : registration.error));
        return UpdateRequestResult::NotConfirmed;
    }
    client.queryVersionText(product.code);  // the server expects it; the answer is not used
    const auto path = updater.path();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec) || ::access(path.c_str(), X_OK) != 0) {
        device::Log("updater missing: " + path.string());
        return UpdateRequestResult::UpdaterMissing;
    }
    if (!StartUpdater(updater, UpdaterParameters(product, installedSoftware, keyboardVersion))) {
        device::Log("updater could not be started: " + path.string());
        return UpdateRequestResult::UpdaterFailed;
    }
    return UpdateRequestResult::Started;
}

}  // namespace orvane::update
