// SPDX-License-Identifier: GPL-3.0-or-later
// Action lines as the files hold them, the mouse event table, the keyboard keys a macro
// presses, and the labels of actions read from a device.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "macros/action_line.h"
#include "macros/action_tables.h"

namespace orvane::macros {
namespace {

TEST(ActionLine, ParsesAsTheFilesAlwaysHaveBeenRead) {
    struct Case {
        const char* line;
        int delayLow, delayHigh, kind, code, pressed;
        const char* label;
    } const cases[] = {
        {"12,1,138,4,1,keyboard_key_A", 12, 1, 0x8A, 0x04, 1, "keyboard_key_A"},
        {"5,0,132,20,1,mouse_move_to_left_text", 5, 0, 0x84, 20, 1, "mouse_move_to_left_text"},
        {"1,2,3,4,5,", 1, 2, 3, 4, 5, ""},
        // Split from the right: extra commas stay with delayLow, whose number ends at the first.
        {"7,9,2,3,4,5,6,lbl", 7, 3, 4, 5, 6, "lbl"},
        {"0,0,1,1,0,a label with spaces", 0, 0, 1, 1, 0, "a label with spaces"},
        // Non-numbers read 0; numbers are kept in a byte (pressed in 16 bits).
        {"x,1,y,4,z,lbl", 0, 1, 0, 4, 0, "lbl"},
        {"300,256,-1,4,70000,lbl", 44, 0, 255, 4, 70000 & 0xFFFF, "lbl"},
        {" 3 ,4,5,6,1,lbl", 3, 4, 5, 6, 1, "lbl"},
        // Fewer than five commas: nothing parses.
        {"1,2,3,4,keyboard_key_A", 0, 0, 0, 0, 0, ""},
        {"0", 0, 0, 0, 0, 0, ""},
        {"", 0, 0, 0, 0, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const ActionLine a = ParseActionLine(c.line);
        EXPECT_EQ(a.delayLow, c.delayLow);
        EXPECT_EQ(a.delayHigh, c.delayHigh);
        EXPECT_EQ(a.kind, c.kind);
        EXPECT_EQ(a.code, c.code);
        EXPECT_EQ(a.pressed, c.pressed);
        EXPECT_EQ(a.label, c.label);
    }
}

TEST(ActionLine, TheWorkedExamplesMeanWhatTheySay) {
    const ActionLine keyA = ParseActionLine("12,1,138,4,1,keyboard_key_A");
    EXPECT_EQ(keyA.delayUnits(), 268);  // 2680 ms
    EXPECT_EQ(keyA.action(), kind::kKey);
    EXPECT_TRUE(keyA.directionSet());
    EXPECT_TRUE(keyA.isKeyboardAction());
    EXPECT_EQ(keyA.deviceBytes(), (std::array<uint8_t, 4>{12, 1, 0x8A, 0x04}));

    const ActionLine left = ParseActionLine("5,0,132,20,1,mouse_move_to_left_text");
    EXPECT_EQ(left.delayUnits() * 10, 50);
    EXPECT_EQ(left.action(), kind::kHorizontalMove);
    EXPECT_TRUE(left.directionSet());  // left
    EXPECT_EQ(left.code, 20);
    EXPECT_FALSE(left.isKeyboardAction());
}

TEST(ActionLine, FormatsWhatItParses) {
    for (const char* line : {"12,1,138,4,1,keyboard_key_A", "0,0,5,255,0,mouse_move_to_down_text", "255,255,1,16,0,"}) {
        EXPECT_EQ(FormatActionLine(ParseActionLine(line)), line);
    }
    ActionLine a;
    a.setDelayUnits(70000);
    EXPECT_EQ(a.delayUnits(), 65535);
    a.setDelayUnits(400);
    EXPECT_EQ(a.delayLow, 144);
    EXPECT_EQ(a.delayHigh, 1);
}

TEST(MouseEventTable, RowsForRecordingInsertingAndShowing) {
    using Button = functions::CapturedInput::Button;
    ASSERT_EQ(kMouseEventTable.size(), 14u);
    struct Case {
        Button button;
        bool pressed;
        size_t row;
        uint8_t kind, code;
    } const buttons[] = {
        {Button::Left, true, 0, 0x81, 0x01},   {Button::Left, false, 1, 0x01, 0x01},
        {Button::Right, true, 2, 0x81, 0x02},  {Button::Right, false, 3, 0x01, 0x02},
        {Button::Middle, true, 4, 0x81, 0x04}, {Button::Middle, false, 5, 0x01, 0x04},
        {Button::Forward, true, 6, 0x81, 0x10}, {Button::Back, false, 9, 0x01, 0x08},
    };
    for (const auto& c : buttons) {
        SCOPED_TRACE(c.row);
        EXPECT_EQ(MouseEventRowOf(c.button, c.pressed), c.row);
        const ActionLine a = MouseEventAction(c.row);
        EXPECT_EQ(a.kind, c.kind);
        EXPECT_EQ(a.code, c.code);
        EXPECT_EQ(a.pressed, c.pressed ? 1 : 0);
        EXPECT_EQ(MouseEventRowOf(a), c.row);
    }
    EXPECT_FALSE(MouseEventRowOf(Button::None, true));

    // Moves carry their distance; any distance shows as the row of its kind and direction.
    const struct {
        size_t row;
        uint8_t kind;
        const char* label;
    } moves[] = {{10, 0x84, "mouse_move_to_left_text"},
                 {11, 0x04, "mouse_move_to_right_text"},
                 {12, 0x85, "mouse_move_to_up_text"},
                 {13, 0x05, "mouse_move_to_down_text"}};
    for (const auto& m : moves) {
        const ActionLine a = MouseEventAction(m.row, 33);
        EXPECT_EQ(a.kind, m.kind);
        EXPECT_EQ(a.code, 33);
        EXPECT_EQ(a.label, m.label);
        EXPECT_EQ(MouseEventRowOf(a), m.row);
    }
    EXPECT_FALSE(MouseEventRowOf(ParseActionLine("0,0,10,4,0,keyboard_key_A")));
}

TEST(MacroKeys, TheKeyEditorsHundredAndEightKeysInListOrder) {
    const auto keys = MacroKeys();
    ASSERT_EQ(keys.size(), 108u);
    EXPECT_EQ(keys[0].name, "keyboard_key_LCtrl");
    EXPECT_EQ(keys[7].code.b1, 0x80);
    EXPECT_EQ(keys[8].name, "keyboard_key_A");
    EXPECT_EQ(keys[8].code.b2, 0x04);
    EXPECT_EQ(keys[43].name, "keyboard_key_0");
    EXPECT_EQ(keys[91].name, "keyboard_key_Num Enter");
    EXPECT_EQ(keys[91].code.b2, 0x58);
    EXPECT_EQ(keys[103].code.b2, 0x65);  // App
    EXPECT_EQ(keys[107].code.b2, 0x89);  // K14
    std::set<int> usages;
    for (const auto& k : keys) {
        EXPECT_EQ(k.code.type, functions::code_type::kKeyboardKey) << k.name;
        EXPECT_TRUE((k.code.b1 == 0) != (k.code.b2 == 0)) << k.name;
        if (k.code.b2) usages.insert(k.code.b2);
    }
    EXPECT_EQ(usages.size(), 100u);

    const ActionLine press = KeyAction(keys[1], true);  // LShift
    EXPECT_EQ(FormatActionLine(press), "0,0,137,2,1,keyboard_key_LShift");
    EXPECT_EQ(FormatActionLine(KeyAction(keys[8], false)), "0,0,10,4,0,keyboard_key_A");
}

TEST(DeviceActionLabels, EachKindByItsTable) {
    struct Case {
        uint8_t kind, code;
        const char* label;
    } const cases[] = {
        {0x8A, 0x04, "keyboard_key_A"},        {0x0A, 0x58, "keyboard_key_Num Enter"},
        {0x89, 0x02, "keyboard_key_LShift"},   {0x81, 0x10, "mouse_key_forward"},
        {0x01, 0x04, "mouse_key_middle"},      {0x84, 9, "mouse_move_to_left_text"},
        {0x04, 9, "mouse_move_to_right_text"}, {0x85, 0, "mouse_move_to_up_text"},
        {0x05, 0, "mouse_move_to_down_text"},
        // The first entry with that byte: usage 0 is a modifier's, modifier byte 0 a key's.
        {0x0A, 0x00, "keyboard_key_LCtrl"},    {0x09, 0x00, "keyboard_key_A"},
        {0x0A, 0xFF, ""},                      {0x01, 0x20, ""},
        {0x02, 0x01, ""},                      {0x7F, 0x01, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(LabelForDeviceAction(c.kind, c.code), c.label) << int(c.kind) << " " << int(c.code);
}

}  // namespace
}  // namespace orvane::macros
