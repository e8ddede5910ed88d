// SPDX-License-Identifier: GPL-3.0-or-later
// The macro editors on their own layouts: recording from captured input, editing an action
// through the detail panel, inserting and moving, save and cancel, the name list's refusals,
// the unsaved guard, and deleting a macro that keys are assigned.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QAbstractItemView>
#include <QListWidget>
#include <QStackedWidget>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "macros/action_tables.h"
#include "macros/macro_messages.h"
#include "macro_editor_rig.h"
#include "page_harness.h"
#include "ui/language.h"
#include "ui/macro_list_model.h"
#include "ui/pages/macro_action_delegate.h"
#include "ui/pages/macro_page.h"

namespace {

using orvane::functions::CapturedInput;
using orvane::macros::MacroSet;
using orvane::ui::ScriptedDialogs;
using orvane::ui::pages::MacroPage;
using orvane::ui::pages::MacroPageOf;
using orvane::ui::pages::MacroPageServices;
namespace fs = std::filesystem;

constexpr uint16_t kKeyA = 30, kKeyB = 48;  // Linux key codes

CapturedInput Key(uint16_t code, bool pressed, int64_t t, bool repeat = false) {
    CapturedInput in;
    in.kind = CapturedInput::Kind::Key;
    in.linuxKey = code;
    in.pressed = pressed;
    in.autoRepeat = repeat;
    in.timeMs = t;
    return in;
}
CapturedInput Button(CapturedInput::Button b, bool pressed, int64_t t) {
    CapturedInput in;
    in.kind = CapturedInput::Kind::MouseButton;
    in.button = b;
    in.pressed = pressed;
    in.timeMs = t;
    return in;
}
CapturedInput Other(CapturedInput::Kind kind, int64_t t) {
    CapturedInput in;
    in.kind = kind;
    in.wheelDelta = 120;
    in.timeMs = t;
    return in;
}

using macrotest::EditorRig;
using macrotest::Seed;


struct RecordCase {
    const char* what;
    MacroSet set;
    bool keys, clicks, fixedDelay;
    std::vector<CapturedInput> events;
    std::vector<std::string> expected;
};

TEST(MacroEditor, RecordsWhatTheOptionsAskForWithTheDelayOnThePreviousRow) {
    using B = CapturedInput::Button;
    using K = CapturedInput::Kind;
    const std::vector<RecordCase> cases{
        {"a held key is one press", MacroSet::Keyboard, true, false, false,
         {Key(kKeyA, true, 1100), Key(kKeyA, true, 1130, true), Key(kKeyA, true, 1160, true), Key(kKeyA, false, 1300)},
         {"20,0,138,4,1,keyboard_key_A", "0,0,10,4,0,keyboard_key_A"}},
        {"fixed delay: 5 units on every row but the last", MacroSet::Keyboard, true, false, true,
         {Key(kKeyA, true, 1100), Key(kKeyA, false, 1900), Key(kKeyB, true, 9000)},
         {"5,0,138,4,1,keyboard_key_A", "5,0,10,4,0,keyboard_key_A", "0,0,138,5,1,keyboard_key_B"}},
        {"2.5 s and 4 s", MacroSet::Keyboard, true, false, false,
         {Key(kKeyA, true, 1000), Key(kKeyA, false, 3500), Key(kKeyB, true, 7500)},
         {"250,0,138,4,1,keyboard_key_A", "144,1,10,4,0,keyboard_key_A", "0,0,138,5,1,keyboard_key_B"}},
        {"a pause beyond 655350 ms is the longest delay", MacroSet::Keyboard, true, false, false,
         {Key(kKeyA, true, 1000), Key(kKeyA, false, 1000 + 700000)},
         {"255,255,138,4,1,keyboard_key_A", "0,0,10,4,0,keyboard_key_A"}},
        {"right button, never the wheel or moves", MacroSet::Mouse, false, true, false,
         {Button(B::Right, true, 1100), Other(K::Wheel, 1120), Other(K::Move, 1150), Button(B::Right, false, 1200)},
         {"10,0,129,2,1,mouse_key_right", "0,0,1,2,0,mouse_key_right"}},
        {"keys without the key option are not recorded", MacroSet::Mouse, false, true, false,
         {Key(kKeyA, true, 1100), Button(B::Left, true, 1200), Button(B::Back, true, 1300), Button(B::Left, false, 1400)},
         {"20,0,129,1,1,mouse_key_left", "0,0,1,1,0,mouse_key_left"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EditorRig rig(c.set, [&](auto& store) { Seed(store, c.set, 1); });
        rig.setChecked("macro_keyboard_event", c.keys);
        rig.setChecked("macro_mouse_click", c.clicks);
        rig.setChecked("macro_check_time", c.fixedDelay);
        rig.click("macro_btn_redio");
        ASSERT_TRUE(rig.page->recording());
        ASSERT_EQ(rig.captures.size(), 1u);
        EXPECT_EQ(rig.captures[0].mode, c.set == MacroSet::Keyboard ? 4 : 64);
        EXPECT_EQ(rig.captures[0].keyboard, c.keys);
        EXPECT_EQ(rig.captures[0].mouse, c.clicks);
        EXPECT_FALSE(rig.control<QWidget>("macro_btn_save")->isEnabled());
        for (const auto& e : c.events) rig.page->record(e);
        rig.click("macro_btn_redio");
        EXPECT_FALSE(rig.page->recording());
        EXPECT_EQ(rig.stops, 1);
        EXPECT_EQ(rig.lines(), c.expected);
        EXPECT_TRUE(rig.barShown());  // recorded rows are not saved yet
    }
}

TEST(MacroEditor, RecordedMouseRowsShowArrowsAndCaptureEndStopsRecording) {
    EditorRig rig(MacroSet::Mouse, [](auto& store) { Seed(store, MacroSet::Mouse, 1); });
    rig.setChecked("macro_keyboard_event", false);
    rig.setChecked("macro_mouse_click", true);
    rig.click("macro_btn_redio");
    rig.page->record(Button(CapturedInput::Button::Right, true, 1100));
    rig.page->record(Button(CapturedInput::Button::Right, false, 1200));
    rig.page->captureEnded();  // the window lost activation
    EXPECT_FALSE(rig.page->recording());
    rig.page->record(Button(CapturedInput::Button::Left, true, 1300));
    auto* model = rig.control<QAbstractItemView>("Macro_list")->model();
    ASSERT_EQ(model->rowCount(), 2);
    EXPECT_EQ(model->index(0, 0).data(orvane::ui::MacroListModel::StateRole).toString(), QStringLiteral("▼"));
    EXPECT_EQ(model->index(1, 0).data(orvane::ui::MacroListModel::StateRole).toString(), QStringLiteral("▲"));
    EXPECT_EQ(rig.control<QAbstractButton>("macro_btn_redio")->text(), QStringLiteral("Record"));
}

TEST(MacroEditor, DetailPanelEditsTheClickedActionAndSaveWritesTheFile) {
    const std::vector<std::string> lines{"12,1,138,4,1,keyboard_key_A", "5,0,132,20,1,mouse_move_to_left_text"};
    EditorRig rig(MacroSet::Keyboard, [&](auto& store) { Seed(store, MacroSet::Keyboard, 1, lines); });
    EXPECT_EQ(rig.lines(), lines);
    EXPECT_EQ(rig.control<QLineEdit>("macro_edit_macroname")->text(), QStringLiteral("Macro_1"));
    auto* detail = rig.control<QStackedWidget>("tab_macro_edit");

    rig.clickRow(0);
    EXPECT_EQ(detail->currentIndex(), 1);
    EXPECT_EQ(rig.control<QComboBox>("macro_combo_keyselect")->currentIndex(),
              int(*orvane::macros::KeyIndexByUsage(4)));
    EXPECT_EQ(rig.control<QComboBox>("macro_combo_upordown")->currentIndex(), 1);
    // The delay in ms, as the list shows it (268 units of 10 ms).
    EXPECT_EQ(rig.control<QLineEdit>("_macro_edit_ActionDelay")->text(), QStringLiteral("2680"));
    EXPECT_FALSE(rig.barShown());  // showing a row changes nothing
    rig.control<QComboBox>("macro_combo_upordown")->setCurrentIndex(0);  // up: pressed and bit 7 together
    EXPECT_TRUE(rig.barShown());
    rig.type("_macro_edit_ActionDelay", QStringLiteral("700000"));
    EXPECT_EQ(rig.control<QLineEdit>("_macro_edit_ActionDelay")->text(), QStringLiteral("655350"));
    rig.control<QComboBox>("macro_combo_keyselect")->setCurrentIndex(int(*orvane::macros::KeyIndexByUsage(5)));
    EXPECT_EQ(rig.lines()[0], "255,255,10,5,0,keyboard_key_B");

    rig.clickRow(1);
    EXPECT_EQ(detail->currentIndex(), 2);
    EXPECT_EQ(rig.control<QComboBox>("macro_combo_mouselect")->currentIndex(), 10);
    EXPECT_EQ(rig.control<QLineEdit>("macro_edit_mou_pointer_skewing")->text(), QStringLiteral("20"));
    rig.type("macro_edit_mou_pointer_skewing", QStringLiteral("300"));
    EXPECT_EQ(rig.control<QLineEdit>("macro_edit_mou_pointer_skewing")->text(), QStringLiteral("255"));
    EXPECT_EQ(rig.lines()[1], "5,0,132,255,1,mouse_move_to_left_text");
    rig.control<QComboBox>("macro_combo_mouselect")->setCurrentIndex(2);  // right press
    EXPECT_TRUE(rig.control<QWidget>("macro_tab_mou_pointer_skewing")->isHidden());
    EXPECT_EQ(rig.lines()[1], "5,0,129,2,1,mouse_key_right");

    EXPECT_EQ(rig.store().LoadMacro(MacroSet::Keyboard, "Macro_1"), lines);  // nothing written yet
    rig.click("macro_btn_save");
    EXPECT_EQ(rig.store().LoadMacro(MacroSet::Keyboard, "Macro_1"), rig.lines());
    EXPECT_FALSE(rig.barShown());
    EXPECT_EQ(detail->currentIndex(), 0);
    EXPECT_TRUE(rig.control<QWidget>("MacroName_list")->isEnabled());
    EXPECT_EQ(rig.setChanges, 1);
}

TEST(MacroEditor, TheListAndTheEditorShowDelaysInMilliseconds) {
    const std::vector<std::string> lines{"7,0,138,4,1,keyboard_key_A", "5,0,132,20,1,mouse_move_to_left_text"};
    EditorRig rig(MacroSet::Mouse, [&](auto& store) { Seed(store, MacroSet::Mouse, 1, lines); });
    auto* model = rig.control<QAbstractItemView>("Macro_list")->model();
    EXPECT_EQ(model->index(0, 0).data(orvane::ui::MacroListModel::DelayRole).toString(), QStringLiteral("70"));
    rig.clickRow(0);
    auto* edit = rig.control<QLineEdit>("_macro_edit_ActionDelay");
    EXPECT_EQ(edit->text(), QStringLiteral("70"));
    EXPECT_FALSE(rig.barShown());
    struct Case { const char* typed; const char* line; const char* shown; };
    for (const auto& c : {Case{"75", "8,0,138,4,1,keyboard_key_A", "80"},      // to the nearest 10 ms
                          Case{"4", "0,0,138,4,1,keyboard_key_A", "0"},
                          Case{"2560", "0,1,138,4,1,keyboard_key_A", "2560"}}) {
        SCOPED_TRACE(c.typed);
        rig.type("_macro_edit_ActionDelay", QString::fromLatin1(c.typed));
        EXPECT_EQ(edit->text(), QString::fromLatin1(c.typed));  // left alone while typing
        EXPECT_EQ(rig.lines()[0], c.line);
        Q_EMIT edit->editingFinished();
        EXPECT_EQ(edit->text(), QString::fromLatin1(c.shown));
        EXPECT_EQ(model->index(0, 0).data(orvane::ui::MacroListModel::DelayRole).toString(), QString::fromLatin1(c.shown));
    }
    EXPECT_TRUE(rig.barShown());
    // The language files name the unit the edits take.
    EXPECT_EQ(rig.language.text(QStringLiteral("macro_detail_delay_text")), QStringLiteral("Delay (ms)"));
}

TEST(MacroEditor, EveryCellColourIsReadableOnEveryRowBackground) {
    using orvane::ui::pages::MacroCellColour;
    using orvane::ui::pages::MacroSelectedRowColour;
    const auto luminance = [](const QColor& c) {
        const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const auto contrast = [&](const QColor& a, const QColor& b) {
        const double la = luminance(a), lb = luminance(b);
        return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
    };
    // The list's base and its alternate rows (white at 8/255 over it), as the skin paints them.
    const QColor backgrounds[] = {QColor(0x15, 0x18, 0x1d), QColor(0x1c, 0x1f, 0x24), MacroSelectedRowColour()};
    for (const char* style : {"macro_label_keyboard_style", "macro_label_mouse_style", "macro_label_down_style",
                              "macro_label_up_style", "macro_label_text_style"}) {
        const QColor text = MacroCellColour(QString::fromLatin1(style));
        ASSERT_TRUE(text.isValid()) << style;
        for (const QColor& background : backgrounds)
            EXPECT_GE(contrast(text, background), 4.5) << style << " on " << background.name().toStdString();
    }
}

TEST(MacroEditor, InsertMoveDeleteAndCancel) {
    EditorRig rig(MacroSet::Mouse, [](auto& store) { Seed(store, MacroSet::Mouse, 1, {"0,0,138,4,1,keyboard_key_A"}); });
    rig.click("macro_inset_leftkeydown_btn");  // after row 0 when nothing is selected
    rig.type("mouse_x_right_edit", QStringLiteral("300"));
    rig.click("macro_inset_moverightkey_btn");
    EXPECT_EQ(rig.control<QLineEdit>("mouse_x_right_edit")->text(), QStringLiteral("255"));
    EXPECT_EQ(rig.lines(), (std::vector<std::string>{"0,0,138,4,1,keyboard_key_A", "5,0,4,255,0,mouse_move_to_right_text",
                                                     "5,0,129,1,1,mouse_key_left"}));
    rig.click("macro_inset_backkey_btn");
    EXPECT_FALSE(rig.control<QWidget>("macro_inset_backkey_tab")->isHidden());
    EXPECT_TRUE(rig.control<QWidget>("macro_inset_leftkey_tab")->isHidden());

    rig.clickRow(0);
    rig.click("macro_btn_downbottom");
    EXPECT_EQ(rig.lines().back(), "0,0,138,4,1,keyboard_key_A");
    EXPECT_EQ(rig.control<QAbstractItemView>("Macro_list")->currentIndex().row(), 2);
    rig.click("macro_btn_up");
    EXPECT_EQ(rig.lines()[1], "0,0,138,4,1,keyboard_key_A");
    rig.click("macro_btn_delete");
    EXPECT_EQ(rig.lines().size(), 2u);
    rig.click("macro_btn_deleteall");
    EXPECT_TRUE(rig.lines().empty());
    rig.click("macro_btn_cancel");
    EXPECT_EQ(rig.lines(), (std::vector<std::string>{"0,0,138,4,1,keyboard_key_A"}));
    EXPECT_FALSE(rig.barShown());
    EXPECT_EQ(rig.setChanges, 0);
}

TEST(MacroEditor, RenameRefusesTakenAndUnsafeNamesWithoutWriting) {
    struct Case {
        const char* name;
        const char* message;  ///< nullptr: nothing shown
    };
    const std::vector<Case> cases{
        {"macro_1", "message_text_5"},
        {"a/b", "message_macro_name_invalid"},
        {"..", "message_macro_name_invalid"},
        {"MACRO_2", nullptr},  // its own name: nothing happens
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EditorRig rig(MacroSet::Keyboard, [](auto& store) { Seed(store, MacroSet::Keyboard, 2); });
        const auto folder = rig.store().deviceFolder(MacroSet::Keyboard);
        std::vector<fs::path> before{fs::directory_iterator(folder), fs::directory_iterator()};
        rig.control<QLineEdit>("macro_edit_macroname")->setText(QString::fromLatin1(c.name));
        rig.click("macro_btn_savemacroname");
        if (c.message) ASSERT_EQ(rig.shownIds(), std::vector<QString>{QString::fromLatin1(c.message)});
        else EXPECT_TRUE(rig.dialogs.shown.empty());
        if (c.message) EXPECT_EQ(rig.control<QLineEdit>("macro_edit_macroname")->text(), QStringLiteral("Macro_2"));
        EXPECT_EQ(rig.store().ListMacros(MacroSet::Keyboard), (std::vector<std::string>{"Macro_1", "Macro_2"}));
        std::vector<fs::path> after{fs::directory_iterator(folder), fs::directory_iterator()};
        std::sort(before.begin(), before.end());
        std::sort(after.begin(), after.end());
        EXPECT_EQ(after, before);
        EXPECT_EQ(rig.setChanges, 0);
    }

    EditorRig rig(MacroSet::Keyboard, [](auto& store) { Seed(store, MacroSet::Keyboard, 2); });
    rig.click("macro_inset_leftkeydown_btn");  // unsaved: the rename stores the list under the new name
    rig.control<QLineEdit>("macro_edit_macroname")->setText(QStringLiteral("Fire"));
    rig.click("macro_btn_savemacroname");
    EXPECT_EQ(rig.store().ListMacros(MacroSet::Keyboard), (std::vector<std::string>{"Macro_1", "Fire"}));
    EXPECT_EQ(rig.store().LoadMacro(MacroSet::Keyboard, "Fire"), rig.lines());
    EXPECT_EQ(rig.control<QListWidget>("MacroName_list")->item(1)->text(), QStringLiteral("Fire"));
    EXPECT_FALSE(rig.barShown());
    EXPECT_EQ(rig.setChanges, 1);
}

TEST(MacroEditor, UnsavedEditsBlockOtherMacrosAndTheFiftyFirstIsRefused) {
    EditorRig rig(MacroSet::Keyboard, [](auto& store) { Seed(store, MacroSet::Keyboard, 2); });
    rig.click("macro_inset_leftkeydown_btn");
    auto* names = rig.control<QListWidget>("MacroName_list");
    EXPECT_FALSE(names->isEnabled());
    names->setCurrentRow(0);
    rig.click("macro_btn_name_add");
    EXPECT_FALSE(rig.control<QWidget>("macro_btn_name_sub")->isEnabled());
    EXPECT_EQ(rig.shownIds(), std::vector<QString>(2, QStringLiteral("message_text_3")));
    EXPECT_EQ(names->currentRow(), 1);
    EXPECT_EQ(*rig.page->current(), 1);
    EXPECT_EQ(rig.store().ListMacros(MacroSet::Keyboard).size(), 2u);
    rig.click("macro_btn_save");
    EXPECT_TRUE(names->isEnabled());
    names->setCurrentRow(0);
    EXPECT_EQ(*rig.page->current(), 0);

    EditorRig full(MacroSet::Mouse, [](auto& store) { Seed(store, MacroSet::Mouse, 50); });
    full.click("macro_btn_name_add");
    ASSERT_EQ(full.dialogs.shown.size(), 1u);
    EXPECT_FALSE(full.dialogs.shown[0].textIsId);
    EXPECT_EQ(full.dialogs.shown[0].text, QStringLiteral("You can create at most 50 macros."));
    EXPECT_EQ(full.store().ListMacros(MacroSet::Mouse).size(), 50u);

    EditorRig empty(MacroSet::Mouse);
    EXPECT_FALSE(empty.control<QWidget>("macro_btn_redio")->isEnabled());
    EXPECT_FALSE(empty.control<QWidget>("macro_check_time")->isEnabled());
    empty.click("macro_btn_name_add");
    EXPECT_TRUE(empty.control<QWidget>("macro_btn_redio")->isEnabled());
    EXPECT_EQ(empty.store().ListMacros(MacroSet::Mouse), std::vector<std::string>{"Macro_1"});
    EXPECT_EQ(empty.setChanges, 1);
}

TEST(MacroEditor, DeletingAnAssignedMacroRenumbersEveryBankOnlyOnceConfirmed) {
    using orvane::keyboard::KeyboardData;
    const orvane::keyboard::KeyCode native{0x20, 0x00, 0x04};
    auto assign = [&](orvane::runtime::Runtime& rt) {
        rt.keyboard.update([&](KeyboardData& d) {
            d.nativeKeys.setCode(5, native);
            d.banks[0].setCode(5, {0x70, 1, 0});  // the deleted macro
            d.banks[3].setCode(7, {0x71, 2, 9});  // a later one
            d.banks[4].setCode(9, {0x70, 0, 1});  // an earlier one
        });
    };
    auto codes = [](orvane::runtime::Runtime& rt) {
        return rt.keyboard.read([](const KeyboardData& d) {
            return std::vector<orvane::keyboard::KeyCode>{d.banks[0].code(5), d.banks[3].code(7), d.banks[4].code(9)};
        });
    };
    for (const bool confirmed : {false, true}) {
        SCOPED_TRACE(confirmed);
        EditorRig rig(MacroSet::Keyboard, [](auto& store) { Seed(store, MacroSet::Keyboard, 3); });
        assign(*rig.h.runtime);
        rig.control<QListWidget>("MacroName_list")->setCurrentRow(1);
        rig.dialogs.answers = {1, confirmed ? 1 : 0};
        rig.click("macro_btn_name_sub");
        EXPECT_EQ(rig.shownIds(), (std::vector<QString>{QStringLiteral("message_text_2"), QStringLiteral("message_text_4")}));
        const auto now = codes(*rig.h.runtime);
        if (!confirmed) {
            EXPECT_EQ(rig.store().ListMacros(MacroSet::Keyboard).size(), 3u);
            EXPECT_EQ(now[0], (orvane::keyboard::KeyCode{0x70, 1, 0}));
            EXPECT_EQ(now[1], (orvane::keyboard::KeyCode{0x71, 2, 9}));
            EXPECT_EQ(rig.setChanges, 0);
            continue;
        }
        EXPECT_EQ(rig.store().ListMacros(MacroSet::Keyboard), (std::vector<std::string>{"Macro_1", "Macro_3"}));
        EXPECT_EQ(now[0], native);
        EXPECT_EQ(now[1], (orvane::keyboard::KeyCode{0x71, 1, 9}));
        EXPECT_EQ(now[2], (orvane::keyboard::KeyCode{0x70, 0, 1}));
        EXPECT_EQ(rig.control<QListWidget>("MacroName_list")->count(), 2);
        EXPECT_EQ(*rig.page->current(), 0);
        EXPECT_EQ(rig.setChanges, 1);
    }
}

}  // namespace

// An index that is there but cannot be read lists nothing: the editor names the file once
// (not again at the next refresh) instead of showing an empty list as if no macro existed.
TEST(MacroEditorIndex, AnUnreadableIndexIsNamedOnce) {
    namespace fs = std::filesystem;
    struct Case {
        const char* what;
        std::function<void(const fs::path&)> spoil;
        const char* named;
    };
    const Case cases[] = {
        {"UTF-16 text",
         [](const fs::path& p) {
             std::ofstream(p, std::ios::binary) << std::string("\xff\xfe[\0M\0A\0C\0R\0O\0]\0", 16);
         },
         "holds no sections"},
        {"a folder", [](const fs::path& p) { fs::create_directories(p); }, "not a regular file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EditorRig rig(MacroSet::Keyboard, [&c](orvane::macros::MacroStore& store) {
            const auto index = store.indexPath(MacroSet::Keyboard);
            fs::create_directories(index.parent_path());
            c.spoil(index);
        });
        ASSERT_EQ(rig.dialogs.shown.size(), 1u);
        const QString shown = rig.dialogs.shown[0].text;
        EXPECT_TRUE(shown.startsWith(rig.language.text(QStringLiteral("message_macro_index_unreadable")))) << shown.toStdString();
        EXPECT_TRUE(shown.contains(QStringLiteral("kbMacro.ini"))) << shown.toStdString();
        EXPECT_TRUE(shown.contains(QLatin1String(c.named))) << shown.toStdString();
        rig.page->prepare();  // a later refresh: told already
        EXPECT_EQ(rig.dialogs.shown.size(), 1u);
    }
    EditorRig fresh(MacroSet::Keyboard);  // no index yet: nothing to tell
    EXPECT_TRUE(fresh.dialogs.shown.empty());
}
