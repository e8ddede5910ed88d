// SPDX-License-Identifier: GPL-3.0-or-later
// InputCapture on the offscreen platform: key events with native scan codes as X11 and xkb
// deliver them, mouse buttons, wheel and moves, each reported once with its mode's message,
// and the window still gets every event.
#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

#include <vector>

#include "shell_test_support.h"
#include "ui/input_capture.h"

namespace {

using orvane::ui::CapturedInput;
using orvane::ui::InputCapture;
namespace mode = orvane::ui::capture_mode;

class InputCaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&window);
        edit = new QLineEdit(&window);
        button = new QPushButton("Apply", &window);
        layout->addWidget(edit);
        layout->addWidget(button);
        window.resize(300, 200);
        window.show();
        window.activateWindow();
        edit->setFocus();
        ASSERT_TRUE(shelltest::WaitUntil([&] { return QApplication::focusWidget() == edit; }));
    }

    /// A key as the windowing system hands it to the window: X11/xkb keycode = Linux code + 8.
    void key(QEvent::Type type, int qtKey, uint16_t linuxKey, const QString& text = {}, bool repeat = false) {
        QKeyEvent e(type, qtKey, Qt::NoModifier, linuxKey + 8u, 0, 0, text, repeat);
        QCoreApplication::sendEvent(window.windowHandle(), &e);
    }
    void mouse(QEvent::Type type, QWidget* at, Qt::MouseButton b) {
        const QPointF local = at->mapTo(&window, at->rect().center());
        const QPointF global = window.mapToGlobal(local);
        const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::MouseButtons(b) : Qt::NoButton;
        QMouseEvent e(type, local, local, global, b, held, Qt::NoModifier);
        QCoreApplication::sendEvent(window.windowHandle(), &e);
    }
    void wheel(int delta) {
        const QPointF local(10, 10);
        QWheelEvent e(local, window.mapToGlobal(local), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(window.windowHandle(), &e);
    }

    QWidget window;
    QLineEdit* edit = nullptr;
    QPushButton* button = nullptr;
    std::vector<CapturedInput> got;
    InputCapture capture{[this](const CapturedInput& in) { got.push_back(in); }};
};

TEST_F(InputCaptureTest, KeysCarryTheirLinuxCodeAndStillReachTheWindow) {
    ASSERT_TRUE(capture.install(mode::kKeyboardKey, true, false));
    key(QEvent::KeyPress, Qt::Key_A, KEY_A, "a");
    key(QEvent::KeyPress, Qt::Key_A, KEY_A, "a", true);
    key(QEvent::KeyRelease, Qt::Key_A, KEY_A, "a");
    key(QEvent::KeyPress, Qt::Key_Enter, KEY_KPENTER);
    key(QEvent::KeyPress, Qt::Key_Return, KEY_ENTER);
    key(QEvent::KeyPress, Qt::Key_F13, 0xF000);  // a key no list knows is reported all the same
    mouse(QEvent::MouseButtonPress, button, Qt::LeftButton);  // not asked for

    struct Expect { uint16_t linuxKey; bool pressed, repeat, extended; };
    const Expect expected[] = {{KEY_A, true, false, false}, {KEY_A, true, true, false}, {KEY_A, false, false, false},
                               {KEY_KPENTER, true, false, true}, {KEY_ENTER, true, false, false},
                               {0xF000, true, false, false}};
    ASSERT_EQ(got.size(), std::size(expected));
    int64_t last = 0;
    for (size_t i = 0; i < got.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(got[i].kind, CapturedInput::Kind::Key);
        EXPECT_EQ(got[i].mode, mode::kKeyboardKey);
        EXPECT_EQ(got[i].message, 2049);
        EXPECT_EQ(got[i].linuxKey, expected[i].linuxKey);
        EXPECT_EQ(got[i].pressed, expected[i].pressed);
        EXPECT_EQ(got[i].autoRepeat, expected[i].repeat);
        EXPECT_EQ(got[i].extended, expected[i].extended);
        EXPECT_GE(got[i].timeMs, last);
        last = got[i].timeMs;
    }
    // The key went on to the focused edit (twice: press and its repeat).
    EXPECT_EQ(edit->text(), "aa");

    capture.removeAll();
    edit->setFocus();  // the click went to the button, which took the focus
    key(QEvent::KeyPress, Qt::Key_B, KEY_B, "b");
    EXPECT_EQ(got.size(), std::size(expected));
    EXPECT_EQ(edit->text(), "aab");
}

