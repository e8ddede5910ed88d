// SPDX-License-Identifier: GPL-3.0-or-later
#include "functions/linux_keys.h"

#include <linux/input-event-codes.h>

#include <array>
#include <bit>

#include "functions/function_lists.h"

namespace orvane::functions {

namespace {

using Page = HidUsage::Page;

/// Keyboard page (0x07): usage -> Linux key code, as the Linux HID input driver maps it
/// (0 where it maps no key).
constexpr std::array<uint8_t, 256> kKeyboardPage{
    0,   0,   0,   0,   30,  48,  46,  32,  18,  33,  34,  35,  23,  36,  37,  38,   // 0x00
    50,  49,  24,  25,  16,  19,  31,  20,  22,  47,  17,  45,  21,  44,  2,   3,    // 0x10
    4,   5,   6,   7,   8,   9,   10,  11,  28,  1,   14,  15,  57,  12,  13,  26,   // 0x20
    27,  43,  43,  39,  40,  41,  51,  52,  53,  58,  59,  60,  61,  62,  63,  64,   // 0x30
    65,  66,  67,  68,  87,  88,  99,  70,  119, 110, 102, 104, 111, 107, 109, 106,  // 0x40
    105, 108, 103, 69,  98,  55,  74,  78,  96,  79,  80,  81,  75,  76,  77,  71,   // 0x50
    72,  73,  82,  83,  86,  127, 116, 117, 183, 184, 185, 186, 187, 188, 189, 190,  // 0x60
    191, 192, 193, 194, 134, 138, 130, 132, 128, 129, 131, 137, 133, 135, 136, 113,  // 0x70
    115, 114, 0,   0,   0,   121, 0,   89,  93,  124, 92,  94,  95,  0,   0,   0,    // 0x80
    122, 123, 90,  91,  85,  0,   0,   0,   0,   0,   0,   0,   111, 0,   0,   0,    // 0x90
    0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,    // 0xA0
    0,   0,   0,   0,   0,   0,   179, 180, 0,   0,   0,   0,   0,   0,   0,   0,    // 0xB0
    0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,    // 0xC0
    0,   0,   0,   0,   0,   0,   0,   0,   111, 0,   0,   0,   0,   0,   0,   0,    // 0xD0
    29,  42,  56,  125, 97,  54,  100, 126, 164, 166, 165, 163, 161, 115, 114, 113,  // 0xE0
    150, 158, 159, 128, 136, 177, 178, 176, 142, 152, 173, 140, 0,   0,   0,   0,    // 0xF0
};

struct UsageKey {
    uint16_t usage;
    uint16_t code;
};

/// Consumer page (0x0C): the usages of the media and web keys.
constexpr std::array<UsageKey, 18> kConsumerPage{{
    {0x0183, KEY_CONFIG},   {0x00CD, KEY_PLAYPAUSE},    {0x00B7, KEY_STOPCD},   {0x00B6, KEY_PREVIOUSSONG},
    {0x00B5, KEY_NEXTSONG}, {0x00EA, KEY_VOLUMEDOWN},   {0x00E9, KEY_VOLUMEUP}, {0x00E2, KEY_MUTE},
    {0x0223, KEY_HOMEPAGE}, {0x0227, KEY_REFRESH},      {0x0226, KEY_STOP},     {0x0224, KEY_BACK},
    {0x0225, KEY_FORWARD},  {0x022A, KEY_BOOKMARKS},    {0x0221, KEY_SEARCH},   {0x0194, KEY_FILE},
    {0x0192, KEY_CALC},     {0x018A, KEY_MAIL},
}};

/// Generic desktop page (0x01): the system control keys.
constexpr std::array<UsageKey, 3> kSystemControls{{{0x81, KEY_POWER}, {0x82, KEY_SLEEP}, {0x83, KEY_WAKEUP}}};

/// System key action (b1 of a type-0x40 code) <-> its generic desktop usage.
constexpr uint16_t SystemUsageOfAction(uint8_t action) {
    return action == 1 ? 0x81 : action == 2 ? 0x82 : action == 4 ? 0x83 : 0;
}

constexpr uint8_t kFirstModifierUsage = 0xE0;

template <size_t N>
std::optional<uint16_t> UsageOf(const std::array<UsageKey, N>& table, uint16_t code) {
    for (const auto& row : table)
        if (row.code == code) return row.usage;
    return std::nullopt;
}

template <size_t N>
uint16_t CodeOf(const std::array<UsageKey, N>& table, uint16_t usage) {
    for (const auto& row : table)
        if (row.usage == usage) return row.code;
    return 0;
}

std::optional<size_t> EntryOfUsage(HidUsage wanted) {
    for (size_t i = 0; i < KeyboardKeyList.size(); ++i)
        if (UsageOfEntry(i) == wanted) return i;
    return std::nullopt;
}

}  // namespace

HidUsage UsageOfEntry(size_t entry) {
    const FunctionCode code = KeyboardKeyList[entry].code;
    switch (code.type) {
    case code_type::kKeyboardKey:
        if (code.b2 == 0 && std::has_single_bit(code.b1))
            return {Page::Keyboard, static_cast<uint16_t>(kFirstModifierUsage + std::countr_zero(code.b1))};
        return {Page::Keyboard, code.b2};
    case code_type::kMedia: return {Page::Consumer, static_cast<uint16_t>(code.b1 | (code.b2 << 8))};
    case code_type::kSystem: return {Page::GenericDesktop, SystemUsageOfAction(code.b1)};
    default: return {};
    }
}

uint16_t LinuxKeyOfUsage(HidUsage usage) {
    switch (usage.page) {
    case Page::Keyboard: return usage.usage < kKeyboardPage.size() ? kKeyboardPage[usage.usage] : 0;
    case Page::Consumer: return CodeOf(kConsumerPage, usage.usage);
    case Page::GenericDesktop: return CodeOf(kSystemControls, usage.usage);
    }
    return 0;
}

std::optional<HidUsage> UsageOfLinuxKey(uint16_t code) {
    if (code == 0) return std::nullopt;
    for (size_t usage = 0; usage < kKeyboardPage.size(); ++usage)
        if (kKeyboardPage[usage] == code) return HidUsage{Page::Keyboard, static_cast<uint16_t>(usage)};
    if (auto usage = UsageOf(kConsumerPage, code)) return HidUsage{Page::Consumer, *usage};
    if (auto usage = UsageOf(kSystemControls, code)) return HidUsage{Page::GenericDesktop, *usage};
    return std::nullopt;
}

std::optional<size_t> KeyboardKeyByLinuxKey(uint16_t code) {
    if (code == 0) return std::nullopt;
    // The keyboard page first: the volume keys of the keyboard page share their codes with
    // the consumer page's, and only the consumer usages have entries.
    for (size_t usage = 0; usage < kKeyboardPage.size(); ++usage) {
        if (kKeyboardPage[usage] != code) continue;
        if (auto entry = EntryOfUsage({Page::Keyboard, static_cast<uint16_t>(usage)})) return entry;
        break;  // the lowest usage of the code names the key
    }
    if (auto usage = UsageOf(kConsumerPage, code)) return EntryOfUsage({Page::Consumer, *usage});
    if (auto usage = UsageOf(kSystemControls, code)) return EntryOfUsage({Page::GenericDesktop, *usage});
    return std::nullopt;
}

bool IsExtendedKey(uint16_t code) {
    switch (code) {
    case KEY_KPENTER: case KEY_RIGHTCTRL: case KEY_RIGHTALT: case KEY_KPSLASH: case KEY_SYSRQ:
    case KEY_NUMLOCK: case KEY_INSERT: case KEY_DELETE: case KEY_HOME: case KEY_END:
    case KEY_PAGEUP: case KEY_PAGEDOWN: case KEY_UP: case KEY_DOWN: case KEY_LEFT: case KEY_RIGHT:
    case KEY_LEFTMETA: case KEY_RIGHTMETA: case KEY_COMPOSE:
        return true;
    default:
        return false;
    }
}

}  // namespace orvane::functions
