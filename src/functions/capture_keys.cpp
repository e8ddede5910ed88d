// SPDX-License-Identifier: GPL-3.0-or-later
#include "functions/capture_keys.h"

#include "functions/function_lists.h"
#include "functions/linux_keys.h"

namespace orvane::functions {

namespace {

std::optional<std::string_view> ExtraKeyName(uint16_t usage) {
    for (const auto& key : ExtraKeyList)
        if (key.usage == usage) return key.name;
    return std::nullopt;
}

}  // namespace

std::optional<FunctionCode> CapturedKeyCode(uint16_t linuxKey) {
    if (const auto entry = KeyboardKeyByLinuxKey(linuxKey)) {
        const FunctionCode code = KeyboardKeyList[*entry].code;
        if (code.type == code_type::kKeyboardKey) return code;
        return std::nullopt;  // a media or system key
    }
    const auto usage = UsageOfLinuxKey(linuxKey);
    if (!usage || usage->page != HidUsage::Page::Keyboard || !ExtraKeyName(usage->usage)) return std::nullopt;
    return FunctionCode{code_type::kKeyboardKey, 0, static_cast<uint8_t>(usage->usage)};
}

std::optional<std::string_view> CapturedKeyName(FunctionCode code) {
    if (code.type != code_type::kKeyboardKey) return std::nullopt;
    if (const auto entry = KeyboardKeyByCode(code.b1, code.b2)) return KeyboardKeyList[*entry].name;
    if (code.b1 != 0) return std::nullopt;
    return ExtraKeyName(code.b2);
}

uint8_t ModifierBitOfLinuxKey(uint16_t linuxKey) {
    const auto entry = KeyboardKeyByLinuxKey(linuxKey);
    if (!entry || *entry >= kModifierEntries) return 0;
    return KeyboardKeyList[*entry].code.b1;
}

std::optional<KeyCombination> CombinationOf(FunctionCode code) {
    if (code.type != code_type::kKeyboardKey) return std::nullopt;
    if (code.b2 != 0) {
        const auto key = CapturedKeyName({code.type, 0, code.b2});
        if (!key) return std::nullopt;
        return KeyCombination{code.b1, *key};
    }
    if (code.b1 == 0) return std::nullopt;
    size_t last = kModifierEntries - 1;
    while (!(code.b1 & (1u << last))) --last;
    return KeyCombination{static_cast<uint8_t>(code.b1 & ~(1u << last)), KeyboardKeyList[last].name};
}

std::vector<std::string_view> ModifierNames(uint8_t bits) {
    std::vector<std::string_view> names;
    for (size_t bit = 0; bit < kModifierEntries; ++bit)
        if (bits & (1u << bit)) names.push_back(KeyboardKeyList[bit].name);
    return names;
}

std::optional<uint8_t> CharacterKeyUsage(std::string_view name) {
    auto prints = [](uint8_t usage) {
        return (usage >= 0x04 && usage <= 0x27) || (usage >= 0x2D && usage <= 0x38) || usage == 0x64 ||
               usage == 0x87 || usage == 0x89;
    };
    for (size_t i = 0; i < kKeyboardKeyEntries; ++i) {
        const auto& entry = KeyboardKeyList[i];
        if (entry.name == name && entry.code.b1 == 0 && prints(entry.code.b2)) return entry.code.b2;
    }
    for (const auto& key : ExtraKeyList)
        if (key.name == name && prints(key.usage)) return key.usage;
    return std::nullopt;
}

}  // namespace orvane::functions
