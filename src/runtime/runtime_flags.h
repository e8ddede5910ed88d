// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The run-time flags the presence monitors keep for the rest of the program. Which keyboard
// and mouse models were found is in their models; these are the others.

#include <atomic>
#include <cstdint>

namespace orvane::runtime {

struct RuntimeFlags {
    enum KeyboardKind : int { NoKeyboard = 0, RgbKeyboard = 1, SingleColourKeyboard = 2 };
    std::atomic<int> keyboardKind{NoKeyboard};
    std::atomic<uint16_t> keyboardVersion{0};  ///< HID version number of the keyboard's interface
    std::atomic<bool> mousePresent{false};
};

}  // namespace orvane::runtime
