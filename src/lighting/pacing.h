// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Frame pacing of the four animation workers: how long each sleeps before a tick and what
// the effects add. Pure numbers; the workers do the sleeping.

#include <cstdint>

#include "keyboard/keyboard_model.h"

namespace orvane::lighting {

/// Once, before the first frame a worker sends to its device (until then its frames go to
/// the preview only).
inline constexpr uint32_t kKeyboardStartWaitMs = 1000;
inline constexpr uint32_t kMouseStartWaitMs = 3000;
inline constexpr uint32_t kPadStartWaitMs = 3000;
/// Extra sleep of a device worker while its device is not connected.
inline constexpr uint32_t kAbsentDeviceWaitMs = 100;
/// The synchronised worker's sleep while none of the three devices is connected.
inline constexpr uint32_t kSyncNoDeviceWaitMs = 1000;

/// A tick's timing: sleep `tickMs`, check the device and its sync flag, sleep `extraMs`
/// (the effect's own wait), render and send.
struct TickTiming {
    uint32_t tickMs = 0;
    uint32_t extraMs = 0;
};

/// Keyboard: the tick delay of the speed (a speed past the table, copied from the
/// mousepad's 0-14 range by same mode, counts as the slowest); RGB ripple +40 ms, RGB
/// twinkle +100 ms, single-colour ripple +40, twinkle +100 and rings +10.
TickTiming KeyboardTiming(keyboard::KeyboardVariant variant, uint8_t mode, uint8_t speed);
/// Mouse: 2·speed + 3 ms, then 10·speed ms; ripple +50 ms; blink and mode 8 +200 ms.
TickTiming MouseTiming(uint8_t mode, uint8_t speed);
/// Mousepad: 9 + 4·speed ms; sweep +10·speed + 100; ripple +50; fill and empty +5·speed + 50.
TickTiming PadTiming(uint8_t mode, uint8_t speed);

/// The synchronised worker: 4·speed ms per cycle; then the frames in the order keyboard,
/// mouse, mousepad, with a sleep in place of each device that is skipped; then the
/// effect's sleep after sending.
uint32_t SyncCycleMs(uint8_t speed);
struct SyncSkipSleeps {
    uint32_t keyboardMs = 0;
    uint32_t mouseMs = 0;
    uint32_t padMs = 0;
    uint32_t afterSendMs = 0;
};
SyncSkipSleeps SyncSleeps(uint8_t mode);

}  // namespace orvane::lighting
