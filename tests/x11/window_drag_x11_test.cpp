// SPDX-License-Identifier: GPL-3.0-or-later
// The frameless window under a real window manager (openbox on Xvfb, XTEST input): a press
// and release on the window's background with no movement (a tap, or `xdotool click`) is a
// click — it neither moves the window, nor leaves it stuck to the pointer, nor ends a macro
// recording — while a press dragged past the drag distance moves the window through the
// window manager.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>

#include "app/features/macro_pages_feature.h"
#include "program_rig.h"
#include "x11/xtest_input.h"

namespace {

using orvane::device::DeviceModel;
using shelltest::WaitUntil;

constexpr int kWaitMs = 20000;  // generous: a loaded machine delivers slowly

void Pump(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 10);
}

/// openbox on the test's display, until the test ends; false when it is not installed or
/// does not take the screen.
class WindowManager {
public:
    bool start() {
        process_.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
        if (!process_.waitForStarted(5000)) return false;
        // A manager that runs announces itself on the root window.
        return WaitUntil([] {
            QProcess xprop;
            xprop.start(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
            return xprop.waitForFinished(5000) && xprop.readAllStandardOutput().contains("window id");
        }, kWaitMs);
    }
    ~WindowManager() {
        process_.terminate();
        if (!process_.waitForFinished(5000)) process_.kill();
    }

private:
    QProcess process_;
};

class WindowDragTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != QLatin1String("xcb")) GTEST_SKIP() << "needs the xcb platform";
        ASSERT_TRUE(x.ready()) << "no X server with XTEST";
        if (!wm.start()) GTEST_SKIP() << "openbox is not installed (scripts/install-deps.sh installs it)";
    }

    /// A point of the title bar's empty middle, on the screen.
    QPoint background(QWidget& window) const { return window.mapToGlobal(QPoint(window.width() / 2, 20)); }
    void tap(QPoint at) {
        x.moveTo(at.x(), at.y());
        Pump(50);
        x.button(1, true);
        x.button(1, false);  // no time between: as xdotool click sends it
        Pump(300);
    }

    x11test::XTestInput x;
    WindowManager wm;
};

TEST_F(WindowDragTest, ATapIsAClickAndOnlyADragMovesTheWindow) {
    programtest::ProgramRig rig({.models = {DeviceModel::Mouse}});
    ASSERT_TRUE(rig.waitForTab("ms_tab"));
    ASSERT_TRUE(rig.settle());
    QWidget& window = rig.window();
    window.show();
    window.activateWindow();
    ASSERT_TRUE(WaitUntil([&] { return window.isActiveWindow(); }, kWaitMs));
    const QPoint start = window.pos();

    // A tap, then the pointer moves on with no button down: the window stays where it is.
    const QPoint at = background(window);
    tap(at);
    x.moveTo(at.x() + 60, at.y() + 40);
    Pump(400);
    EXPECT_EQ(window.pos(), start) << "a tap moved the window or left it stuck to the pointer";
    EXPECT_TRUE(window.isActiveWindow());

    // A press dragged past the drag distance: the window manager moves the window.
    x.moveTo(at.x(), at.y());
    Pump(50);
    x.button(1, true);
    for (int step = 1; step <= 8; ++step) {
        x.moveTo(at.x() + 10 * step, at.y() + 5 * step);
        Pump(40);
    }
    x.button(1, false);
    ASSERT_TRUE(WaitUntil([&] { return window.pos() != start; }, kWaitMs)) << "a drag did not move the window";

    // While a macro is recorded (mouse buttons too), a tap on the background is a click:
    // the recording goes on.
    auto* pages = rig.feature<orvane::app::MacroPagesFeature>();
    ASSERT_NE(pages, nullptr);
    rig.control<QAbstractButton>("ms_macro_Op_tab")->click();
    rig.control<QAbstractButton>("ms_macro_btn_name_add")->click();
    ASSERT_TRUE(rig.settle());
    rig.control<QAbstractButton>("ms_macro_mouse_click")->setChecked(true);
    rig.control<QAbstractButton>("ms_macro_btn_redio")->click();
    const auto& page = pages->macroPage(orvane::macros::MacroSet::Mouse);
    ASSERT_TRUE(page.recording());
    const QPoint moved = window.pos();
    tap(background(window));
    EXPECT_TRUE(page.recording()) << "the tap ended the recording";
    EXPECT_TRUE(window.isActiveWindow());
    EXPECT_EQ(window.pos(), moved);
}

}  // namespace
