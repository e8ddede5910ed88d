// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pages `orvane --screenshot PATH --page NAME` can show: the rows of the page table
// (ui/pages/page_table.h). A device page is its device's tab and the sub-page option clicked
// as a user would; a window page is the top-level window a title button opens.

#include <QLatin1String>
#include <QSize>
#include <QString>

#include "ui/pages/page_table.h"

class QWidget;  // the command line reads the page names without Qt Widgets

namespace orvane::app {

class MainWindow;

using ScreenshotPage = ui::pages::PageRow;
inline constexpr const auto& kScreenshotPages = ui::pages::kPages;

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
