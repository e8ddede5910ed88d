// SPDX-License-Identifier: GPL-3.0-or-later
// The function-code table: the lists as data, the swing encodings, the lookups by code and
// by virtual-key code, the names a code is shown by, and the edit clamps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "functions/function_editor.h"
#include "functions/function_lists.h"

namespace orvane::functions {
namespace {

TEST(FunctionTable, KeyboardKeyListFollowsItsRows) {
    ASSERT_EQ(KeyboardKeyList.size(), 129u);
    ASSERT_EQ(MediaList.size(), 18u);
    // Runs of consecutive usages: {first entry, last entry, usage of the first}.
    struct Run { size_t first, last; uint8_t usage; };
    for (const Run& run : {Run{8, 33, 0x04}, Run{34, 43, 0x1E}, Run{44, 48, 0x28}, Run{49, 53, 0x2D},
                           Run{54, 59, 0x33}, Run{60, 72, 0x39}, Run{73, 85, 0x46}, Run{86, 91, 0x53},
                           Run{92, 101, 0x59}}) {
        for (size_t i = run.first; i <= run.last; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(KeyboardKeyList[i].code, (FunctionCode{0x20, 0, uint8_t(run.usage + i - run.first)}));
        }
    }
    for (size_t i = 0; i < 8; ++i) EXPECT_EQ(KeyboardKeyList[i].code, (FunctionCode{0x20, uint8_t(1u << i), 0}));
    for (size_t i = 0; i < 26; ++i) EXPECT_EQ(KeyboardKeyList[8 + i].key, 0x41 + i);   // A-Z
    for (size_t i = 0; i < 12; ++i) EXPECT_EQ(KeyboardKeyList[61 + i].key, 0x70 + i);  // F1-F12

    struct Row { size_t entry; uint16_t vk; FunctionCode code; std::string_view name; };
    for (const Row& row : {
             Row{43, 0x30, {0x20, 0, 0x27}, "keyboard_key_0"},
             Row{53, 0xDC, {0x20, 0, 0x31}, "keyboard_key_xiegang"},
             Row{91, 0x101, {0x20, 0, 0x58}, "keyboard_key_Num Enter"},
             Row{101, 0x60, {0x20, 0, 0x62}, "keyboard_key_Num 0"},
             Row{102, 0x6E, {0x20, 0, 0x63}, "keyboard_key_Decimal"},
             Row{103, 0x5D, {0x20, 0, 0x65}, "keyboard_key_App"},
             Row{104, 0xE9, {0x20, 0, 0x91}, "keyboard_key_KL"},
             Row{105, 0xFF, {0x20, 0, 0x90}, "keyboard_key_KR"},
             Row{106, 0xC1, {0x20, 0, 0x87}, "keyboard_key_K56"},
             Row{107, 0xFF, {0x20, 0, 0x89}, "keyboard_key_K14"},
             Row{108, 0xB7, {0x30, 0x92, 0x01}, "keyboard_key_Launch App2"},
             Row{121, 0xB0, {0x30, 0xB5, 0x00}, "keyboard_key_Media Next Track"},
             Row{125, 0xB5, {0x30, 0x83, 0x01}, "keyboard_key_Launch Media Select"},
             Row{126, 0x103, {0x40, 1, 0}, "keyboard_key_Power"},
             Row{128, 0x105, {0x40, 4, 0}, "keyboard_key_Wakeup"},
         }) {
        SCOPED_TRACE(row.entry);
        EXPECT_EQ(KeyboardKeyList[row.entry].key, row.vk);
        EXPECT_EQ(KeyboardKeyList[row.entry].code, row.code);
        EXPECT_EQ(KeyboardKeyList[row.entry].name, row.name);
    }
    size_t keys = 0;
    for (const auto& e : KeyboardKeyList) keys += e.code.type == 0x20;
    EXPECT_EQ(keys, kKeyboardKeyEntries);
}

TEST(FunctionTable, SwingAmountsEncodeAndDecodeBack) {
    struct Case { bool horizontal; SwingAmount swing; uint8_t b2; };
    for (const Case& c : {Case{true, {5, true}, 0x85}, Case{true, {5, false}, 0x05}, Case{true, {127, true}, 0xFF},
                          Case{true, {0, true}, 0x80}, Case{false, {5, true}, 0xFB}, Case{false, {5, false}, 0x05},
                          Case{false, {127, true}, 0x81}, Case{false, {1, true}, 0xFF}, Case{false, {0, false}, 0x00}}) {
        SCOPED_TRACE(std::to_string(c.swing.amount) + (c.horizontal ? " horizontal" : " vertical"));
        EXPECT_EQ(c.horizontal ? EncodeHorizontalSwing(c.swing) : EncodeVerticalSwing(c.swing), c.b2);
        EXPECT_EQ(c.horizontal ? DecodeHorizontalSwing(c.b2) : DecodeVerticalSwing(c.b2), c.swing);
    }
    // Amounts past 127 never spill into the direction bit; down 128 shows as the largest amount.
    EXPECT_EQ(EncodeHorizontalSwing({300, false}), 0x7F);
    EXPECT_EQ(EncodeVerticalSwing({300, true}), 0x81);
    EXPECT_EQ(DecodeVerticalSwing(0x80), (SwingAmount{127, true}));
    EXPECT_EQ(PackNibbles(2, 3), 0x23);
    EXPECT_EQ(PackNibbles(16, -1), 0xF0);
}

TEST(FunctionTable, WindowsKeysFindTheirEntries) {
    struct Case { uint16_t vk; uint16_t scan; bool extended; std::optional<size_t> entry; };
    for (const Case& c : {Case{0x0D, 0x1C, false, 44}, Case{0x0D, 0x1C, true, 91}, Case{0xFF, 0x72, false, 105},
                          Case{0xFF, 0x7D, false, 107}, Case{0x41, 0x7D, false, 8}, Case{0xB5, 0, false, 124},
                          Case{0x07, 0, false, std::nullopt}}) {
        SCOPED_TRACE(c.vk);
        EXPECT_EQ(KeyboardKeyFromWindowsKey(c.vk, c.scan, c.extended), c.entry);
    }
    EXPECT_EQ(KeyboardKeyByCode(0x08, 0), 3u);                  // left Windows
    EXPECT_EQ(KeyboardKeyByCode(0xCD, 0x00), std::nullopt);     // a media usage is no modifier set
    EXPECT_EQ(KeyboardKeySuffix(91), "Num Enter");
}

TEST(FunctionTable, CodesAreNamedByTheirLists) {
    const std::vector<std::string> macros{"Reload", "Combo"};
    const FunctionName off{std::string(kUnknownFunctionName)};
    struct Case { FunctionCode code; std::optional<FunctionName> name; };
    const Case cases[] = {
        {{0x20, 0, 0x04}, FunctionName{"keyboard_key_A"}},
        {{0x00, 0x01, 0}, FunctionName{"keyboard_key_LCtrl"}},
        {{0x20, 0x01, 0x04}, FunctionName{"keyboard_key_A", true, 0x01}},  // Ctrl+A: A with its modifier
        {{0x20, 0x01, 0x68}, FunctionName{"keyboard_key_F13", true, 0x01}},
        {{0x20, 0x03, 0x00}, FunctionName{"keyboard_key_LShift", true, 0x01}},  // modifiers alone
        {{0x20, 0x01, 0xFF}, std::nullopt},                                     // no key of ours
        {{0x10, 0x04, 0x99}, FunctionName{"mouse_key_middle"}}, // b1 alone
        {{0x10, 0x40, 0}, std::nullopt},
        {{0x11, 0x23, 0x85}, FunctionName{"mouse_key_right_Swing"}},
        {{0x11, 0x23, 0x05}, FunctionName{"mouse_key_left_Swing"}},
        {{0x12, 0x00, 0xFB}, FunctionName{"mouse_key_down_Swing"}},
        {{0x12, 0x00, 0x05}, FunctionName{"mouse_key_up_Swing"}},
        {{0x13, 3, 0}, FunctionName{"mouse_key_DPI_loop"}},
        {{0x14, 36, 9}, FunctionName{"mouse_key_fire_key"}},
        {{0x30, 0xCD, 0x00}, FunctionName{"media_play"}},
        {{0x21, 0x27, 0x02}, FunctionName{"web_refresh"}},
        {{0x30, 0xCD, 0x01}, std::nullopt},
        {{0x40, 2, 0}, FunctionName{"system_sleep"}},
        {{0x70, 1, 2}, FunctionName{"Combo", false}},
        {{0x71, 0, 9}, FunctionName{"Reload", false}},
        {{0x70, 2, 0}, std::nullopt},                           // past the macro list
        {{0x72, 3, 0}, FunctionName{"GUN_4"}},
        {{0x72, 4, 0}, std::nullopt},
        {{0x15, 1, 1}, std::nullopt}, {{0x50, 1, 1}, std::nullopt}, {{0x60, 1, 1}, std::nullopt},
        {{0xA0, 2, 2}, std::nullopt}, {{0xB0, 1, 1}, std::nullopt}, {{0xC0, 1, 1}, std::nullopt},
        {{0x99, 0, 0}, off}, {{0x01, 0, 0}, off},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << std::hex << int(c.code.type) << ' ' << int(c.code.b1) << ' ' << int(c.code.b2));
        EXPECT_EQ(FunctionLabel(c.code, macros), c.name);
    }
}

TEST(FunctionTable, EditsReadAsClampedNumbers) {
    struct Case { std::string_view text; int limit; int value; std::optional<std::string> replacement; };
    for (const Case& c : {Case{"300", 255, 255, "255"}, Case{"300", 127, 127, "127"}, Case{"16", 15, 15, "15"},
                          Case{"15", 15, 15, std::nullopt}, Case{"12abc", 127, 12, std::nullopt},
                          Case{"abc", 255, 0, std::nullopt}, Case{"", 255, 0, std::nullopt},
                          Case{"-5", 15, 0, "0"}, Case{"99999999999999999999", 255, 255, "255"}}) {
        SCOPED_TRACE(std::string(c.text));
        const EditValue v = ReadEdit(c.text, c.limit);
        EXPECT_EQ(v.value, c.value);
        EXPECT_EQ(v.replacement, c.replacement);
    }
    // Every edit of the panels has its limit; the fire key's first parameter takes a byte.
    std::vector<int> limits;
    for (const auto& row : kEditorEdits) limits.push_back(row.limit);
    EXPECT_EQ(limits, (std::vector<int>{255, 255, 127, 127, 15, 15, 15, 15, 255}));
}

}  // namespace
}  // namespace orvane::functions
