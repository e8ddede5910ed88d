// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the settings window shows, decided without a window: which device pages are
// visible, the version texts and update buttons, and the order of the language list
// ("lanuage_select_combo"). The server queries behind them are jobs for a worker
// (QuerySettingsVersions on opening, QueryKeyboardLine when an RGB keyboard connects).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "update/update_client.h"

namespace orvane::update {

/// Shown instead of a version the program does not know.
inline constexpr std::string_view kUnknownVersion = "unknown";

/// Keyboard kind as the presence monitor keeps it: 0 none, 1 RGB, 2 single-colour.
struct SettingsPages {
    bool rgbPage = false;    ///< "rgb_page"
    bool bluePage = false;   ///< "blue_page"
    bool mousePage = false;  ///< "ms_page"
};
SettingsPages PagesFor(int keyboardKind, bool mousePresent);

/// One product's line: installed and newest version texts, and whether its update button
/// is enabled.
struct VersionLine {
    std::string installed;
    std::string newest;
    bool updateEnabled = false;
};

/// "V" + the installed text as stored; "V" + the server's text, or "unknown" when that text
/// is missing or its leading number is 0. The button is enabled when the newest version is
/// known and above the installed one (dots removed).
VersionLine SoftwareLine(std::string_view installedText, const std::optional<std::string>& newestText);
/// The RGB keyboard: "V1.0.5" for version 0x105 ("unknown" for 0); the newest as the server's
/// number with the dots ("unknown" when there is no valid version). The button is enabled
/// when both are known and the installed number is below the newest.
VersionLine KeyboardLine(uint16_t keyboardVersion, std::optional<int> newest);
/// "V" + InsertVersionDots of the decimal number (106 → "V1.0.6").
std::string DottedNumberText(int number);

/// The settings window's versions: the software line always, the RGB keyboard line when
/// the keyboard kind is RGB (1). Blocks on the server; cancel through the client.
struct SettingsVersions {
    VersionLine software;
    std::optional<VersionLine> rgbKeyboard;
};
SettingsVersions QuerySettingsVersions(UpdateClient& client, std::string_view installedSoftware, int keyboardKind,
                                       uint16_t keyboardVersion);
/// The RGB keyboard's line when it connects while the window is open.
VersionLine QueryKeyboardLine(UpdateClient& client, uint16_t keyboardVersion);

/// "lanuage_select_combo" lists the languages in the order Simplified Chinese, Traditional
/// Chinese, English, Japanese; main.ini "LANGUAGE" numbers them 1, 2, 0, 3.
std::optional<int> LanguageComboEntry(int iniLanguage);
std::optional<int> LanguageOfComboEntry(int entry);

}  // namespace orvane::update
