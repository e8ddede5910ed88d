// SPDX-License-Identifier: GPL-3.0-or-later
// The device pages worked with real input (Xvfb, the xcb platform, XTEST events): a DPI
// typed into a stage's value edit and confirmed with Return lands on the sensor's step, and
// a drag across the keyboard picture paints every key it passes over.
#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QGuiApplication>
#include <QLineEdit>
#include <QProcess>
#include <QScrollArea>

#include <utility>

#include <QComboBox>

#include "functions/linux_keys.h"
#include "lighting/keyboard_tables.h"
#include "lighting/lighting_edits.h"
#include "program_rig.h"
#include "x11/x11_wait.h"
#include "x11/xtest_input.h"

namespace {

using orvane::device::DeviceModel;
using shelltest::WaitUntil;
using x11test::kWaitMs;
using x11test::Pump;

class PagesInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != QLatin1String("xcb")) GTEST_SKIP() << "needs the xcb platform";
        ASSERT_TRUE(x.ready()) << "no X server with XTEST";
        ASSERT_EQ(QProcess::execute(QStringLiteral("setxkbmap"), {QStringLiteral("-layout"), QStringLiteral("us")}), 0);
    }
    bool showActive(QWidget& window) {
        window.show();
        window.raise();
        window.activateWindow();
        return WaitUntil([&] { return window.isActiveWindow(); }, kWaitMs);
    }
    void clickAt(QWidget& w, QPoint local) {
        const QPoint at = w.mapToGlobal(local);
        x.moveTo(at.x(), at.y());
        Pump(50);
        x.button(1, true);
        x.button(1, false);
        Pump(100);
    }
    void type(std::initializer_list<uint16_t> keys) {
        for (const uint16_t key : keys) {
            x.key(key + orvane::functions::kXkbKeycodeOffset, true);
            x.key(key + orvane::functions::kXkbKeycodeOffset, false);
        }
    }

    x11test::XTestInput x;
};

TEST_F(PagesInputTest, ADpiTypedIntoAStageLandsOnTheSensorsStep) {
    programtest::ProgramRig rig({.models = {DeviceModel::Mouse2}});  // 100-12000 in steps of 100
    ASSERT_TRUE(rig.waitForTab("ms_tab"));
    ASSERT_TRUE(rig.settle());
    ASSERT_TRUE(showActive(rig.window()));
    rig.control<QAbstractButton>("ms_rich_Op_tab")->click();
    auto* edit = rig.control<QLineEdit>("ms_DPI3_label_value");
    auto* slider = rig.control<QAbstractSlider>("ms_DPI3_slider");
    ASSERT_TRUE(edit && slider);
    ASSERT_TRUE(WaitUntil([&] { return edit->isVisible(); }, kWaitMs));

    // Click into the edit, select what it shows, type 1234 and Return.
    clickAt(*edit, edit->rect().center());
    ASSERT_TRUE(WaitUntil([&] { return edit->hasFocus(); }, kWaitMs));
    x.key(KEY_LEFTCTRL + orvane::functions::kXkbKeycodeOffset, true);
    type({KEY_A});
    x.key(KEY_LEFTCTRL + orvane::functions::kXkbKeycodeOffset, false);
    type({KEY_1, KEY_2, KEY_3, KEY_4, KEY_ENTER});
    ASSERT_TRUE(WaitUntil([&] { return slider->value() == 11; }, kWaitMs)) << slider->value();
    EXPECT_EQ(edit->text(), QStringLiteral("1200"));

    // Letters are refused as they are typed; the focus leaving confirms too.
    type({KEY_END, KEY_BACKSPACE, KEY_BACKSPACE, KEY_BACKSPACE, KEY_BACKSPACE, KEY_X, KEY_9, KEY_9, KEY_9, KEY_9, KEY_9});
    ASSERT_TRUE(WaitUntil([&] { return edit->text() == QStringLiteral("99999"); }, kWaitMs)) << edit->text().toStdString();
    type({KEY_TAB});
    ASSERT_TRUE(WaitUntil([&] { return slider->value() == 119; }, kWaitMs)) << slider->value();
    EXPECT_EQ(edit->text(), QStringLiteral("12000"));
}

