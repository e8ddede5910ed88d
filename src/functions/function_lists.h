// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lists the key and button editors choose from, as data, and the lookups over them.
// Each entry is {key, code, name}: the key is a running index, except in KeyboardKeyList
// where it is the Windows virtual-key code of the key; the name is the language key of the
// entry's text. An entry's position is the item index of its list control on the pages.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "functions/function_code.h"

namespace orvane::functions {

struct ListEntry {
    uint16_t key = 0;
    FunctionCode code;
    std::string_view name;
};

using List = std::span<const ListEntry>;

namespace list_detail {
using namespace code_type;
constexpr ListEntry Mouse(uint16_t i, uint8_t bit, std::string_view name) { return {i, {kMouseButton, bit, 0}, name}; }
constexpr ListEntry Dpi(uint16_t i, uint8_t action, std::string_view name) { return {i, {kDpiAction, action, 0}, name}; }
constexpr ListEntry Consumer(uint16_t key, uint16_t usage, std::string_view name) {
    return {key, {kMedia, static_cast<uint8_t>(usage & 0xFF), static_cast<uint8_t>(usage >> 8)}, name};
}
constexpr ListEntry System(uint16_t key, uint8_t action, std::string_view name) { return {key, {kSystem, action, 0}, name}; }
constexpr ListEntry Key(uint16_t vk, uint8_t usage, std::string_view name) { return {vk, {kKeyboardKey, 0, usage}, name}; }
constexpr ListEntry Modifier(uint16_t vk, uint8_t bit, std::string_view name) { return {vk, {kKeyboardKey, bit, 0}, name}; }
}  // namespace list_detail

inline constexpr std::array<ListEntry, 5> MouseButtonList = [] {
    using namespace list_detail;
    return std::array<ListEntry, 5>{{
        Mouse(0, 0x01, "mouse_key_left"),
        Mouse(1, 0x04, "mouse_key_middle"),
        Mouse(2, 0x02, "mouse_key_right"),
        Mouse(3, 0x10, "mouse_key_forward"),
        Mouse(4, 0x08, "mouse_key_back"),
    }};
}();

/// The direction items of the two swing categories. Their b1, b2 are placeholders: the
/// editor fills them from the amount and nibble edits.
struct SwingLists {
    std::array<ListEntry, 2> horizontal;  ///< 0 left, 1 right
    std::array<ListEntry, 2> vertical;    ///< 0 up, 1 down
};
inline constexpr SwingLists SwingList{
    {{{0, {code_type::kHorizontalSwing, 0xFF, 0xFF}, "mouse_key_left_Swing"},
      {1, {code_type::kHorizontalSwing, 0xFF, 0x01}, "mouse_key_right_Swing"}}},
    {{{0, {code_type::kVerticalSwing, 0x01, 0x01}, "mouse_key_up_Swing"},
      {1, {code_type::kVerticalSwing, 0xFF, 0xFF}, "mouse_key_down_Swing"}}},
};

inline constexpr std::array<ListEntry, 3> DpiActionList = [] {
    using namespace list_detail;
    return std::array<ListEntry, 3>{{
        Dpi(0, 1, "mouse_key_DPI_add"),
        Dpi(1, 2, "mouse_key_DPI_sub"),
        Dpi(2, 3, "mouse_key_DPI_loop"),
    }};
}();

/// The fire key has no list; its name labels every type-0x14 code.
inline constexpr std::string_view kFireKeyName = "mouse_key_fire_key";

/// Media and web keys: HID consumer-page usages.
inline constexpr std::array<ListEntry, 18> MediaList = [] {
    using namespace list_detail;
    return std::array<ListEntry, 18>{{
        Consumer(0, 0x0183, "media_text"),     Consumer(1, 0x00CD, "media_play"),
        Consumer(2, 0x00B7, "media_stop"),     Consumer(3, 0x00B6, "media_prev"),
        Consumer(4, 0x00B5, "media_next"),     Consumer(5, 0x00EA, "media_vol_sub"),
        Consumer(6, 0x00E9, "media_vol_add"),  Consumer(7, 0x00E2, "media_mute"),
        Consumer(8, 0x0223, "web_text"),       Consumer(9, 0x0227, "web_refresh"),
        Consumer(10, 0x0226, "wed_stop"),      Consumer(11, 0x0224, "wed_back"),
        Consumer(12, 0x0225, "wed_forward"),   Consumer(13, 0x022A, "wed_favorite"),
        Consumer(14, 0x0221, "web_search"),    Consumer(15, 0x0194, "media_mypc"),
        Consumer(16, 0x0192, "media_calc"),    Consumer(17, 0x018A, "media_mail"),
    }};
}();

inline constexpr std::array<ListEntry, 3> SystemList = [] {
    using namespace list_detail;
    return std::array<ListEntry, 3>{{
        System(0, 1, "system_power"),
        System(1, 2, "system_sleep"),
        System(2, 4, "system_wake_up"),
    }};
}();

/// The four cursor sequences of the mouse (type 0x72, b1 = 0-3).
inline constexpr std::array<std::string_view, 4> kCursorSequenceNames{"GUN_1", "GUN_2", "GUN_3", "GUN_4"};

/// Virtual-key codes the program gives keys Windows has no code of their own for.
inline constexpr uint16_t kVkKeypadEnter = 0x101;  ///< Windows reports 0x0D with the extended flag
inline constexpr uint16_t kVkShared = 0xFF;        ///< KR and K14; the scan code tells them apart
inline constexpr uint16_t kScanCodeK14 = 0x7D;

inline constexpr size_t kKeyboardKeyCount = 129;
/// Entries 0-107 are keys (type 0x20); 108-125 media and web keys; 126-128 system keys.
inline constexpr size_t kKeyboardKeyEntries = 108;
/// Entries 0-7 are the modifiers, entry n with bit n of b1.
inline constexpr size_t kModifierEntries = 8;

inline constexpr std::array<ListEntry, kKeyboardKeyCount> KeyboardKeyList = [] {
    using namespace list_detail;
    using namespace modifier;
    return std::array<ListEntry, kKeyboardKeyCount>{{
        // 0-7: modifiers
        Modifier(0xA2, kLeftCtrl, "keyboard_key_LCtrl"), Modifier(0xA0, kLeftShift, "keyboard_key_LShift"),
        Modifier(0xA4, kLeftAlt, "keyboard_key_LAlt"), Modifier(0x5B, kLeftWin, "keyboard_key_LWin"),
        Modifier(0xA3, kRightCtrl, "keyboard_key_RCtrl"), Modifier(0xA1, kRightShift, "keyboard_key_RShift"),
        Modifier(0xA5, kRightAlt, "keyboard_key_RAlt"), Modifier(0x5C, kRightWin, "keyboard_key_RWin"),
        // 8-33: letters
        Key(0x41, 0x04, "keyboard_key_A"), Key(0x42, 0x05, "keyboard_key_B"), Key(0x43, 0x06, "keyboard_key_C"),
        Key(0x44, 0x07, "keyboard_key_D"), Key(0x45, 0x08, "keyboard_key_E"), Key(0x46, 0x09, "keyboard_key_F"),
        Key(0x47, 0x0A, "keyboard_key_G"), Key(0x48, 0x0B, "keyboard_key_H"), Key(0x49, 0x0C, "keyboard_key_I"),
        Key(0x4A, 0x0D, "keyboard_key_J"), Key(0x4B, 0x0E, "keyboard_key_K"), Key(0x4C, 0x0F, "keyboard_key_L"),
        Key(0x4D, 0x10, "keyboard_key_M"), Key(0x4E, 0x11, "keyboard_key_N"), Key(0x4F, 0x12, "keyboard_key_O"),
        Key(0x50, 0x13, "keyboard_key_P"), Key(0x51, 0x14, "keyboard_key_Q"), Key(0x52, 0x15, "keyboard_key_R"),
        Key(0x53, 0x16, "keyboard_key_S"), Key(0x54, 0x17, "keyboard_key_T"), Key(0x55, 0x18, "keyboard_key_U"),
        Key(0x56, 0x19, "keyboard_key_V"), Key(0x57, 0x1A, "keyboard_key_W"), Key(0x58, 0x1B, "keyboard_key_X"),
        Key(0x59, 0x1C, "keyboard_key_Y"), Key(0x5A, 0x1D, "keyboard_key_Z"),
        // 34-43: digits 1-9, 0
        Key(0x31, 0x1E, "keyboard_key_1"), Key(0x32, 0x1F, "keyboard_key_2"), Key(0x33, 0x20, "keyboard_key_3"),
        Key(0x34, 0x21, "keyboard_key_4"), Key(0x35, 0x22, "keyboard_key_5"), Key(0x36, 0x23, "keyboard_key_6"),
        Key(0x37, 0x24, "keyboard_key_7"), Key(0x38, 0x25, "keyboard_key_8"), Key(0x39, 0x26, "keyboard_key_9"),
        Key(0x30, 0x27, "keyboard_key_0"),
        // 44-48
        Key(0x0D, 0x28, "keyboard_key_Enter"), Key(0x1B, 0x29, "keyboard_key_Esc"),
        Key(0x08, 0x2A, "keyboard_key_BackSpace"), Key(0x09, 0x2B, "keyboard_key_Tab"),
        Key(0x20, 0x2C, "keyboard_key_Space"),
        // 49-59: punctuation ("xiegang" is the backslash key)
        Key(0xBD, 0x2D, "keyboard_key_-"), Key(0xBB, 0x2E, "keyboard_key_="), Key(0xDB, 0x2F, "keyboard_key_["),
        Key(0xDD, 0x30, "keyboard_key_]"), Key(0xDC, 0x31, "keyboard_key_xiegang"),
        Key(0xBA, 0x33, "keyboard_key_;"), Key(0xDE, 0x34, "keyboard_key_'"), Key(0xC0, 0x35, "keyboard_key_`"),
        Key(0xBC, 0x36, "keyboard_key_<"), Key(0xBE, 0x37, "keyboard_key_."), Key(0xBF, 0x38, "keyboard_key_/"),
        // 60-72: Caps Lock, F1-F12
        Key(0x14, 0x39, "keyboard_key_Caplk"), Key(0x70, 0x3A, "keyboard_key_F1"), Key(0x71, 0x3B, "keyboard_key_F2"),
        Key(0x72, 0x3C, "keyboard_key_F3"), Key(0x73, 0x3D, "keyboard_key_F4"), Key(0x74, 0x3E, "keyboard_key_F5"),
        Key(0x75, 0x3F, "keyboard_key_F6"), Key(0x76, 0x40, "keyboard_key_F7"), Key(0x77, 0x41, "keyboard_key_F8"),
        Key(0x78, 0x42, "keyboard_key_F9"), Key(0x79, 0x43, "keyboard_key_F10"), Key(0x7A, 0x44, "keyboard_key_F11"),
        Key(0x7B, 0x45, "keyboard_key_F12"),
        // 73-85: navigation
        Key(0x2C, 0x46, "keyboard_key_Print Scr"), Key(0x91, 0x47, "keyboard_key_Scroll Lock"),
        Key(0x13, 0x48, "keyboard_key_Pause"), Key(0x2D, 0x49, "keyboard_key_Insert"),
        Key(0x24, 0x4A, "keyboard_key_Home"), Key(0x21, 0x4B, "keyboard_key_Page Up"),
        Key(0x2E, 0x4C, "keyboard_key_Delete"), Key(0x23, 0x4D, "keyboard_key_End"),
        Key(0x22, 0x4E, "keyboard_key_Page Down"), Key(0x27, 0x4F, "keyboard_key_Right"),
        Key(0x25, 0x50, "keyboard_key_Left"), Key(0x28, 0x51, "keyboard_key_Down"), Key(0x26, 0x52, "keyboard_key_Up"),
        // 86-103: numeric pad, App
        Key(0x90, 0x53, "keyboard_key_Num Lock"), Key(0x6F, 0x54, "keyboard_key_Num /"),
        Key(0x6A, 0x55, "keyboard_key_Num *"), Key(0x6D, 0x56, "keyboard_key_Num -"),
        Key(0x6B, 0x57, "keyboard_key_Num +"), Key(kVkKeypadEnter, 0x58, "keyboard_key_Num Enter"),
        Key(0x61, 0x59, "keyboard_key_Num 1"), Key(0x62, 0x5A, "keyboard_key_Num 2"),
        Key(0x63, 0x5B, "keyboard_key_Num 3"), Key(0x64, 0x5C, "keyboard_key_Num 4"),
        Key(0x65, 0x5D, "keyboard_key_Num 5"), Key(0x66, 0x5E, "keyboard_key_Num 6"),
        Key(0x67, 0x5F, "keyboard_key_Num 7"), Key(0x68, 0x60, "keyboard_key_Num 8"),
        Key(0x69, 0x61, "keyboard_key_Num 9"), Key(0x60, 0x62, "keyboard_key_Num 0"),
        Key(0x6E, 0x63, "keyboard_key_Decimal"), Key(0x5D, 0x65, "keyboard_key_App"),
        // 104-107: international keys
        Key(0xE9, 0x91, "keyboard_key_KL"), Key(kVkShared, 0x90, "keyboard_key_KR"),
        Key(0xC1, 0x87, "keyboard_key_K56"), Key(kVkShared, 0x89, "keyboard_key_K14"),
        // 108-125: media and web keys (124 and 125 are the same key)
        Consumer(0xB7, 0x0192, "keyboard_key_Launch App2"), Consumer(0xAC, 0x0223, "keyboard_key_Browaer Home"),
        Consumer(0xB3, 0x00CD, "keyboard_key_Media Play Pause"), Consumer(0xAA, 0x0221, "keyboard_key_Browser Search"),
        Consumer(0xB4, 0x018A, "keyboard_key_Launch Mail"), Consumer(0xAF, 0x00E9, "keyboard_key_Volume Up"),
        Consumer(0xAD, 0x00E2, "keyboard_key_Volume Mute"), Consumer(0xB2, 0x00B7, "keyboard_key_Media Stop"),
        Consumer(0xAE, 0x00EA, "keyboard_key_Volume Down"), Consumer(0xAB, 0x022A, "keyboard_key_Browser Favorites"),
        Consumer(0xA7, 0x0225, "keyboard_key_Browser ForWard"), Consumer(0xA6, 0x0224, "keyboard_key_Browser Back"),
        Consumer(0xB1, 0x00B6, "keyboard_key_Media Prev Track"), Consumer(0xB0, 0x00B5, "keyboard_key_Media Next Track"),
        Consumer(0xB6, 0x0194, "keyboard_key_Computer"), Consumer(0xA8, 0x0227, "keyboard_key_Browser Refresh"),
        Consumer(0xB5, 0x0183, "keyboard_key_Launch Media Select"),
        Consumer(0xB5, 0x0183, "keyboard_key_Launch Media Select"),
        // 126-128: system keys (no keyboard sends these virtual-key codes)
        System(0x103, 1, "keyboard_key_Power"), System(0x104, 2, "keyboard_key_Sleep"),
        System(0x105, 4, "keyboard_key_Wakeup"),
    }};
}();

inline constexpr std::string_view kKeyboardKeyPrefix = "keyboard_key_";

// ---- lookups --------------------------------------------------------------------------------

/// How a list is searched for a stored code: mouse buttons and DPI actions by b1 alone,
/// the other lists by b1 and b2. The type is never compared.
enum class Match : uint8_t { B1, B1B2 };

/// The first entry of `list` matching the code, as its position.
std::optional<size_t> FindInList(List list, FunctionCode code, Match match);

/// The first KeyboardKeyList key (type 0x20) with these modifier bits and usage.
std::optional<size_t> KeyboardKeyByCode(uint8_t modifiers, uint8_t usage);
/// The first KeyboardKeyList entry with this virtual-key code.
std::optional<size_t> KeyboardKeyByVk(uint16_t vk);
/// The entry a key reported by Windows stands for: Enter with the extended flag is the
/// keypad Enter, and the shared code 0xFF with scan code 0x7D is K14 rather than KR.
std::optional<size_t> KeyboardKeyFromWindowsKey(uint16_t vk, uint16_t scanCode, bool extended);

/// The language key of a KeyboardKeyList entry without "keyboard_key_" ("Num Enter").
std::string_view KeyboardKeySuffix(size_t entry);

}  // namespace orvane::functions
