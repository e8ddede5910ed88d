// SPDX-License-Identifier: GPL-3.0-or-later
// Input through a real X server (Xvfb, the xcb platform, XTEST events): the key capture
// takes every capturable key the server reports, with the modifiers held with it, and names
// a character key as the server's layout prints it, and macro recording turns a key held past
// the server's auto-repeat into one press and one release and leaves out the click on Stop
// that ends it.
#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QWidget>

#include <cstdio>
#include <utility>
#include <vector>

#include "functions/capture_keys.h"
#include "functions/function_editor.h"
#include "functions/linux_keys.h"
#include "macros/action_line.h"
#include "ui/input_capture.h"
#include "ui/key_layout.h"
#include "ui/macro_editor_rig.h"
#include "x11/x11_wait.h"
#include "x11/xtest_input.h"

namespace {

using orvane::functions::CapturedInput;
using orvane::ui::InputCapture;
namespace mode = orvane::ui::capture_mode;
using shelltest::WaitUntil;

using x11test::kWaitMs;
using x11test::Pump;

bool ShowActive(QWidget& window) {
    window.show();
    window.raise();
    window.activateWindow();
    return WaitUntil([&] { return window.isActiveWindow(); }, kWaitMs);
}

class X11InputTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != QLatin1String("xcb")) GTEST_SKIP() << "needs the xcb platform";
        ASSERT_TRUE(x.ready()) << "no X server with XTEST";
    }
    /// A window of the program's own, active, so that the capture sees the keys.
    bool showWindow() {
        ownWindow.resize(200, 100);
        return ShowActive(ownWindow);
    }
    x11test::XTestInput x;
    QWidget ownWindow;
};

TEST_F(X11InputTest, KeyCaptureTakesEveryCapturableKeyTheServerReports) {
    QWidget window;
    window.resize(200, 100);
    ASSERT_TRUE(ShowActive(window));
    orvane::functions::EditorState state;
    int presses = 0;
    InputCapture capture([&](const CapturedInput& in) {
        if (in.kind != CapturedInput::Kind::Key || !in.pressed) return;
        ++presses;
        orvane::functions::TakeCapturedKey(state, in.linuxKey);
    });
    ASSERT_TRUE(capture.install(mode::kKeyboardKey, true, false));

    int tried = 0;
    for (uint16_t usage = 0; usage < 256; ++usage) {
        const uint16_t code = orvane::functions::LinuxKeyOfUsage({orvane::functions::HidUsage::Page::Keyboard, usage});
        const auto expected = code ? orvane::functions::CapturedKeyCode(code) : std::nullopt;
        if (!expected || (expected->b1 == 0 && expected->b2 != usage)) continue;  // a shared code: its lowest usage
        SCOPED_TRACE(::testing::Message() << "usage 0x" << std::hex << usage);
        state.code = {};
        const int before = presses;
        x.key(code + orvane::functions::kXkbKeycodeOffset, true);
        x.key(code + orvane::functions::kXkbKeycodeOffset, false);
        ASSERT_TRUE(WaitUntil([&] { return presses > before; }, kWaitMs));
        EXPECT_EQ(state.code, *expected);
        ++tried;
    }
    EXPECT_EQ(tried, 108 + static_cast<int>(orvane::functions::ExtraKeyList.size()));
}

TEST_F(X11InputTest, ACapturedKeyKeepsItsPositionAndShowsWhatTheLayoutPrints) {
    QWidget window;
    window.resize(200, 100);
    ASSERT_TRUE(ShowActive(window));
    orvane::functions::EditorState state;
    int presses = 0;
    InputCapture capture([&](const CapturedInput& in) {
        if (in.kind != CapturedInput::Kind::Key || !in.pressed) return;
        ++presses;
        orvane::functions::TakeCapturedKey(state, in.linuxKey);
    });
    ASSERT_TRUE(capture.install(mode::kKeyboardKey, true, false));
    auto capCaptured = [&] {
        const auto usage = orvane::functions::CharacterKeyUsage(state.controls.capturedKey);
        if (!usage) return QString();
        return orvane::ui::KeyCapOfLinuxKey(
            orvane::functions::LinuxKeyOfUsage({orvane::functions::HidUsage::Page::Keyboard, *usage}));
    };

    struct Case {
        const char* layout;
        uint16_t key;
        uint8_t usage;  ///< stored: the position, whatever the layout
        const char* cap;
    } const cases[] = {
        {"de", KEY_Y, 0x1C, "Z"}, {"de", KEY_Z, 0x1D, "Y"}, {"de", KEY_SEMICOLON, 0x33, "Ö"},
        {"de", KEY_102ND, 0x64, "<"}, {"fr", KEY_Q, 0x14, "A"}, {"fr", KEY_A, 0x04, "Q"},
        {"us", KEY_Y, 0x1C, "Y"}, {"us", KEY_SEMICOLON, 0x33, ";"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.layout << " key " << c.key);
        ASSERT_EQ(QProcess::execute(QStringLiteral("setxkbmap"), {QStringLiteral("-layout"), QLatin1String(c.layout)}), 0);
        const int before = presses;
        x.key(c.key + orvane::functions::kXkbKeycodeOffset, true);
        x.key(c.key + orvane::functions::kXkbKeycodeOffset, false);
        ASSERT_TRUE(WaitUntil([&] { return presses > before; }, kWaitMs));
        EXPECT_EQ(state.code, (orvane::functions::FunctionCode{0x20, 0, c.usage}));
        EXPECT_EQ(capCaptured(), QString::fromUtf8(c.cap));
    }
    EXPECT_TRUE(orvane::ui::KeyCapOfLinuxKey(KEY_ENTER).isEmpty());  // no character: the language's name stands
}

