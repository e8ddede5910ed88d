// SPDX-License-Identifier: GPL-3.0-or-later
// Key identity on Linux: every key of a standard 105-key keyboard, of a Japanese and of a
// Korean keyboard, as the Linux input layer reports it, finds the entry of the key it is;
// together they reach every one of the 108 keys of the list.
#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

#include <set>
#include <span>
#include <string_view>

#include "functions/function_lists.h"
#include "functions/linux_keys.h"

namespace orvane::functions {
namespace {

struct KeyRow {
    uint16_t code;
    std::string_view suffix;  ///< the entry's name without "keyboard_key_"; "" = no entry
};

// The 105 keys of an ISO keyboard (the ANSI 104 and the key left of Z, which the list has
// no entry for; the ISO key left of Enter sends the backslash key's code).
constexpr KeyRow kIso105[] = {
    {KEY_ESC, "Esc"}, {KEY_F1, "F1"}, {KEY_F2, "F2"}, {KEY_F3, "F3"}, {KEY_F4, "F4"}, {KEY_F5, "F5"},
    {KEY_F6, "F6"}, {KEY_F7, "F7"}, {KEY_F8, "F8"}, {KEY_F9, "F9"}, {KEY_F10, "F10"}, {KEY_F11, "F11"},
    {KEY_F12, "F12"}, {KEY_SYSRQ, "Print Scr"}, {KEY_SCROLLLOCK, "Scroll Lock"}, {KEY_PAUSE, "Pause"},
    {KEY_GRAVE, "`"}, {KEY_1, "1"}, {KEY_2, "2"}, {KEY_3, "3"}, {KEY_4, "4"}, {KEY_5, "5"}, {KEY_6, "6"},
    {KEY_7, "7"}, {KEY_8, "8"}, {KEY_9, "9"}, {KEY_0, "0"}, {KEY_MINUS, "-"}, {KEY_EQUAL, "="},
    {KEY_BACKSPACE, "BackSpace"}, {KEY_TAB, "Tab"}, {KEY_Q, "Q"}, {KEY_W, "W"}, {KEY_E, "E"}, {KEY_R, "R"},
    {KEY_T, "T"}, {KEY_Y, "Y"}, {KEY_U, "U"}, {KEY_I, "I"}, {KEY_O, "O"}, {KEY_P, "P"},
    {KEY_LEFTBRACE, "["}, {KEY_RIGHTBRACE, "]"}, {KEY_BACKSLASH, "xiegang"}, {KEY_CAPSLOCK, "Caplk"},
    {KEY_A, "A"}, {KEY_S, "S"}, {KEY_D, "D"}, {KEY_F, "F"}, {KEY_G, "G"}, {KEY_H, "H"}, {KEY_J, "J"},
    {KEY_K, "K"}, {KEY_L, "L"}, {KEY_SEMICOLON, ";"}, {KEY_APOSTROPHE, "'"}, {KEY_ENTER, "Enter"},
    {KEY_LEFTSHIFT, "LShift"}, {KEY_102ND, ""}, {KEY_Z, "Z"}, {KEY_X, "X"}, {KEY_C, "C"}, {KEY_V, "V"},
    {KEY_B, "B"}, {KEY_N, "N"}, {KEY_M, "M"}, {KEY_COMMA, "<"}, {KEY_DOT, "."}, {KEY_SLASH, "/"},
    {KEY_RIGHTSHIFT, "RShift"}, {KEY_LEFTCTRL, "LCtrl"}, {KEY_LEFTMETA, "LWin"}, {KEY_LEFTALT, "LAlt"},
    {KEY_SPACE, "Space"}, {KEY_RIGHTALT, "RAlt"}, {KEY_RIGHTMETA, "RWin"}, {KEY_COMPOSE, "App"},
    {KEY_RIGHTCTRL, "RCtrl"}, {KEY_INSERT, "Insert"}, {KEY_HOME, "Home"}, {KEY_PAGEUP, "Page Up"},
    {KEY_DELETE, "Delete"}, {KEY_END, "End"}, {KEY_PAGEDOWN, "Page Down"}, {KEY_UP, "Up"},
    {KEY_LEFT, "Left"}, {KEY_DOWN, "Down"}, {KEY_RIGHT, "Right"}, {KEY_NUMLOCK, "Num Lock"},
    {KEY_KPSLASH, "Num /"}, {KEY_KPASTERISK, "Num *"}, {KEY_KPMINUS, "Num -"}, {KEY_KP7, "Num 7"},
    {KEY_KP8, "Num 8"}, {KEY_KP9, "Num 9"}, {KEY_KPPLUS, "Num +"}, {KEY_KP4, "Num 4"}, {KEY_KP5, "Num 5"},
    {KEY_KP6, "Num 6"}, {KEY_KP1, "Num 1"}, {KEY_KP2, "Num 2"}, {KEY_KP3, "Num 3"},
    {KEY_KPENTER, "Num Enter"}, {KEY_KP0, "Num 0"}, {KEY_KPDOT, "Decimal"},
};

// What a Japanese keyboard adds (its Hankaku/Zenkaku key sends the grave key's code), and
// the two keys of a Korean keyboard.
constexpr KeyRow kJapaneseAndKorean[] = {
    {KEY_RO, "K56"}, {KEY_YEN, "K14"}, {KEY_HENKAN, ""}, {KEY_MUHENKAN, ""}, {KEY_KATAKANAHIRAGANA, ""},
    {KEY_GRAVE, "`"}, {KEY_HANGEUL, "KR"}, {KEY_HANJA, "KL"},
};

// Media, web and system keys find their own entries, which the capture then refuses.
constexpr KeyRow kMediaAndSystem[] = {
    {KEY_PLAYPAUSE, "Media Play Pause"}, {KEY_VOLUMEUP, "Volume Up"}, {KEY_MUTE, "Volume Mute"},
    {KEY_CONFIG, "Launch Media Select"}, {KEY_FILE, "Computer"}, {KEY_CALC, "Launch App2"},
    {KEY_HOMEPAGE, "Browaer Home"}, {KEY_POWER, "Power"}, {KEY_WAKEUP, "Wakeup"}, {KEY_STOP, ""},
};

std::string_view SuffixOf(uint16_t code) {
    const auto entry = KeyboardKeyByLinuxKey(code);
    return entry ? KeyboardKeySuffix(*entry) : std::string_view();
}

TEST(LinuxKeys, EveryKeyOfTheKeyboardsFindsItsEntry) {
    EXPECT_EQ(std::size(kIso105), 105u);
    std::set<size_t> reached;
    for (const std::span<const KeyRow> keyboard : {std::span<const KeyRow>(kIso105), std::span<const KeyRow>(kJapaneseAndKorean)}) {
        for (const KeyRow& row : keyboard) {
            SCOPED_TRACE(row.code);
            EXPECT_EQ(SuffixOf(row.code), row.suffix);
            if (const auto entry = KeyboardKeyByLinuxKey(row.code)) reached.insert(*entry);
        }
    }
    for (const auto& row : kMediaAndSystem) {
        SCOPED_TRACE(row.code);
        EXPECT_EQ(SuffixOf(row.code), row.suffix);
    }
    // Every key of the list (entries 0-107) is reachable from a real keyboard.
    for (size_t entry = 0; entry < kKeyboardKeyEntries; ++entry)
        EXPECT_TRUE(reached.count(entry)) << KeyboardKeyList[entry].name;
    EXPECT_EQ(reached.size(), kKeyboardKeyEntries);
}

TEST(LinuxKeys, KeypadEnterAndTheInternationalKeysStayApart) {
    EXPECT_EQ(UsageOfLinuxKey(KEY_ENTER), (HidUsage{HidUsage::Page::Keyboard, 0x28}));
    EXPECT_EQ(UsageOfLinuxKey(KEY_KPENTER), (HidUsage{HidUsage::Page::Keyboard, 0x58}));
    EXPECT_EQ(UsageOfLinuxKey(KEY_BACKSLASH), (HidUsage{HidUsage::Page::Keyboard, 0x31}));  // not 0x32
    EXPECT_EQ(UsageOfLinuxKey(KEY_PLAYPAUSE), (HidUsage{HidUsage::Page::Keyboard, 0xE8}));
    EXPECT_EQ(UsageOfLinuxKey(0), std::nullopt);
    struct Case { uint16_t usage; uint16_t code; };
    for (const Case& c : {Case{0x87, KEY_RO}, Case{0x89, KEY_YEN}, Case{0x90, KEY_HANGEUL}, Case{0x91, KEY_HANJA}}) {
        EXPECT_EQ(LinuxKeyOfUsage({HidUsage::Page::Keyboard, c.usage}), c.code);
    }
    EXPECT_TRUE(IsExtendedKey(KEY_KPENTER));
    EXPECT_FALSE(IsExtendedKey(KEY_ENTER));
    EXPECT_EQ(KeyboardKeyByLinuxKey(0), std::nullopt);
    EXPECT_EQ(KeyboardKeyByLinuxKey(KEY_MAX), std::nullopt);
}

}  // namespace
}  // namespace orvane::functions