TEST_F(PagesInputTest, ADragAcrossTheKeyboardPicturePaintsEveryKeyItPasses) {
    programtest::RigOptions options;
    options.models = {DeviceModel::RgbKeyboard};
    options.features = std::vector<std::string_view>{"presence", "profiles", "lighting", "lighting pages"};
    programtest::ProgramRig rig(options);
    ASSERT_TRUE(WaitUntil([&] { return rig.runtime().connected(orvane::device::DeviceKind::Keyboard); }, kWaitMs));
    ASSERT_TRUE(rig.settle());
    ASSERT_TRUE(showActive(rig.window()));
    rig.control<QAbstractButton>("kb_deng_Op_tab")->click();
    rig.control<QComboBox>("kb_deng_combo_modeSelect")->setCurrentIndex(15);  // custom
    rig.control<QAbstractButton>("kb_Deng_all_kill_check")->click();         // an empty layer
    rig.control<QAbstractButton>("kb_Deng_color_btn_0")->click();            // paint red
    const auto colourAt = [&](int position) {
        const auto d = rig.runtime().keyboard.snapshot();
        return d.colours.colourAt(orvane::lighting::PaintLayer(d), orvane::lighting::kRgbSlot[size_t(position)]);
    };
    // 1 2 3 4 5: positions 22-26 of the digit row.
    QWidget* first = rig.control("kb_dkey_22");
    QWidget* last = rig.control("kb_dkey_26");
    ASSERT_TRUE(first && last);
    ASSERT_TRUE(WaitUntil([&] { return last->isVisible(); }, kWaitMs));
    // The page settles its layout after it comes up: the keys stay put before the drag.
    QPoint settled;
    ASSERT_TRUE(WaitUntil([&] {
        const QPoint now = first->mapToGlobal(QPoint());
        Pump(300);
        return std::exchange(settled, now) == now && first->mapToGlobal(QPoint()) == now;
    }, kWaitMs));
    const QPoint from = first->mapToGlobal(first->rect().center());
    const QPoint to = last->mapToGlobal(last->rect().center());
    x.moveTo(from.x(), from.y());
    Pump(50);
    x.button(1, true);
    for (int step = 1; step <= 16; ++step) {
        x.moveTo(from.x() + (to.x() - from.x()) * step / 16, from.y() + (to.y() - from.y()) * step / 16);
        Pump(30);
    }
    x.button(1, false);
    for (int p = 22; p <= 26; ++p) {
        SCOPED_TRACE(p);
        EXPECT_TRUE(WaitUntil([&] { return colourAt(p).r == 255; }, kWaitMs));
    }
    EXPECT_EQ(colourAt(27).r, 0) << "a key past the drag";
    EXPECT_EQ(colourAt(21).r, 0) << "a key before it";

    // A single click still paints one key; the whole-layer buttons each act once per click.
    clickAt(*rig.control("kb_dkey_30"), rig.control("kb_dkey_30")->rect().center());
    EXPECT_TRUE(WaitUntil([&] { return colourAt(30).r == 255; }, kWaitMs));
    auto* clear = rig.control<QAbstractButton>("kb_Deng_all_kill_check");
    EXPECT_FALSE(clear->isCheckable());
    // At the first window size the per-key panel wraps below the picture: scroll to it as a user would.
    for (QWidget* p = clear->parentWidget(); p; p = p->parentWidget()) {
        if (auto* area = qobject_cast<QScrollArea*>(p)) area->ensureWidgetVisible(clear);
    }
    Pump(100);
    clickAt(*clear, clear->rect().center());
    EXPECT_TRUE(WaitUntil([&] { return colourAt(30).r == 0 && colourAt(22).r == 0; }, kWaitMs));
}

}  // namespace