TEST_F(X11InputTest, AKeyCapturedWithCtrlAndShiftHeldKeepsTheModifiersInItsCode) {
    ASSERT_TRUE(showWindow());
    orvane::functions::EditorState state;
    int events = 0;
    InputCapture capture([&](const CapturedInput& in) {
        events += in.kind == CapturedInput::Kind::Key;
        if (in.kind == CapturedInput::Kind::Key && in.pressed)
            orvane::functions::TakeCapturedKey(state, in.linuxKey, in.heldModifiers);
    });
    ASSERT_TRUE(capture.install(mode::kMouseKey, true, false));
    ASSERT_EQ(QProcess::execute(QStringLiteral("setxkbmap"), {QStringLiteral("-layout"), QStringLiteral("us")}), 0);
    const auto code = [](uint16_t key) { return key + orvane::functions::kXkbKeycodeOffset; };
    // Ctrl and Shift go down, F, and they are let go of with Ctrl first.
    for (const auto& [key, down] : std::vector<std::pair<uint16_t, bool>>{
             {KEY_LEFTCTRL, true}, {KEY_LEFTSHIFT, true}, {KEY_F, true},
             {KEY_LEFTCTRL, false}, {KEY_F, false}, {KEY_LEFTSHIFT, false}})
        x.key(code(key), down);
    ASSERT_TRUE(WaitUntil([&] { return events >= 6; }, kWaitMs));
    EXPECT_EQ(state.code, (orvane::functions::FunctionCode{0x20, 0x03, 0x09}));
    EXPECT_EQ(state.controls.capturedKey, "keyboard_key_F");
    EXPECT_EQ(state.controls.capturedModifiers, 0x03);

    // Once let go of, a key alone carries no modifier.
    x.key(code(KEY_G), true);
    x.key(code(KEY_G), false);
    ASSERT_TRUE(WaitUntil([&] { return events >= 8; }, kWaitMs));
    EXPECT_EQ(state.code, (orvane::functions::FunctionCode{0x20, 0, 0x0A}));
}

TEST_F(X11InputTest, AHeldKeyIsOnePressAndOneReleaseAndTheStopClickIsLeftOut) {
    using macrotest::EditorRig;
    EditorRig rig(macrotest::MacroSet::Keyboard, [](auto& store) { macrotest::Seed(store, macrotest::MacroSet::Keyboard, 1); });
    QWidget& window = rig.h.root();
    window.resize(1100, 760);
    ASSERT_TRUE(ShowActive(window));
    rig.setChecked("macro_mouse_click", true);
    rig.click("macro_btn_redio");
    ASSERT_TRUE(rig.page->recording());

    std::vector<CapturedInput> keyEvents;
    InputCapture capture([&](const CapturedInput& in) {
        if (in.kind == CapturedInput::Kind::Key) keyEvents.push_back(in);
        rig.page->record(in);
    });
    ASSERT_TRUE(capture.install(mode::kKeyboardMacro, true, true));

    // Held for 1.5 s: the server repeats it from 660 ms on.
    const unsigned keyA = KEY_A + orvane::functions::kXkbKeycodeOffset;
    x.key(keyA, true);
    Pump(1500);
    x.key(keyA, false);
    Pump(300);
    // The server repeated the held key as release+press pairs of one stamp.
    int pairs = 0, unflagged = 0;
    for (size_t i = 0; i + 1 < keyEvents.size(); ++i) {
        if (keyEvents[i].pressed || !keyEvents[i + 1].pressed || keyEvents[i].eventTime != keyEvents[i + 1].eventTime)
            continue;
        ++pairs;
        if (!keyEvents[i].autoRepeat || !keyEvents[i + 1].autoRepeat) ++unflagged;
    }
    EXPECT_GE(pairs, 3);
    RecordProperty("repeat_pairs", pairs);
    RecordProperty("repeat_pairs_not_flagged", unflagged);
    std::printf("held 1.5 s: %zu key events, %d repeat pairs, %d of them not flagged as auto-repeat\n",
                keyEvents.size(), pairs, unflagged);

    auto* stop = rig.control<QAbstractButton>("macro_btn_redio");
    ASSERT_TRUE(stop && stop->isVisible());
    const QPoint at = stop->mapToGlobal(stop->rect().center());
    x.moveTo(at.x(), at.y());
    Pump(100);
    x.button(1, true);
    Pump(60);
    x.button(1, false);
    ASSERT_TRUE(WaitUntil([&] { return !rig.page->recording(); }, kWaitMs));
    Pump(100);

    const auto lines = rig.lines();
    ASSERT_EQ(lines.size(), 2u) << testing::PrintToString(lines);
    const auto down = orvane::macros::ParseActionLine(lines[0]);
    EXPECT_EQ(lines[0].substr(lines[0].find(',', lines[0].find(',') + 1)), ",138,4,1,keyboard_key_A");
    // About the real hold time (1.5 s, 150 units), however slowly the machine delivered: a
    // loaded X server may stamp the press late, but repeats mistaken for presses would leave a
    // few units only.
    EXPECT_GE(down.delayUnits(), 120);
    EXPECT_LE(down.delayUnits(), 400);
    EXPECT_EQ(lines[1], "0,0,10,4,0,keyboard_key_A");
}

}  // namespace
