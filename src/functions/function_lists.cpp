// SPDX-License-Identifier: GPL-3.0-or-later
#include "functions/function_lists.h"

namespace orvane::functions {

std::optional<size_t> FindInList(List list, FunctionCode code, Match match) {
    for (size_t i = 0; i < list.size(); ++i) {
        const FunctionCode& entry = list[i].code;
        if (entry.b1 == code.b1 && (match == Match::B1 || entry.b2 == code.b2)) return i;
    }
    return std::nullopt;
}

std::optional<size_t> KeyboardKeyByCode(uint8_t modifiers, uint8_t usage) {
    // Only the keys: a media entry's usage bytes must not pass for modifier bits.
    return FindInList(List(KeyboardKeyList).first(kKeyboardKeyEntries), {code_type::kKeyboardKey, modifiers, usage},
                      Match::B1B2);
}

std::optional<size_t> KeyboardKeyByVk(uint16_t vk) {
    for (size_t i = 0; i < KeyboardKeyList.size(); ++i)
        if (KeyboardKeyList[i].key == vk) return i;
    return std::nullopt;
}

std::optional<size_t> KeyboardKeyFromWindowsKey(uint16_t vk, uint16_t scanCode, bool extended) {
    constexpr uint16_t kVkReturn = 0x0D;
    if (vk == kVkReturn && extended) vk = kVkKeypadEnter;
    auto entry = KeyboardKeyByVk(vk);
    // The first entry of the shared code is KR; K14 sits two places further on. Only that
    // code takes the step, so no other key can land on a neighbour.
    if (entry && vk == kVkShared && scanCode == kScanCodeK14) *entry += 2;
    return entry;
}

std::string_view KeyboardKeySuffix(size_t entry) {
    std::string_view name = KeyboardKeyList[entry].name;
    if (name.starts_with(kKeyboardKeyPrefix)) name.remove_prefix(kKeyboardKeyPrefix.size());
    return name;
}

}  // namespace orvane::functions
