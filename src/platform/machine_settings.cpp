// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/machine_settings.h"

#include <QStandardPaths>

#include "platform/ini_file.h"

#ifndef ORVANE_VERSION
#define ORVANE_VERSION "0.0.0"
#endif

namespace orvane::platform {

std::filesystem::path MachineSettings::DefaultPath() {
    const auto config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return std::filesystem::path(config.toStdString()) / "Orvane" / "machine.ini";
}

MachineSettings::MachineSettings(std::filesystem::path file) : file_(std::move(file)) {}

std::optional<std::string> MachineSettings::language() const {
    return IniFile(file_).find(kProductKey, kLanguage);
}

bool MachineSettings::setLanguage(std::string_view value) {
    return IniFile(file_).writeString(kProductKey, kLanguage, value);
}

std::string MachineSettings::displayVersion() const {
    auto stored = IniFile(file_).find(kProductKey, kDisplayVersion);
    return stored && !stored->empty() ? *stored : BuildVersion();
}

std::string MachineSettings::BuildVersion() { return ORVANE_VERSION; }

std::optional<std::string> MachineSettings::configured(std::string_view key) const {
    auto value = IniFile(file_).find(kProductKey, key);
    if (!value || value->find_first_not_of(" \t") == std::string::npos) return std::nullopt;
    return value;
}

bool MachineSettings::setValue(std::string_view key, std::string_view value) {
    return IniFile(file_).writeString(kProductKey, key, value);
}

}  // namespace orvane::platform
