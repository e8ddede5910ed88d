// SPDX-License-Identifier: GPL-3.0-or-later
// The key editor of the keyboard page and the button editor of the mouse page, over the
// device data: what a shown code looks like in the controls and back, the categories,
// capture, macros, restore, the last-left-click guard and the labels.
#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

#include <map>
#include <string>
#include <vector>

#include "functions/function_lists.h"
#include "keyboard/key_editor.h"
#include "keyboard/keyboard_device.h"
#include "macros/macro_assignments.h"
#include "mouse/button_editor.h"

namespace orvane {
namespace {

using functions::Capture;
using functions::EditorControls;
using functions::EditorState;
using functions::FunctionCode;

// Positions on the keyboard page.
constexpr size_t kPosA = 64, kPosB = 89, kPosEnter = 75, kPosFn = 110, kPosEmpty = 16;
// Category items of "kb_key_fct_combo".
constexpr int kKbDefault = 0, kKbKey = 1, kKbHScroll = 3, kKbVScroll = 4, kKbFire = 6, kKbMedia = 7, kKbMacro = 9;

/// A keyboard whose keys are the occupied positions in order, every key on its own code.
keyboard::KeyboardData Keyboard() {
    keyboard::KeyboardData d;
    size_t keys = 0;
    for (const auto& p : keyboard::kKeyPositions)
        if (!p.empty()) d.nativeKeys.setCode(keys++, {p.type, p.modifiers, p.usage});
    d.info.bytes[keyboard::KeyboardInfo::off::keyCount] = static_cast<uint8_t>(keys);
    keyboard::BuildPositionMap(d.nativeKeys, keys, d.positionMap);
    d.banks[0] = d.nativeKeys;
    return d;
}

size_t KeyAt(const keyboard::KeyboardData& d, size_t position) { return static_cast<size_t>(d.positionMap[position]); }
FunctionCode BankCode(const keyboard::KeyboardData& d, size_t position) { return d.banks[0].code(KeyAt(d, position)); }

TEST(KeyEditor, SwingsStoreTheirEncodingsAndShowTheSameNumbersAgain) {
    struct Case {
        int item;
        int EditorControls::*direction;
        int EditorControls::*amount;
        int EditorControls::*high;
        int EditorControls::*low;
        FunctionCode stored;
    };
    const Case cases[] = {
        {kKbHScroll, &EditorControls::horizontalDirection, &EditorControls::horizontalAmount,
         &EditorControls::horizontalHigh, &EditorControls::horizontalLow, {0x11, 0x23, 0x85}},
        {kKbVScroll, &EditorControls::verticalDirection, &EditorControls::verticalAmount,
         &EditorControls::verticalHigh, &EditorControls::verticalLow, {0x12, 0x23, 0xFB}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        auto d = Keyboard();
        EditorState state;
        ASSERT_TRUE(keyboard::ShowKey(d, state, kPosA, 0).showPanel);
        state.controls.*c.direction = 1;  // right / down
        state.controls.*c.amount = 5;
        state.controls.*c.high = 2;
        state.controls.*c.low = 3;
        EXPECT_TRUE(keyboard::ChooseCategory(d, state, c.item, 0).stored);
        EXPECT_EQ(BankCode(d, kPosA), c.stored);

        keyboard::ShowKey(d, state, kPosB, 0);
        state.controls = {};
        const auto shown = keyboard::ShowKey(d, state, kPosA, 0);
        EXPECT_EQ(shown.categoryItem, c.item);
        EXPECT_EQ(state.controls.*c.direction, 1);
        EXPECT_EQ(state.controls.*c.amount, 5);
        EXPECT_EQ(state.controls.*c.high, 2);
        EXPECT_EQ(state.controls.*c.low, 3);
        EXPECT_FALSE(shown.stored);
    }
}

TEST(KeyEditor, ShowingACodeNeverChangesIt) {
    // Codes the controls can only show in part: a media usage not in the list, a key with
    // modifiers, an unknown type, a macro past the list, down 128.
    for (const FunctionCode code : {FunctionCode{0x30, 0x01, 0x02}, FunctionCode{0x20, 0x01, 0x04},
                                    FunctionCode{0x99, 1, 2}, FunctionCode{0x70, 7, 1}, FunctionCode{0x12, 0, 0x80}}) {
        auto d = Keyboard();
        d.banks[0].setCode(KeyAt(d, kPosA), code);
        const auto before = d.banks;
        EditorState state;
        state.category = functions::Category::Media;
        const auto shown = keyboard::ShowKey(d, state, kPosA, 3);
        EXPECT_FALSE(shown.stored);
        EXPECT_EQ(d.banks, before);
    }
    // A key with its own code shows the own-function category; a position without a key
    // and the unnamed Fn key of an unmapped keyboard do nothing.
    auto d = Keyboard();
    EditorState state;
    EXPECT_EQ(keyboard::ShowKey(d, state, kPosEnter, 0).categoryItem, kKbDefault);
    EXPECT_EQ(state.key, KeyAt(d, kPosEnter));
    const EditorState before = state;
    EXPECT_FALSE(keyboard::ShowKey(d, state, kPosEmpty, 0).showPanel);
    EXPECT_FALSE(keyboard::ShowKey(d, state, 126, 0).showPanel);
    d.info.bytes[keyboard::KeyboardInfo::off::keyCount] = 10;  // a smaller keyboard; the map is older
    EXPECT_FALSE(keyboard::ShowKey(d, state, kPosFn, 0).showPanel);
    EXPECT_EQ(state.key, before.key);
}

TEST(KeyEditor, CaptureTakesKeysButNotMediaKeys) {
    auto d = Keyboard();
    EditorState state;
    keyboard::ShowKey(d, state, kPosA, 0);
    // Nothing is captured before the keyboard-key category is chosen.
    EXPECT_FALSE(keyboard::CaptureKey(d, state, KEY_B, 0).stored);
    // The edit names the key the code sends; a code that is no key waits for a capture.
    const auto chosen = keyboard::ChooseCategory(d, state, kKbKey, 0);
    EXPECT_EQ(chosen.capture, Capture::Start);
    EXPECT_EQ(state.controls.capturedKey, "keyboard_key_A");
    EXPECT_EQ(BankCode(d, kPosA), d.nativeKeys.code(KeyAt(d, kPosA)));
    state.controls.media = 3;
    keyboard::ChooseCategory(d, state, kKbMedia, 0);
    EXPECT_FALSE(keyboard::ChooseCategory(d, state, kKbKey, 0).stored);
    EXPECT_TRUE(state.controls.capturedKey.empty());
    EXPECT_EQ(BankCode(d, kPosA), (FunctionCode{0x30, 0xB6, 0x00}));

    struct Case { uint16_t key; FunctionCode stored; std::string_view name; };
    for (const Case& c : {Case{KEY_KPENTER, {0x20, 0, 0x58}, "keyboard_key_Num Enter"},
                          Case{KEY_ENTER, {0x20, 0, 0x28}, "keyboard_key_Enter"},
                          Case{KEY_RIGHTCTRL, {0x20, 0x10, 0}, "keyboard_key_RCtrl"},
                          Case{KEY_102ND, {0x20, 0, 0x64}, "keyboard_key_102ND"},
                          Case{KEY_YEN, {0x20, 0, 0x89}, "keyboard_key_K14"}}) {
        SCOPED_TRACE(c.key);
        const auto r = keyboard::CaptureKey(d, state, c.key, 0);
        EXPECT_TRUE(r.stored);
        EXPECT_TRUE(r.controlsChanged);
        EXPECT_EQ(BankCode(d, kPosA), c.stored);
        EXPECT_EQ(state.controls.capturedKey, c.name);
    }
    for (uint16_t ignored : {KEY_PLAYPAUSE, KEY_POWER, KEY_VOLUMEUP}) {
        EXPECT_FALSE(keyboard::CaptureKey(d, state, ignored, 0).stored);
        EXPECT_EQ(BankCode(d, kPosA), (FunctionCode{0x20, 0, 0x89}));
    }
    // Another category ends the capture.
    EXPECT_EQ(keyboard::ChooseCategory(d, state, kKbMedia, 0).capture, Capture::Stop);
}

TEST(KeyEditor, ModifiersHeldWithACapturedKeyAreStoredInTheCodeAndNamed) {
    using namespace functions::modifier;
    auto d = Keyboard();
    EditorState state;
    keyboard::ShowKey(d, state, kPosA, 0);
    keyboard::ChooseCategory(d, state, kKbKey, 0);
    struct Case { uint16_t key; uint8_t held; FunctionCode stored; std::string_view name; uint8_t named; };
    for (const Case& c : {Case{KEY_F, kLeftCtrl | kLeftShift, {0x20, 0x03, 0x09}, "keyboard_key_F", 0x03},
                          Case{KEY_KPENTER, kRightAlt, {0x20, 0x40, 0x58}, "keyboard_key_Num Enter", 0x40},
                          Case{KEY_F13, kLeftWin, {0x20, 0x08, 0x68}, "keyboard_key_F13", 0x08},
                          // Modifiers alone: the last one names the key.
                          Case{KEY_LEFTSHIFT, kLeftCtrl, {0x20, 0x03, 0}, "keyboard_key_LShift", 0x01},
                          Case{KEY_LEFTCTRL, kRightShift, {0x20, 0x21, 0}, "keyboard_key_RShift", 0x01}}) {
        SCOPED_TRACE(c.key);
        EXPECT_TRUE(keyboard::CaptureKey(d, state, c.key, 0, c.held).stored);
        EXPECT_EQ(BankCode(d, kPosA), c.stored);
        EXPECT_EQ(state.controls.capturedKey, c.name);
        EXPECT_EQ(state.controls.capturedModifiers, c.named);
        // The label names every key of the combination, and shows it again in the editor.
        const auto label = functions::FunctionLabel(c.stored, {});
        ASSERT_TRUE(label);
        EXPECT_EQ(label->text, c.name);
        EXPECT_EQ(label->modifiers, c.named);
        EditorState shown;
        keyboard::ShowKey(d, shown, kPosA, 0);
        EXPECT_EQ(shown.controls.capturedKey, c.name);
        EXPECT_EQ(shown.controls.capturedModifiers, c.named);
    }
    const auto bracketed = [](std::string_view id) { return "[" + std::string(id) + "]"; };
    EXPECT_EQ(functions::ShownName(*functions::FunctionLabel({0x20, 0x03, 0x09}, {}), bracketed),
              "[keyboard_key_LCtrl]+[keyboard_key_LShift]+[keyboard_key_F]");
    EXPECT_EQ(functions::ShownName(*functions::FunctionLabel({0x20, 0x00, 0x09}, {}), bracketed), "[keyboard_key_F]");
}

TEST(KeyEditor, MacrosFireKeyAndMediaFromTheControls) {
    auto d = Keyboard();
    EditorState state;
    keyboard::ShowKey(d, state, kPosA, 0);
    const FunctionCode own = BankCode(d, kPosA);

    // No macro selected: nothing is stored.
    EXPECT_FALSE(keyboard::ChooseCategory(d, state, kKbMacro, 3).stored);
    EXPECT_EQ(BankCode(d, kPosA), own);
    struct Case { int macro, mode, count; FunctionCode stored; };
    for (const Case& c : {Case{1, 4, 3, {0x71, 1, 3}}, Case{1, 2, 3, {0x70, 1, 2}}, Case{2, 4, 300, {0x71, 2, 255}}}) {
        state.controls.macro = c.macro;
        state.controls.playMode = c.mode;
        state.controls.repeatCount = c.count;
        EXPECT_TRUE(keyboard::StoreKey(d, state, 3).stored);
        EXPECT_EQ(BankCode(d, kPosA), c.stored);
    }
    state.controls.macro = 3;  // past the list of three
    EXPECT_FALSE(keyboard::StoreKey(d, state, 3).stored);

    // Typing 300 into the fire key's first edit shows "255" and stores 255.
    const auto typed = functions::ReadEdit("300", functions::kEditorEdits[0].limit);
    EXPECT_EQ(typed.replacement, "255");
    state.controls.fireFirst = typed.value;
    state.controls.fireSecond = 7;
    EXPECT_TRUE(keyboard::ChooseCategory(d, state, kKbFire, 3).stored);
    EXPECT_EQ(BankCode(d, kPosA), (FunctionCode{0x14, 255, 7}));

    state.controls.media = 1;
    keyboard::ChooseCategory(d, state, kKbMedia, 3);
    EXPECT_EQ(BankCode(d, kPosA), (FunctionCode{0x30, 0xCD, 0x00}));

    // Showing the macro key again selects it; with fewer macros it shows no selection.
    state.controls.macro = 1;
    state.controls.playMode = 4;
    state.controls.repeatCount = 3;
    keyboard::ChooseCategory(d, state, kKbMacro, 3);
    state.controls = {};
    EXPECT_EQ(keyboard::ShowKey(d, state, kPosA, 3).categoryItem, kKbMacro);
    EXPECT_EQ(state.controls.macro, 1);
    EXPECT_EQ(state.controls.playMode, 4);
    EXPECT_EQ(state.controls.repeatCount, 3);
    keyboard::ShowKey(d, state, kPosA, 1);
    EXPECT_EQ(state.controls.macro, -1);
}

TEST(KeyEditor, RestoreGivesTheKeyItsOwnCodeAndLabelsFollow) {
    auto d = Keyboard();
    EditorState state;
    keyboard::ShowKey(d, state, kPosA, 0);
    EXPECT_EQ(keyboard::RestoreDefault(d, state, 0).categoryItem, kKbDefault);  // already its own

    state.controls.media = 0;
    keyboard::ChooseCategory(d, state, kKbMedia, 0);
    d.banks[0].setCode(KeyAt(d, kPosB), {0x70, 0, 1});
    d.banks[0].setCode(KeyAt(d, kPosEnter), {0x99, 0, 0});
    const std::vector<std::string> macros{"Burst"};
    auto translate = [](std::string_view id) { return "<" + std::string(id) + ">"; };

    std::map<size_t, keyboard::KeyLabel> labels;
    for (auto& label : keyboard::RenderKeyLabels(d, macros)) labels[label.position] = label;
    EXPECT_FALSE(labels.count(kPosFn));  // type 0xA0 keeps its tooltip
    ASSERT_TRUE(labels.count(kPosA) && labels.count(kPosB) && labels.count(kPosEnter) && labels.count(0));
    EXPECT_EQ(keyboard::KeyTooltip(labels[kPosA], translate), "<keyboard_key_A><Key_Set><media_text>");
    EXPECT_EQ(keyboard::KeyTooltip(labels[kPosB], translate), "<keyboard_key_B><Key_Set>Burst");
    EXPECT_EQ(keyboard::KeyTooltip(labels[kPosEnter], translate), "<keyboard_key_Enter><Key_Set><关闭>");
    EXPECT_EQ(keyboard::KeyTooltip(labels[0], translate), "<keyboard_key_Esc>");
    EXPECT_TRUE(labels[kPosA].remapped);
    EXPECT_FALSE(labels[0].remapped);

    const auto restored = keyboard::RestoreDefault(d, state, 0);
    EXPECT_TRUE(restored.stored);
    EXPECT_EQ(restored.categoryItem, kKbDefault);
    EXPECT_EQ(BankCode(d, kPosA), d.nativeKeys.code(KeyAt(d, kPosA)));
}

// ---- the mouse's buttons ------------------------------------------------------------------

constexpr FunctionCode kLeft{0x10, 0x01, 0}, kRight{0x10, 0x02, 0}, kMiddle{0x10, 0x04, 0};

mouse::MouseData Mouse() {
    mouse::MouseData d;
    const FunctionCode factory[] = {kLeft, kMiddle, kRight, {0x10, 0x10, 0}, {0x10, 0x08, 0}, {0x13, 3, 0}};
    for (size_t b = 0; b < mouse::kButtonCount; ++b) {
        for (auto* bytes : {&d.defaultKeys.bytes, &d.block.pages[0].bytes, &d.block.pages[2].bytes}) {
            (*bytes)[3 * b] = factory[b].type;
            (*bytes)[3 * b + 1] = factory[b].b1;
            (*bytes)[3 * b + 2] = factory[b].b2;
        }
    }
    return d;
}

void SetEntry(mouse::MouseKeyPage& page, size_t entry, FunctionCode code) {
    page.bytes[3 * entry] = code.type;
    page.bytes[3 * entry + 1] = code.b1;
    page.bytes[3 * entry + 2] = code.b2;
}

TEST(ButtonEditor, TheLastLeftClickButtonCannotBeEdited) {
    struct Case { size_t otherEntry; bool refused; };
    for (const Case& c : {Case{0, true}, Case{2, false}, Case{8, false}, Case{9, true}}) {
        SCOPED_TRACE(c.otherEntry);
        auto d = Mouse();
        if (c.otherEntry != 0) SetEntry(d.block.pages[0], c.otherEntry, kLeft);
        EditorState state;
        const auto r = mouse::SelectButtonForEdit(d, state, 0, 0);
        EXPECT_EQ(r.message, c.refused ? "message_text_6" : "");
        EXPECT_EQ(r.hidePanel, c.refused);
        EXPECT_EQ(r.showPanel, !c.refused);
        // A refused button takes no change, whatever the controls say.
        state.category = functions::Category::MouseButton;
        state.controls.mouseButton = 2;
        mouse::ApplyButtonFunction(d, state, 0);
        EXPECT_EQ(mouse::ButtonCode(d.block.pages[0], 0), c.refused ? kLeft : kRight);
    }
}

TEST(ButtonEditor, CategoriesOfTheMousePage) {
    auto d = Mouse();
    d.state.setActiveSlot(2);
    EditorState state;
    EXPECT_EQ(mouse::SelectButtonForEdit(d, state, 2, 0).categoryItem, 0);  // its factory code

    struct Case { int item; FunctionCode stored; };
    state.controls.cursorSequence = 2;
    state.controls.dpiAction = 1;
    state.controls.system = 2;
    for (const Case& c : {Case{10, {0x72, 2, 0}}, Case{4, {0x13, 2, 0}}, Case{8, {0x40, 4, 0}}}) {
        EXPECT_TRUE(mouse::ChooseButtonCategory(d, state, c.item, 0).stored);
        EXPECT_EQ(mouse::ButtonCode(d.block.pages[2], 2), c.stored);
        EXPECT_EQ(mouse::ButtonCode(d.block.pages[0], 2), kRight);  // only the active slot's page
    }
    // Item 6 captures keys (mode 16 on the page); a captured key goes into the page.
    EXPECT_EQ(mouse::ChooseButtonCategory(d, state, 6, 0).capture, Capture::Start);
    EXPECT_TRUE(mouse::CaptureButtonKey(d, state, KEY_KPENTER, 0).stored);
    EXPECT_EQ(mouse::ButtonCode(d.block.pages[2], 2), (FunctionCode{0x20, 0, 0x58}));
    EXPECT_EQ(mouse::SelectButtonForEdit(d, state, 2, 0).capture, Capture::Start);

    const auto restored = mouse::RestoreButtonDefault(d, state, 0);
    EXPECT_TRUE(restored.stored);
    EXPECT_EQ(restored.categoryItem, 0);
    EXPECT_EQ(mouse::ButtonCode(d.block.pages[2], 2), kRight);

    // A slot byte that names no page edits page 0.
    d.state.setActiveSlot(7);
    mouse::SelectButtonForEdit(d, state, 1, 0);
    state.controls.mouseButton = 4;
    mouse::ChooseButtonCategory(d, state, 1, 0);
    EXPECT_EQ(mouse::ButtonCode(d.block.pages[0], 1), (FunctionCode{0x10, 0x08, 0}));
}

TEST(ButtonEditor, LabelsOfTheButtons) {
    auto page = Mouse().block.pages[0];
    SetEntry(page, 1, {0x70, 1, 0});
    SetEntry(page, 2, {0x50, 0, 0});
    SetEntry(page, 3, {0x72, 0, 0});
    SetEntry(page, 4, {0x71, 5, 0});
    const std::vector<std::string> macros{"One", "Two"};
    const auto labels = mouse::RefreshButtonLabels(page, macros);
    using functions::FunctionName;
    EXPECT_EQ(labels[0], FunctionName{"mouse_key_left"});
    EXPECT_EQ(labels[1], (FunctionName{"Two", false}));
    EXPECT_EQ(labels[2], std::nullopt);
    EXPECT_EQ(labels[3], FunctionName{"GUN_1"});
    EXPECT_EQ(labels[4], std::nullopt);
    EXPECT_EQ(labels[5], FunctionName{"mouse_key_DPI_loop"});
}

// The editors' codes through the macro store's renumbering (macros/macro_assignments.h).
TEST(MacroDeletion, KeysAndButtonsFollowTheMacroIndexes) {
    // Mouse: buttons on macros 1, 2 and 3 on two pages; macro 2 goes.
    auto ms = Mouse();
    SetEntry(ms.block.pages[0], 1, {0x70, 1, 2});
    SetEntry(ms.block.pages[0], 2, {0x71, 2, 9});
    SetEntry(ms.block.pages[4], 3, {0x70, 3, 0});
    SetEntry(ms.block.pages[4], 4, {0x71, 2, 1});
    EXPECT_TRUE(macros::MacroInUse(ms.block.pages, 2));
    EXPECT_FALSE(macros::MacroInUse(ms.block.pages, 0));
    macros::RenumberMacroAssignments(ms.block.pages, ms.defaultKeys, 2);
    EXPECT_EQ(mouse::ButtonCode(ms.block.pages[0], 1), (FunctionCode{0x70, 1, 2}));
    EXPECT_EQ(mouse::ButtonCode(ms.block.pages[0], 2), kRight);               // its factory code
    EXPECT_EQ(mouse::ButtonCode(ms.block.pages[4], 3), (FunctionCode{0x70, 2, 0}));
    EXPECT_EQ(mouse::ButtonCode(ms.block.pages[4], 4), (FunctionCode{0x10, 0x08, 0}));
    EXPECT_FALSE(macros::MacroInUse(ms.block.pages, 3));

    // Keyboard: macro 1 of three goes, in every bank.
    auto kb = Keyboard();
    const size_t a = KeyAt(kb, kPosA), b = KeyAt(kb, kPosB);
    kb.banks[0].setCode(a, {0x70, 1, 0});
    kb.banks[3].setCode(b, {0x71, 2, 5});
    kb.banks[3].setCode(a, {0x70, 0, 3});
    EXPECT_TRUE(macros::MacroInUse(kb.banks, 1));
    macros::RenumberMacroAssignments(kb.banks, kb.nativeKeys, 1);
    EXPECT_EQ(kb.banks[0].code(a), kb.nativeKeys.code(a));
    EXPECT_EQ(kb.banks[3].code(b), (FunctionCode{0x71, 1, 5}));
    EXPECT_EQ(kb.banks[3].code(a), (FunctionCode{0x70, 0, 3}));
}

}  // namespace
}  // namespace orvane
