// SPDX-License-Identifier: GPL-3.0-or-later
// The frameless window under a real window manager (openbox on Xvfb, XTEST input): a press
// and release on the window's background with no movement (a tap, or `xdotool click`) is a
// click — it neither moves the window, nor leaves it stuck to the pointer, nor ends a macro
// recording — while a press dragged past the drag distance moves the window through the
// window manager. A press dragged on an edge or corner resizes the window (a click there does
// nothing), the pointer shows the resize shape over the edges, and the maximise button and a
// double click on the title maximise and restore.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QWindow>

#include "app/features/macro_pages_feature.h"
#include "app/window_frame.h"
#include "program_rig.h"
#include "x11/x11_wait.h"
#include "x11/xtest_input.h"

namespace {

using orvane::device::DeviceModel;
using shelltest::WaitUntil;

using x11test::kWaitMs;
using x11test::Pump;

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

    /// A press at `from`, dragged by `by` in steps, released.
    void drag(QPoint from, QPoint by) {
        x.moveTo(from.x(), from.y());
        Pump(50);
        x.button(1, true);
        for (int step = 1; step <= 8; ++step) {
            x.moveTo(from.x() + by.x() * step / 8, from.y() + by.y() * step / 8);
            Pump(40);
        }
        x.button(1, false);
        Pump(300);
    }
    void doubleClick(QPoint at) {
        x.moveTo(at.x(), at.y());
        Pump(50);
        for (int i = 0; i < 2; ++i) {
            x.button(1, true);
            x.button(1, false);
        }
        Pump(300);
    }
    /// The shape the pointer has over the window now (none: the widgets' own).
    static std::optional<Qt::CursorShape> overrideShape() {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        return cursor ? std::optional(cursor->shape()) : std::nullopt;
    }
    /// The program's window shown, active and settled.
    QWidget& shown(programtest::ProgramRig& rig) {
        EXPECT_TRUE(rig.waitForTab("ms_tab"));
        EXPECT_TRUE(rig.settle());
        QWidget& window = rig.window();
        window.show();
        window.activateWindow();
        EXPECT_TRUE(WaitUntil([&] { return window.isActiveWindow(); }, kWaitMs));
        return window;
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

namespace {

TEST_F(WindowDragTest, AnEdgeDragResizesTheWindowAndAnEdgeClickDoesNot) {
    programtest::ProgramRig rig({.models = {DeviceModel::Mouse}});
    QWidget& window = shown(rig);
    window.resize(900, 640);
    ASSERT_TRUE(WaitUntil([&] { return window.size() == QSize(900, 640); }, kWaitMs));

    struct Case {
        const char* edge;
        QPoint (*at)(QSize);  // inside the window, on the edge
        QPoint by;
        Qt::CursorShape shape;
    };
    const Case cases[] = {
        {"bottom-right corner", [](QSize s) { return QPoint(s.width() - 2, s.height() - 2); }, {70, 50}, Qt::SizeFDiagCursor},
        {"right edge", [](QSize s) { return QPoint(s.width() - 2, s.height() / 2); }, {60, 0}, Qt::SizeHorCursor},
        {"left edge", [](QSize s) { return QPoint(1, s.height() / 2); }, {-60, 0}, Qt::SizeHorCursor},
        {"bottom edge", [](QSize s) { return QPoint(s.width() / 2, s.height() - 2); }, {0, 50}, Qt::SizeVerCursor},
        {"top-left corner", [](QSize) { return QPoint(2, 2); }, {-40, -30}, Qt::SizeFDiagCursor},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.edge);
        const QRect before = window.geometry();
        const QPoint on = window.mapToGlobal(c.at(window.size()));

        // Hovering shows the resize shape; inside, the widgets' own shapes come back.
        x.moveTo(on.x(), on.y());
        EXPECT_TRUE(WaitUntil([&] { return overrideShape() == c.shape; }, kWaitMs)) << "no resize shape over the edge";
        const QPoint inside = window.mapToGlobal(QPoint(window.width() / 2, 20));
        x.moveTo(inside.x(), inside.y());
        EXPECT_TRUE(WaitUntil([&] { return !overrideShape(); }, kWaitMs)) << "the resize shape stayed inside";

        tap(on);
        Pump(300);
        EXPECT_EQ(window.geometry(), before) << "a click on the edge resized or moved the window";

        drag(on, c.by);
        ASSERT_TRUE(WaitUntil([&] { return window.size() != before.size(); }, kWaitMs)) << "a drag on the edge did not resize";
        const QRect after = window.geometry();
        // The window grew towards the drag; the opposite edges stayed where they were.
        if (c.by.x() > 0) EXPECT_GT(after.width(), before.width());
        if (c.by.x() < 0) EXPECT_EQ(after.right(), before.right());
        if (c.by.x() > 0) EXPECT_EQ(after.left(), before.left());
        if (c.by.y() > 0) EXPECT_EQ(after.top(), before.top());
        if (c.by.y() < 0) EXPECT_EQ(after.bottom(), before.bottom());
        if (c.by.x() == 0) EXPECT_EQ(after.width(), before.width());
        if (c.by.y() == 0) EXPECT_EQ(after.height(), before.height());
    }
}

TEST_F(WindowDragTest, TheMaximiseButtonAndATitleDoubleClickMaximiseAndRestore) {
#ifdef __SANITIZE_ADDRESS__
    // Under AddressSanitizer the window manager has been seen to miss the maximise (once in
    // three runs, never in the plain build): until that is understood this runs in the plain
    // build only, where it always has.
    GTEST_SKIP() << "not under AddressSanitizer: the maximise was seen to be missed there";
#endif
    programtest::ProgramRig rig({.models = {DeviceModel::Mouse}});
    QWidget& window = shown(rig);
    auto* maximise = rig.control<QAbstractButton>("maxbtn");
    auto* restore = rig.control<QAbstractButton>("restorebtn");
    const auto centre = [](QWidget* w) { return w->mapToGlobal(w->rect().center()); };
    const auto expectMaximised = [&](bool maximised) {
        ASSERT_TRUE(WaitUntil([&] { return window.isMaximized() == maximised; }, kWaitMs));
        ASSERT_TRUE(WaitUntil([&] { return maximise->isVisible() != maximised && restore->isVisible() == maximised; }, kWaitMs));
    };
    expectMaximised(false);
    EXPECT_EQ(maximise->toolTip(), "Maximise");
    EXPECT_EQ(restore->toolTip(), "Restore");

    tap(centre(maximise));
    expectMaximised(true);
    // Maximised, the edges do not resize: no resize shape over them.
    const QPoint corner = window.mapToGlobal(QPoint(window.width() - 2, window.height() - 2));
    x.moveTo(corner.x(), corner.y());
    Pump(300);
    EXPECT_FALSE(overrideShape());
    tap(centre(restore));
    expectMaximised(false);

    // A double click on the title's empty middle or on its text does the same.
    doubleClick(window.mapToGlobal(QPoint(window.width() / 2, 20)));
    expectMaximised(true);
    doubleClick(centre(rig.control<QWidget>("title_label")));
    expectMaximised(false);
}

}  // namespace
