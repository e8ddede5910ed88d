// SPDX-License-Identifier: GPL-3.0-or-later
#include "integrations/openrgb/server_settings.h"

#include <QHostAddress>
#include <QString>

#include "platform/ini_file.h"

namespace orvane::integrations::openrgb {

namespace {
constexpr char kSection[] = "SDKSERVER";
constexpr char kEnabledKey[] = "ENABLED";
constexpr char kPortKey[] = "PORT";
constexpr char kAddressKey[] = "ADDRESS";
}  // namespace

ServerSettings ReadServerSettings(const std::filesystem::path& mainIni) {
    const platform::IniFile ini(mainIni);
    ServerSettings s;
    s.enabled = ini.readInt(kSection, kEnabledKey, 0) == 1;
    const int port = ini.readInt(kSection, kPortKey, s.port);
    if (port >= 1 && port <= 65535) s.port = uint16_t(port);
    const std::string address = ini.readString(kSection, kAddressKey, kLoopbackAddress);
    if (!QHostAddress(QString::fromStdString(address)).isNull()) s.address = address;
    return s;
}

bool WriteServerSettings(const std::filesystem::path& mainIni, const ServerSettings& settings) {
    platform::IniFile ini(mainIni);
    return ini.edit([&](platform::ini::Document& doc) {
        return doc.set(kSection, kEnabledKey, settings.enabled ? "1" : "0") &&
               doc.set(kSection, kPortKey, std::to_string(settings.port)) &&
               doc.set(kSection, kAddressKey, settings.address);
    });
}

}  // namespace orvane::integrations::openrgb
