// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/settings_view.h"

#include <array>

#include "device/log.h"

namespace orvane::update {

namespace {

/// main.ini "LANGUAGE" of each entry of the language list, in entry order.
constexpr std::array<int, 4> kComboLanguages{1, 2, 0, 3};

}  // namespace

SettingsPages PagesFor(int keyboardKind, bool mousePresent) {
    return {keyboardKind == 1, keyboardKind == 2, mousePresent};
}

std::string DottedNumberText(int number) { return "V" + InsertVersionDots(std::to_string(number)); }

VersionLine SoftwareLine(std::string_view installedText, const std::optional<std::string>& newestText) {
    VersionLine line;
    line.installed = "V" + std::string(installedText);
    // A leading number of 0 ("", "0.9.9", garbage) is no version the server should offer.
    const bool known = newestText && LeadingNumber(*newestText) != 0;
    line.newest = known ? "V" + WithoutControlCharacters(*newestText) : std::string(kUnknownVersion);
    const auto newest = known ? VersionNumber(*newestText) : std::nullopt;
    line.updateEnabled = newest && InstalledVersionNumber(installedText) < *newest;
    return line;
}

VersionLine KeyboardLine(uint16_t keyboardVersion, std::optional<int> newest) {
    VersionLine line;
    line.installed = keyboardVersion ? "V" + KeyboardVersionText(keyboardVersion) : std::string(kUnknownVersion);
    const bool valid = newest && *newest < kFirstInvalidVersion;
    line.newest = valid ? DottedNumberText(*newest) : std::string(kUnknownVersion);
    line.updateEnabled = keyboardVersion && valid && KeyboardVersionNumber(keyboardVersion) < *newest;
    return line;
}

SettingsVersions QuerySettingsVersions(UpdateClient& client, std::string_view installedSoftware, int keyboardKind,
                                       uint16_t keyboardVersion) {
    SettingsVersions v;
    v.software = SoftwareLine(installedSoftware, client.queryVersionText(kSoftware.code));
    device::Log("键盘的版本号为" + std::to_string(KeyboardVersionNumber(keyboardVersion)));
    if (keyboardKind == 1) v.rgbKeyboard = QueryKeyboardLine(client, keyboardVersion);
    return v;
}

VersionLine QueryKeyboardLine(UpdateClient& client, uint16_t keyboardVersion) {
    const auto newest = client.queryVersion(kRgbKeyboard.code);
    device::Log("键盘最新的版本号为" + (newest ? std::to_string(*newest) : std::string("-1")));
    return KeyboardLine(keyboardVersion, newest);
}

std::optional<int> LanguageComboEntry(int iniLanguage) {
    for (size_t entry = 0; entry < kComboLanguages.size(); ++entry)
        if (kComboLanguages[entry] == iniLanguage) return int(entry);
    return std::nullopt;
}

std::optional<int> LanguageOfComboEntry(int entry) {
    if (entry < 0 || entry >= int(kComboLanguages.size())) return std::nullopt;
    return kComboLanguages[size_t(entry)];
}

}  // namespace orvane::update
