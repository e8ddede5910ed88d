// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/screenshot_pages.h"

#include <array>

#include <QAbstractButton>
#include <QApplication>
#include <QLayout>
#include <QMenu>

#include "app/main_window.h"
#include "runtime/runtime.h"

namespace orvane::app {

using device::DeviceKind;

namespace {

// The device part of a page's screenshot name, in the order of the device kinds.
constexpr std::array<const char*, 3> kDeviceNames{"keyboard", "mouse", "mousepad"};
const char* NameOf(DeviceKind kind) { return kDeviceNames[runtime::IndexOf(kind)]; }

void LayOut(QWidget& widget) {
    widget.ensurePolished();
    if (widget.layout()) widget.layout()->activate();
    QApplication::processEvents();
}

}  // namespace

bool ShowScreenshotPage(MainWindow& window, const ScreenshotPage& page, QString* why) {
    window.resize(kFirstWindowSize);
    window.show();
    if (page.device) {
        if (!window.runtime().connected(*page.device)) {
            if (why) *why = QStringLiteral("no %1 is connected").arg(QLatin1String(NameOf(*page.device)));
            return false;
        }
        window.selectDevice(*page.device);
    }
    if (!page.option) return true;
    auto* option = window.control<QAbstractButton>(QLatin1String(page.option));
    if (!option || !option->isVisibleTo(&window)) {
        if (why) *why = QStringLiteral("the window has no %1").arg(QLatin1String(page.option));
        return false;
    }
    // Clicked as a user clicks: an option notifies its selection change, a button opens its
    // window. An option already selected shows its page already.
    if (page.opensWindow) option->click();
    else if (!option->isChecked()) option->setChecked(true);
    return true;
}

QWidget* ScreenshotTarget(MainWindow& window, const ScreenshotPage* page) {
    if (!page || !page->opensWindow) return &window;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top != &window && top->isVisible() && !qobject_cast<QMenu*>(top) && top->isWindow()) return top;
    return nullptr;
}

bool SaveScreenshot(QWidget& widget, const QString& path) {
    LayOut(widget);
    return widget.grab().save(path, "PNG");
}

}  // namespace orvane::app
