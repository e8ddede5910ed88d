// SPDX-License-Identifier: GPL-3.0-or-later
// The key pages on an emulated keyboard and mouse, worked through their controls: every
// category stores its code and shows it back, the clamps, the last left-click button, key
// capture through the window's own key events (keypad and main Enter, a media key), the
// macro list, and the apply: the device's key memory and the key profile file hold the bank
// or page, and a device that refuses leaves the profile as it was and says so.
#include <gtest/gtest.h>

#include <QLabel>

#include <linux/input-event-codes.h>

#include <algorithm>
#include <array>
#include <utility>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QWindow>

#include "app/features/key_capture_feature.h"
#include "app/features/key_pages_feature.h"
#include "device/protocol/commands.h"
#include "key_pages_rig.h"
#include "ui/controls/circle_progress.h"
#include "ui/input_capture.h"
#include "ui/language.h"

using namespace orvane;
using device::DeviceKind;
using device::DeviceModel;
using functions::FunctionCode;
using profiles::ListId;

namespace {

using keypagestest::KeyPagesRig;

constexpr size_t kEsc = 0;  // position 0: Esc on every board

TEST(KeyPages, EveryKeyboardCategoryStoresItsCodeAndShowsItBack) {
    KeyPagesRig rig;
    const size_t key = rig.keyAt(kEsc);
    struct Case {
        const char* what;
        int category;
        std::function<void(KeyPagesRig&)> fill;
        FunctionCode stored;
        std::function<void(KeyPagesRig&)> shownBack;
    };
    const Case cases[] = {
        {"mouse middle", 2, [](auto& r) { r.pick("kb_key_fct_combo_11", 1); }, {0x10, 0x04, 0},
         [](auto& r) { EXPECT_EQ(r.item("kb_key_fct_combo_11"), 1); }},
        {"scroll right 5, nibbles 2 and 3", 3,
         [](auto& r) {
             r.pick("kb_key_fct_combo_12", 1);
             r.type("kb_key_fct_edit_15", "5");
             r.type("kb_key_fct_edit_17", "2");
             r.type("kb_key_fct_edit_20", "3");
         },
         {0x11, 0x23, 0x85},
         [](auto& r) {
             EXPECT_EQ(r.item("kb_key_fct_combo_12"), 1);
             EXPECT_EQ(r.text("kb_key_fct_edit_15"), "5");
             EXPECT_EQ(r.text("kb_key_fct_edit_17"), "2");
             EXPECT_EQ(r.text("kb_key_fct_edit_20"), "3");
         }},
        {"scroll down 5", 4,
         [](auto& r) {
             r.pick("kb_key_fct_combo_13", 1);
             r.type("kb_key_fct_edit_16", "5");
             r.type("kb_key_fct_edit_18", "0");
             r.type("kb_key_fct_edit_19", "0");
         },
         {0x12, 0, 0xFB},
         [](auto& r) {
             EXPECT_EQ(r.item("kb_key_fct_combo_13"), 1);
             EXPECT_EQ(r.text("kb_key_fct_edit_16"), "5");
         }},
        {"DPI cycle", 5, [](auto& r) { r.pick("kb_key_fct_combo_14", 2); }, {0x13, 3, 0},
         [](auto& r) { EXPECT_EQ(r.item("kb_key_fct_combo_14"), 2); }},
        {"fire 300 -> 255", 6,
         [](auto& r) {
             r.type("kb_key_fct_edit_11", "300");
             EXPECT_EQ(r.text("kb_key_fct_edit_11"), "255");
             r.type("kb_key_fct_edit_12", "7");
         },
         {0x14, 255, 7}, [](auto& r) { EXPECT_EQ(r.text("kb_key_fct_edit_12"), "7"); }},
        {"media play", 7, [](auto& r) { r.pick("kb_key_fct_combo_21", 1); }, {0x30, 0xCD, 0x00},
         [](auto& r) { EXPECT_EQ(r.item("kb_key_fct_combo_21"), 1); }},
        {"wake up", 8, [](auto& r) { r.pick("kb_key_fct_combo_22", 2); }, {0x40, 4, 0},
         [](auto& r) { EXPECT_EQ(r.item("kb_key_fct_combo_22"), 2); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        rig.click("kb_key_0");
        ASSERT_TRUE(rig.shown("kb_tab_function"));
        rig.pick("kb_key_fct_combo", c.category);
        EXPECT_TRUE(rig.shown(QStringLiteral("kb_tab_function_%1").arg(c.category).toLatin1().constData()));
        c.fill(rig);
        EXPECT_EQ(rig.bankCode(key), c.stored);
        // Another key, then this one again: the editor shows the code, and storing nothing.
        rig.click("kb_key_1");
        rig.click("kb_key_0");
        EXPECT_EQ(rig.item("kb_key_fct_combo"), c.category);
        c.shownBack(rig);
        EXPECT_EQ(rig.bankCode(key), c.stored);
        // The key's tooltip names its own key and the new function; the key looks remapped.
        EXPECT_TRUE(rig.control("kb_key_0")->toolTip().contains(rig.translated("Key_Set")));
        EXPECT_TRUE(rig.control("kb_key_0")->property("remapped").toBool());
    }
    // Its own function again: category 0, only its own name, the normal look.
    rig.click("kb_key_butt_keydefalut");
    EXPECT_EQ(rig.item("kb_key_fct_combo"), 0);
    EXPECT_EQ(rig.control("kb_key_0")->toolTip(), rig.translated("keyboard_key_Esc"));
    EXPECT_FALSE(rig.control("kb_key_0")->property("remapped").toBool());
}

TEST(KeyPages, CapturedKeysAssignKeyboardKeysOnly) {
    KeyPagesRig rig;
    rig.window().activateWindow();
    const size_t key = rig.keyAt(kEsc);
    rig.click("kb_key_0");
    rig.pick("kb_key_fct_combo", 1);
    const auto* capture = rig.feature<app::KeyCaptureFeature>()->capture();
    EXPECT_EQ(capture->mode(), ui::capture_mode::kKeyboardKey);
    EXPECT_TRUE(capture->capturesKeys());
    struct Case {
        const char* what;
        uint16_t linuxKey;
        int qtKey;
        FunctionCode stored;
        const char* shown;
    };
    const Case cases[] = {
        {"keypad Enter", KEY_KPENTER, Qt::Key_Enter, {0x20, 0, 0x58}, "keyboard_key_Num Enter"},
        {"main Enter", KEY_ENTER, Qt::Key_Return, {0x20, 0, 0x28}, "keyboard_key_Enter"},
        {"left Ctrl alone", KEY_LEFTCTRL, Qt::Key_Control, {0x20, 0x01, 0}, "keyboard_key_LCtrl"},
        // A media key has no keyboard-key entry: the last key stays.
        {"volume up", KEY_VOLUMEUP, Qt::Key_VolumeUp, {0x20, 0x01, 0}, "keyboard_key_LCtrl"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        rig.press(c.linuxKey, c.qtKey);
        EXPECT_EQ(rig.bankCode(key), c.stored);
        EXPECT_EQ(rig.text("kb_key_fct_edit_21"), rig.translated(c.shown));
    }
    // Another category ends the capture: keys pressed now change nothing.
    rig.pick("kb_key_fct_combo", 2);
    EXPECT_EQ(capture->mode() == 0 || !capture->capturesKeys(), true);
    const auto before = rig.bankCode(key);
    rig.press(KEY_A, Qt::Key_A);
    EXPECT_EQ(rig.bankCode(key), before);

    // The mouse page captures for its keyboard-key category (mode 16) until the window
    // loses activation.
    rig.setButtonCode(3, {0x10, 0x10, 0});
    rig.click("ms_key_3");
    rig.pick("ms_key_fct_combo", 6);
    EXPECT_EQ(capture->mode(), ui::capture_mode::kMouseKey);
    rig.press(KEY_B, Qt::Key_B);
    EXPECT_EQ(rig.buttonCode(3), (FunctionCode{0x20, 0, 0x05}));
    rig.window().onActivationChanged(false);
    EXPECT_FALSE(capture->capturesKeys());
    rig.press(KEY_C, Qt::Key_C);
    EXPECT_EQ(rig.buttonCode(3), (FunctionCode{0x20, 0, 0x05}));
}

TEST(KeyPages, AKeyCapturedWithModifiersStoresThemAndShowsTheWholeCombination) {
    KeyPagesRig rig;
    rig.window().activateWindow();
    rig.setButtonCode(3, {0x10, 0x10, 0});
    rig.click("ms_key_3");
    rig.pick("ms_key_fct_combo", 6);
    const auto ctrl = Qt::ControlModifier;
    const auto ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    // Ctrl+Shift+F, let go of in any order: the releases change nothing.
    rig.key(KEY_LEFTCTRL, Qt::Key_Control, true);
    rig.key(KEY_LEFTSHIFT, Qt::Key_Shift, true, ctrl);
    rig.key(KEY_F, Qt::Key_F, true, ctrlShift);
    rig.key(KEY_LEFTCTRL, Qt::Key_Control, false, ctrlShift);
    rig.key(KEY_F, Qt::Key_F, false, Qt::ShiftModifier);
    rig.key(KEY_LEFTSHIFT, Qt::Key_Shift, false, Qt::ShiftModifier);
    EXPECT_EQ(rig.buttonCode(3), (FunctionCode{0x20, 0x03, 0x09}));
    const QString combination = rig.translated("keyboard_key_LCtrl") + "+" + rig.translated("keyboard_key_LShift") +
                                "+" + rig.translated("keyboard_key_F");
    EXPECT_EQ(rig.text("ms_key_fct_edit_21"), combination);
    EXPECT_EQ(rig.text("ms_key_3"), combination);

    // Modifiers alone make a modifier-only code; a modifier whose release the window never
    // saw (the toolkit no longer reports it) is not counted as held.
    rig.key(KEY_RIGHTALT, Qt::Key_Alt, true);
    rig.key(KEY_RIGHTCTRL, Qt::Key_Control, true, Qt::AltModifier);
    EXPECT_EQ(rig.buttonCode(3), (FunctionCode{0x20, 0x50, 0}));
    EXPECT_EQ(rig.text("ms_key_3"), rig.translated("keyboard_key_RCtrl") + "+" + rig.translated("keyboard_key_RAlt"));
    rig.key(KEY_G, Qt::Key_G, true, Qt::NoModifier);
    EXPECT_EQ(rig.buttonCode(3), (FunctionCode{0x20, 0, 0x0A}));

    // Selecting the button again shows its combination in the editor.
    rig.setButtonCode(3, {0x20, 0x11, 0x04});
    rig.click("ms_key_2");
    rig.click("ms_key_3");
    EXPECT_EQ(rig.text("ms_key_fct_edit_21"),
              rig.translated("keyboard_key_LCtrl") + "+" + rig.translated("keyboard_key_RCtrl") + "+" +
                  rig.translated("keyboard_key_A"));
}

TEST(KeyPages, TheKeysOptionBringsUpTheKeyPageWithTheEditorHidden) {
    KeyPagesRig rig;
    rig.window().activateWindow();
    auto* pages = rig.control<QStackedWidget>("kb_tab_switch");
    rig.click("kb_key_0");
    rig.pick("kb_key_fct_combo", 1);  // capturing
    ASSERT_TRUE(rig.feature<app::KeyCaptureFeature>()->capture()->capturesKeys());
    pages->setCurrentIndex(0);  // another sub-page was shown
    rig.click("kb_key_Op_tab");
    EXPECT_EQ(pages->currentIndex(), 2);
    EXPECT_FALSE(rig.shown("kb_tab_function"));
    EXPECT_FALSE(rig.feature<app::KeyCaptureFeature>()->capture()->capturesKeys());
    EXPECT_FALSE(rig.feature<app::KeyPagesFeature>()->keyboardPage().capturing());
}

TEST(KeyPages, MouseButtonsEditorGuardsTheLastLeftClick) {
    KeyPagesRig rig;
    // The factory page has one left-click button: it cannot be edited.
    ASSERT_EQ(rig.buttonCode(0), (FunctionCode{0x10, 0x01, 0}));
    rig.click("ms_key_1");
    EXPECT_TRUE(rig.shown("ms_tab_function"));
    rig.click("ms_key_0");
    EXPECT_TRUE(rig.said(rig.translated("message_text_6")));
    EXPECT_FALSE(rig.shown("ms_tab_function"));
    EXPECT_EQ(rig.buttonCode(0), (FunctionCode{0x10, 0x01, 0}));
    // With a second left click the first can be edited; the label and tooltip follow.
    rig.dialogs.shown.clear();
    rig.setButtonCode(4, {0x10, 0x01, 0});
    rig.click("ms_key_0");
    EXPECT_TRUE(rig.shown("ms_tab_function"));
    EXPECT_TRUE(rig.dialogs.shown.empty());
    rig.pick("ms_key_fct_combo", 2);  // horizontal swing
    rig.pick("ms_key_fct_combo_12", 1);
    rig.type("ms_key_fct_edit_15", "300");
    EXPECT_EQ(rig.text("ms_key_fct_edit_15"), "127");
    rig.type("ms_key_fct_edit_17", "99");
    EXPECT_EQ(rig.text("ms_key_fct_edit_17"), "15");
    EXPECT_EQ(rig.buttonCode(0), (FunctionCode{0x11, 0xF0, 0xFF}));
    EXPECT_EQ(rig.text("ms_key_0"), rig.translated("mouse_key_right_Swing"));
    EXPECT_EQ(rig.control("ms_key_0")->toolTip(), rig.translated("mouse_key_right_Swing"));
    // Another language shows the label in it at once.
    rig.window().changeLanguage(ui::kLanguages[1]);
    EXPECT_EQ(rig.text("ms_key_0"), rig.translated("mouse_key_right_Swing"));
    EXPECT_NE(rig.text("ms_key_0"), QStringLiteral("Scroll right"));
    rig.window().changeLanguage(ui::kLanguages[0]);
    // The cursor sequences.
    rig.pick("ms_key_fct_combo", 10);
    rig.pick("ms_key_fct_combo_25", 3);
    EXPECT_EQ(rig.buttonCode(0), (FunctionCode{0x72, 3, 0}));
    EXPECT_EQ(rig.text("ms_key_0"), rig.translated("GUN_4"));
    // Its factory code back: category 0.
    rig.click("ms_key_butt_keydefalut");
    EXPECT_EQ(rig.buttonCode(0), (FunctionCode{0x10, 0x01, 0}));
    EXPECT_EQ(rig.item("ms_key_fct_combo"), 0);
    // Hover shows the pressed picture.
    auto* picture = rig.control("ms_key_2_0");
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(rig.control("ms_key_2"), &enter);
    EXPECT_TRUE(picture->property("down").toBool());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(rig.control("ms_key_2"), &leave);
    EXPECT_FALSE(picture->property("down").toBool());
    // A key-profile selection hides the editor.
    rig.click("ms_key_1");
    ASSERT_TRUE(rig.shown("ms_tab_function"));
    rig.runtime().events.profileLoaded.emit(ListId::MouseKeys, profiles::ProfileResult{});
    EXPECT_FALSE(rig.shown("ms_tab_function"));
}

TEST(KeyPages, MacroListsAndMacroCodes) {
    KeyPagesRig rig;
    for (auto set : {macros::MacroSet::Keyboard, macros::MacroSet::Mouse})
        for (int i = 0; i < 2; ++i) ASSERT_TRUE(rig.runtime().macroStore.AddMacro(set).ok());
    rig.runtime().events.macrosChanged.emit(DeviceKind::Keyboard);
    rig.runtime().events.macrosChanged.emit(DeviceKind::Mouse);
    EXPECT_EQ(rig.control<QComboBox>("kb_key_fct_combo_23")->count(), 2);
    EXPECT_EQ(rig.control<QComboBox>("ms_key_fct_combo_23")->count(), 2);

    const size_t key = rig.keyAt(kEsc);
    rig.click("kb_key_0");
    rig.pick("kb_key_fct_combo", 9);
    // No macro selected: nothing is stored.
    rig.pick("kb_key_fct_combo_23", -1);
    rig.pick("kb_key_fct_combo_24", 2);
    EXPECT_NE(rig.bankCode(key).type, 0x70);
    rig.pick("kb_key_fct_combo_23", 1);
    EXPECT_EQ(rig.bankCode(key), (FunctionCode{0x70, 1, 2}));
    rig.pick("kb_key_fct_combo_24", 4);
    EXPECT_TRUE(rig.shown("kb_tab_function_26"));
    rig.type("kb_key_fct_edit_25", "3");
    EXPECT_EQ(rig.bankCode(key), (FunctionCode{0x71, 1, 3}));
    rig.type("kb_key_fct_edit_25", "300");
    EXPECT_EQ(rig.text("kb_key_fct_edit_25"), "255");
    EXPECT_EQ(rig.bankCode(key), (FunctionCode{0x71, 1, 255}));
    // The tooltip names the macro as it is.
    EXPECT_TRUE(rig.control("kb_key_0")->toolTip().endsWith(QString::fromStdString(
        rig.runtime().macroStore.ListMacros(macros::MacroSet::Keyboard)[1])));

    // A button whose macro is past the list shows no macro selected.
    rig.setButtonCode(3, {0x70, 5, 1});
    rig.click("ms_key_3");
    EXPECT_EQ(rig.item("ms_key_fct_combo"), 9);
    EXPECT_EQ(rig.item("ms_key_fct_combo_23"), -1);
    EXPECT_EQ(rig.buttonCode(3), (FunctionCode{0x70, 5, 1}));
}

TEST(KeyPages, ApplyWritesTheDeviceAndTheKeyProfile) {
    KeyPagesRig rig;
    const size_t keys = rig.runtime().keyboard.read([](const auto& d) { return d.info.keyCount(); });
    std::vector<bool> ring;
    std::vector<std::string> notices;
    const auto watching = rig.runtime().events.progress.subscribe([&](const bool& running) { ring.push_back(running); });
    const auto told = rig.runtime().events.notice.subscribe([&](const std::string& id) { notices.push_back(id); });
    auto offered = [&rig](const char* apply) { return rig.control(apply)->isEnabled(); };
    // Nothing to apply yet: no key chosen, then a media key category with no key picked.
    EXPECT_FALSE(offered("kb_key_butt_prosave"));
    EXPECT_FALSE(offered("ms_key_butt_prosave"));
    rig.click("kb_key_0");
    rig.pick("kb_key_fct_combo", 7);
    EXPECT_FALSE(offered("kb_key_butt_prosave"));
    rig.pick("kb_key_fct_combo", 5);
    rig.pick("kb_key_fct_combo_14", 0);
    EXPECT_TRUE(offered("kb_key_butt_prosave"));
    rig.click("kb_key_butt_prosave");
    ASSERT_TRUE(rig.settle());
    EXPECT_EQ(ring, (std::vector<bool>{true, false}));  // the progress ring around the apply
    EXPECT_EQ(notices, std::vector<std::string>{"notice_applied_keyboard"});  // confirmed without a box
    auto* toast = qobject_cast<QLabel*>(rig.control("notice_toast"));
    ASSERT_NE(toast, nullptr);
    EXPECT_FALSE(toast->isHidden());
    EXPECT_EQ(toast->text(), rig.translated("notice_applied_keyboard"));
    EXPECT_TRUE(rig.dialogs.shown.empty());
    EXPECT_FALSE(offered("kb_key_butt_prosave")) << "applied: nothing left to apply";
    const auto bank = rig.runtime().keyboard.read([&](const auto& d) {
        return std::vector<uint8_t>(d.banks[0].bytes.begin(), d.banks[0].bytes.begin() + std::ptrdiff_t(keys * 3));
    });
    EXPECT_EQ(rig.keyMemory(DeviceModel::RgbKeyboard, keys * 3), bank);
    EXPECT_EQ(rig.keyProfile(ListId::KeyboardKeys, keys * 3), bank);
    EXPECT_TRUE(rig.dialogs.shown.empty());

    rig.click("ms_key_4");
    rig.pick("ms_key_fct_combo", 2);  // horizontal swing
    rig.pick("ms_key_fct_combo_12", 1);
    rig.click("ms_key_butt_prosave");
    ASSERT_TRUE(rig.settle());
    EXPECT_EQ(notices.back(), "notice_applied_mouse");
    const auto page = rig.runtime().mouse.read([](const auto& d) {
        const auto& p = d.block.pages[mouse::ActiveKeyPage(d)];
        return std::vector<uint8_t>(p.bytes.begin(), p.bytes.end());
    });
    const size_t slot = rig.runtime().mouse.read([](const auto& d) { return mouse::ActiveKeyPage(d); });
    const auto memory = rig.keyMemory(DeviceModel::Mouse, slot * 126 + page.size());
    EXPECT_EQ(std::vector<uint8_t>(memory.begin() + std::ptrdiff_t(slot * 126), memory.end()), page);
    EXPECT_EQ(rig.keyProfile(ListId::MouseKeys, page.size()), page);
}

TEST(KeyPages, TheRingShowsHowMuchOfTheMacrosAndKeysHasGoneOut) {
    KeyPagesRig rig;
    // Two macros of a few actions each, so that the image takes several reports.
    for (int i = 0; i < 2; ++i) ASSERT_TRUE(rig.runtime().macroStore.AddMacro(macros::MacroSet::Keyboard).ok());
    const auto names = rig.runtime().macroStore.ListMacros(macros::MacroSet::Keyboard);
    std::vector<std::string> lines(40, "5,0,138,4,1,keyboard_key_A");
    for (const auto& name : names) ASSERT_TRUE(rig.runtime().macroStore.SaveMacro(macros::MacroSet::Keyboard, name, lines).ok());
    std::vector<int> told;
    const auto watching = rig.runtime().events.progressValue.subscribe([&](const int& p) { told.push_back(p); });
    rig.click("kb_key_0");
    rig.pick("kb_key_fct_combo", 5);
    rig.pick("kb_key_fct_combo_14", 0);
    rig.click("kb_key_butt_prosave");
    ASSERT_TRUE(rig.settle());
    ASSERT_GE(told.size(), 5u) << "one step per few reports";
    EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
    EXPECT_LT(told.front(), 50);
    EXPECT_EQ(told.back(), 100);
    auto* ring = rig.control<ui::CircleProgress>("setting_progress");
    ASSERT_NE(ring, nullptr);
    EXPECT_EQ(ring->value(), 100);
    EXPECT_EQ(ring->maximum(), 100);
}

TEST(KeyPages, ARefusedApplyLeavesTheProfileAndSaysSo) {
    KeyPagesRig rig;
    const size_t keys = rig.runtime().keyboard.read([](const auto& d) { return d.info.keyCount(); });
    const auto profileBefore = rig.keyProfile(ListId::KeyboardKeys, keys * 3);
    rig.click("kb_key_0");
    rig.pick("kb_key_fct_combo", 2);
    rig.pick("kb_key_fct_combo_11", 2);
    sim::Fault fault;
    fault.kind = sim::FaultKind::RefuseFE;
    fault.times = -1;
    fault.when = [](uint64_t, const protocol::Report& r) { return r[protocol::off::command] == protocol::kWriteBank; };
    rig.device(DeviceModel::RgbKeyboard).addFault(fault);
    rig.click("kb_key_butt_prosave");
    ASSERT_TRUE(rig.settle());
    EXPECT_EQ(rig.keyProfile(ListId::KeyboardKeys, keys * 3), profileBefore);
    EXPECT_TRUE(rig.said(rig.translated("key_apply_failed_text")));
    EXPECT_TRUE(rig.control("kb_key_butt_prosave")->isEnabled()) << "a refused apply stays offered for a retry";

    // Macros beyond the device's memory: the message names how many actions are too many,
    // and nothing is sent.
    rig.dialogs.shown.clear();
    rig.runtime().keyboard.update([](auto& d) { d.info.bytes[6] = 0; });  // no macro memory
    ASSERT_TRUE(rig.runtime().macroStore.AddMacro(macros::MacroSet::Keyboard).ok());
    const std::vector<std::string> one{"0,1,4,0,0,mouse_move_to_right_text"};  // one action
    ASSERT_TRUE(rig.runtime().macroStore.SaveMacro(macros::MacroSet::Keyboard, "Macro_1", one).ok());
    rig.click("kb_key_butt_prosave");
    ASSERT_TRUE(rig.settle());
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].text, rig.translated("message_text_16").replace("%d", "7"));
}

}  // namespace

// Every sub-page option of the keyboard page brings up its page, on both keyboards, in an
// order that leaves each page from another one.
TEST(KeyboardSubPages, EveryOptionShowsItsPageOnBothKeyboards) {
    struct Step {
        const char* option;
        int page;
    };
    constexpr std::array<Step, 5> kSteps{{
        {"kb_macro_Op_tab", 1}, {"kb_key_Op_tab", 2}, {"kb_deng_Op_tab", 0}, {"kb_key_Op_tab", 2}, {"kb_macro_Op_tab", 1}}};
    for (const auto& [model, tab] : {std::pair{DeviceModel::RgbKeyboard, "kb_tab"},
                                     std::pair{DeviceModel::MonoKeyboard, "kb_onecolor_tab"}}) {
        SCOPED_TRACE(tab);
        programtest::RigOptions options;
        options.models = {model, DeviceModel::Mouse};
        programtest::ProgramRig rig(options);
        ASSERT_TRUE(rig.waitForTab(tab));
        rig.settle();
        rig.window().selectTab(QLatin1String(tab));
        auto* pages = rig.control<QStackedWidget>("kb_tab_switch");
        ASSERT_NE(pages, nullptr);
        for (const Step& step : kSteps) {
            SCOPED_TRACE(step.option);
            auto* option = rig.control<QPushButton>(step.option);
            ASSERT_NE(option, nullptr);
            option->click();
            EXPECT_TRUE(option->isChecked());
            EXPECT_EQ(pages->currentIndex(), step.page);
        }
        // The keyboard has no cursor sequences, and no copy of their page.
        EXPECT_EQ(rig.control("kb_cursor_Op_tab"), nullptr);
        EXPECT_EQ(rig.control("kb_CURSOR_UI"), nullptr);
        EXPECT_EQ(pages->count(), 3);
    }
}
