// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Key identity on Linux. A key arrives as a Linux input key code ("evdev" code; X11 and xkb
// keycodes are that code + 8). Every KeyboardKeyList entry names the HID usage its key
// sends; the Linux HID driver turns usages into key codes by a fixed table, and this file
// holds that table, so a key code leads back to the usage and from there to the entry.
// That keeps the keypad Enter (usage 0x58) apart from the main Enter (0x28), and the
// international keys (0x87, 0x89, 0x90, 0x91) on their own entries.

#include <cstddef>
#include <cstdint>
#include <optional>

namespace orvane::functions {

/// X11 and xkb (Wayland) keycodes are the Linux key code plus this.
inline constexpr uint16_t kXkbKeycodeOffset = 8;

/// A usage on one of the three HID usage pages the lists draw from.
struct HidUsage {
    enum class Page : uint8_t { Keyboard = 0x07, Consumer = 0x0C, GenericDesktop = 0x01 };
    Page page = Page::Keyboard;
    uint16_t usage = 0;
    friend bool operator==(const HidUsage&, const HidUsage&) = default;
};

/// The usage the key of a KeyboardKeyList entry sends (modifiers: usages 0xE0-0xE7).
HidUsage UsageOfEntry(size_t entry);
/// The Linux key code the HID driver reports for a usage; 0 when it maps none.
uint16_t LinuxKeyOfUsage(HidUsage usage);
/// The usage a Linux key code comes from; several usages share some codes, and the lowest
/// usage of the keyboard page wins (0x31 over 0x32 for the backslash key).
std::optional<HidUsage> UsageOfLinuxKey(uint16_t code);

/// The KeyboardKeyList entry of a Linux key code: a key (0-107) through its keyboard-page
/// usage, else a media, web or system entry through its consumer or system usage.
std::optional<size_t> KeyboardKeyByLinuxKey(uint16_t code);

/// Keys Windows marks with its extended-key flag (the keypad Enter among them), for
/// records that carry the flag.
bool IsExtendedKey(uint16_t code);

}  // namespace orvane::functions