TEST_F(InputCaptureTest, RecordingTakesTheMouseWithoutSwallowingIt) {
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
    ASSERT_TRUE(capture.install(mode::kMouseMacro, true, true));
    mouse(QEvent::MouseButtonPress, button, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, button, Qt::LeftButton);
    mouse(QEvent::MouseButtonPress, edit, Qt::BackButton);
    wheel(-120);
    mouse(QEvent::MouseMove, edit, Qt::NoButton);
    key(QEvent::KeyPress, Qt::Key_Z, KEY_Z, "z");
    EXPECT_EQ(clicks, 1);

    using Kind = CapturedInput::Kind;
    using Button = CapturedInput::Button;
    ASSERT_EQ(got.size(), 6u);
    EXPECT_EQ(got[0].kind, Kind::MouseButton);
    EXPECT_EQ(got[0].button, Button::Left);
    EXPECT_TRUE(got[0].pressed);
    EXPECT_EQ(got[0].message, 2067);
    const QPoint centre = button->mapToGlobal(button->rect().center());
    EXPECT_EQ(QPoint(got[0].x, got[0].y), centre);
    EXPECT_FALSE(got[1].pressed);
    EXPECT_EQ(got[2].button, Button::Back);
    EXPECT_EQ(got[3].kind, Kind::Wheel);
    EXPECT_EQ(got[3].wheelDelta, -120);
    EXPECT_EQ(got[4].kind, Kind::Move);
    EXPECT_EQ(got[5].kind, Kind::Key);
    EXPECT_EQ(got[5].message, 2066);

    // The keyboard page's recording without the mouse option: keys only.
    ASSERT_TRUE(capture.install(mode::kKeyboardMacro, true, false));
    got.clear();
    mouse(QEvent::MouseButtonPress, button, Qt::LeftButton);
    key(QEvent::KeyRelease, Qt::Key_Z, KEY_Z, "z");
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].message, 2051);
    EXPECT_FALSE(got[0].pressed);

    // A key capture takes no mouse events even when asked; an unknown mode installs nothing.
    ASSERT_TRUE(capture.install(mode::kMouseKey, true, true));
    got.clear();
    wheel(120);
    key(QEvent::KeyPress, Qt::Key_Z, KEY_Z, "z");
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].message, 2064);
    EXPECT_FALSE(capture.install(2, true, true));
    EXPECT_FALSE(capture.capturesKeys());
    key(QEvent::KeyPress, Qt::Key_Z, KEY_Z, "z");
    EXPECT_EQ(got.size(), 1u);
}

TEST(InputCaptureCodes, ScanCodesAndMessages) {
    EXPECT_EQ(orvane::ui::LinuxKeyOfScanCode(KEY_A + 8), KEY_A);
    EXPECT_EQ(orvane::ui::LinuxKeyOfScanCode(8), 0);
    EXPECT_EQ(orvane::ui::LinuxKeyOfScanCode(0), 0);
    for (int m : {1, 4, 16, 64}) EXPECT_NE(orvane::ui::KeyMessageOf(m), 0);
    EXPECT_EQ(orvane::ui::MouseMessageOf(1), 0);
    EXPECT_EQ(orvane::ui::MouseMessageOf(16), 0);
    EXPECT_EQ(orvane::ui::KeyMessageOf(32), 0);
}

}  // namespace
