// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pages `orvane --screenshot PATH --page NAME` can show: one row each. A device page is
// its device's tab and the sub-page option clicked as a user would; a window page is the
// top-level window a title button opens. A page added later is one row here.

#include <QLatin1String>
#include <QSize>
#include <QString>

#include <array>
#include <optional>

#include "device/models.h"

class QWidget;  // the command line reads the page names without Qt Widgets

namespace orvane::app {

class MainWindow;

struct ScreenshotPage {
    const char* name;
    std::optional<device::DeviceKind> device;  ///< the device whose tab shows the page
    const char* option;                        ///< the sub-page option, or the title button
    bool opensWindow;                          ///< option is a button that opens another window
};

inline constexpr std::array<ScreenshotPage, 10> kScreenshotPages{{
    {"kb-lighting", device::DeviceKind::Keyboard, "kb_deng_Op_tab", false},
    {"kb-keys", device::DeviceKind::Keyboard, "kb_key_Op_tab", false},
    {"kb-macros", device::DeviceKind::Keyboard, "kb_macro_Op_tab", false},
    {"ms-performance", device::DeviceKind::Mouse, "ms_rich_Op_tab", false},
    {"ms-lighting", device::DeviceKind::Mouse, "ms_deng_Op_tab", false},
    {"ms-buttons", device::DeviceKind::Mouse, "ms_key_Op_tab", false},
    {"ms-macros", device::DeviceKind::Mouse, "ms_macro_Op_tab", false},
    {"ms-cursor", device::DeviceKind::Mouse, "ms_cursor_Op_tab", false},
    {"mp", device::DeviceKind::Mousepad, nullptr, false},
    {"settings", std::nullopt, "setbtn", true},
}};

/// The window's first size (MainWindow starts with it where the screen has room); a
/// screenshot shows the window at this size whatever the screen, so pictures compare.
inline constexpr QSize kFirstWindowSize{880, 620};

inline const ScreenshotPage* FindScreenshotPage(const QString& name) {
    for (const auto& page : kScreenshotPages)
        if (name == QLatin1String(page.name)) return &page;
    return nullptr;
}

/// Brings the page up in the shown window. false (and why) when it cannot be shown: its
/// device is not connected, or the window's skin lacks its option.
bool ShowScreenshotPage(MainWindow& window, const ScreenshotPage& page, QString* why);

/// What to capture once the page is up: the main window, or for a window page the window
/// that opened (null when none did: that window does not exist yet).
QWidget* ScreenshotTarget(MainWindow& window, const ScreenshotPage* page);

/// Lays out and paints the widget as it is on screen and writes it as PNG; false on failure.
bool SaveScreenshot(QWidget& widget, const QString& path);

}  // namespace orvane::app
