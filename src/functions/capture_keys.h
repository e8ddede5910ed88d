// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keys the key capture takes: every keyboard-page usage 0x04-0xA4 and 0xE0-0xE7 the
// Linux HID driver turns into a key code of its own. A captured key is stored as the code
// {0x20, modifier bits, usage}; the 108 keys of KeyboardKeyList keep their entries and
// names, and the other usages (the ISO key, F13-F24, the Japanese and editing keys, ...)
// are named by ExtraKeyList.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "functions/function_code.h"

namespace orvane::functions {

struct NamedUsage {
    uint8_t usage = 0;
    std::string_view name;  ///< language key
};

/// Keyboard-page usages the capture takes beyond KeyboardKeyList's keys.
inline constexpr std::array<NamedUsage, 33> ExtraKeyList{{
    {0x64, "keyboard_key_102ND"},      {0x67, "keyboard_key_Num ="},      {0x68, "keyboard_key_F13"},
    {0x69, "keyboard_key_F14"},        {0x6A, "keyboard_key_F15"},        {0x6B, "keyboard_key_F16"},
    {0x6C, "keyboard_key_F17"},        {0x6D, "keyboard_key_F18"},        {0x6E, "keyboard_key_F19"},
    {0x6F, "keyboard_key_F20"},        {0x70, "keyboard_key_F21"},        {0x71, "keyboard_key_F22"},
    {0x72, "keyboard_key_F23"},        {0x73, "keyboard_key_F24"},        {0x74, "keyboard_key_Open"},
    {0x75, "keyboard_key_Help"},       {0x76, "keyboard_key_Props"},      {0x77, "keyboard_key_Front"},
    {0x78, "keyboard_key_Stop"},       {0x79, "keyboard_key_Again"},      {0x7A, "keyboard_key_Undo"},
    {0x7B, "keyboard_key_Cut"},        {0x7C, "keyboard_key_Copy"},       {0x7D, "keyboard_key_Paste"},
    {0x7E, "keyboard_key_Find"},       {0x85, "keyboard_key_Num ,"},      {0x88, "keyboard_key_Kana"},
    {0x8A, "keyboard_key_Henkan"},     {0x8B, "keyboard_key_Muhenkan"},   {0x8C, "keyboard_key_Num JP ,"},
    {0x92, "keyboard_key_Katakana"},   {0x93, "keyboard_key_Hiragana"},   {0x94, "keyboard_key_Zenkaku"},
}};

/// The code a key pressed on the real keyboard is stored as; nullopt for key codes no
/// capturable usage gives, and for the media and system keys, which their own lists send
/// (the keyboard-page Mute, Volume and Power usages share their key codes).
std::optional<FunctionCode> CapturedKeyCode(uint16_t linuxKey);

/// The language key naming a captured key's code (type 0x20); nullopt for codes the
/// capture never stores.
std::optional<std::string_view> CapturedKeyName(FunctionCode code);

/// The modifier bit (b1) a modifier key stands for (Ctrl, Shift, Alt, Super on either
/// side), 0 for every other key.
uint8_t ModifierBitOfLinuxKey(uint16_t linuxKey);

/// A keyboard-key code as the keys held down together: the modifiers, then the key. A code
/// of modifiers alone ends with its last modifier, which `modifiers` then leaves out.
struct KeyCombination {
    uint8_t modifiers = 0;  ///< modifier bits named before `key`
    std::string_view key;   ///< language key
};
/// nullopt for codes the capture never stores (other types, usages it does not name).
std::optional<KeyCombination> CombinationOf(FunctionCode code);

/// The language keys of modifier bits, in bit order (left Ctrl first).
std::vector<std::string_view> ModifierNames(uint8_t bits);

/// The usage of a captured key's name (language key) when the key prints a character
/// (letters, digits, punctuation, the ISO key, Ro, Yen), whose cap differs from layout to
/// layout; nullopt for the others.
std::optional<uint8_t> CharacterKeyUsage(std::string_view name);

}  // namespace orvane::functions
