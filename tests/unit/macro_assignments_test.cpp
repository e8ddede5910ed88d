// SPDX-License-Identifier: GPL-3.0-or-later
// Deleting a macro renumbers the keys and buttons that use macros: the deleted macro's keys
// get their own codes back, later macros move down by one, in every bank and page.

#include <gtest/gtest.h>

#include "macros/macro_assignments.h"
#include "functions/function_code.h"

namespace orvane::macros {
namespace {

using keyboard::KeyCode;
using namespace functions::code_type;

TEST(MacroAssignments, KeyboardKeysOfEveryBankFollowTheDelete) {
    keyboard::NativeKeyTable native;
    for (size_t key = 0; key < keyboard::kMaxKeyCount; ++key) native.setCode(key, {0x20, 0, uint8_t(4 + key % 100)});
    keyboard::KeyAssignmentBanks banks{};
    // Bank b: key 0 macro 0, key 1 macro 1 (repeated 3 times), key 2 macro 2, key 169 macro 1,
    // key 3 a cursor sequence 1 and key 4 a plain key whose b1 happens to be 1.
    for (size_t b = 0; b < banks.size(); ++b) {
        banks[b].setCode(0, {kMacro, 0, 2});
        banks[b].setCode(1, {kMacroRepeat, 1, 3});
        banks[b].setCode(2, {kMacro, 2, uint8_t(b)});
        banks[b].setCode(169, {kMacro, 1, 0});
        banks[b].setCode(3, {kCursorSequence, 1, 0});
        banks[b].setCode(4, {0x20, 1, 0x04});
    }
    EXPECT_TRUE(MacroInUse(banks, 1));
    EXPECT_FALSE(MacroInUse(banks, 3));

    EXPECT_EQ(RenumberMacroAssignments(banks, native, 1), 3u * banks.size());
    for (size_t b = 0; b < banks.size(); ++b) {
        SCOPED_TRACE(b);
        EXPECT_EQ(banks[b].code(0), (KeyCode{kMacro, 0, 2}));
        EXPECT_EQ(banks[b].code(1), native.code(1));
        EXPECT_EQ(banks[b].code(2), (KeyCode{kMacro, 1, uint8_t(b)}));
        EXPECT_EQ(banks[b].code(169), native.code(169));
        EXPECT_EQ(banks[b].code(3), (KeyCode{kCursorSequence, 1, 0}));
        EXPECT_EQ(banks[b].code(4), (KeyCode{0x20, 1, 0x04}));
    }
    EXPECT_FALSE(MacroInUse(banks, 2));
}

TEST(MacroAssignments, MouseButtonsOfEveryPageAndTheBanksEachPageCarries) {
    mouse::MouseDefaultKeys defaults;
    for (size_t i = 0; i < 9; ++i) defaults.bytes[3 * i] = 0x10, defaults.bytes[3 * i + 1] = uint8_t(1 << i);
    // One key memory seen through five overlapping pages: page p at p x 126.
    std::vector<uint8_t> memory(4 * 126 + 512, 0);
    const auto put = [&](size_t bank, size_t button, uint8_t type, uint8_t b1) {
        memory[bank * 126 + 3 * button] = type;
        memory[bank * 126 + 3 * button + 1] = b1;
        memory[bank * 126 + 3 * button + 2] = 7;
    };
    // Macros 1, 2 and 3 in use (deleting 2): bank b's button b uses macro 2, button 5 macro 3,
    // button 0 macro 1; bank 4's button 2 (cut by page 0's end after its index) macro 3.
    for (size_t bank = 0; bank < 5; ++bank) {
        put(bank, 0, kMacro, 1);
        put(bank, bank, kMacroRepeat, 2);
        put(bank, 5, kMacro, 3);
    }
    put(4, 2, kMacro, 3);
    const auto pagesOf = [](const std::vector<uint8_t>& m) {
        mouse::MouseKeyPages pages{};
        for (size_t p = 0; p < 5; ++p) std::copy_n(m.begin() + std::ptrdiff_t(p * 126), 512, pages[p].bytes.begin());
        return pages;
    };
    mouse::MouseKeyPages pages = pagesOf(memory);
    EXPECT_TRUE(MacroInUse(pages, 2));
    RenumberMacroAssignments(pages, defaults, 2);

    std::vector<uint8_t> expected = memory;
    for (size_t bank = 0; bank < 5; ++bank) {
        std::copy_n(defaults.bytes.begin() + std::ptrdiff_t(3 * bank), 3, expected.begin() + std::ptrdiff_t(bank * 126 + 3 * bank));
        expected[bank * 126 + 3 * 5 + 1] = 2;  // macro 3 became 2
    }
    expected[4 * 126 + 3 * 2 + 1] = 2;
    const auto wanted = pagesOf(expected);
    for (size_t p = 0; p < 5; ++p) {
        SCOPED_TRACE(p);
        // Every button of every bank the page carries follows the delete, so whichever page
        // is written, the device's key memory gets the same codes.
        EXPECT_EQ(pages[p], wanted[p]);
    }
    EXPECT_FALSE(MacroInUse(pages, 3));
}

}  // namespace
}  // namespace orvane::macros
