// SPDX-License-Identifier: GPL-3.0-or-later
// Frame pacing numbers of the animation workers.

#include "lighting/pacing.h"

#include <algorithm>

#include "lighting/level_tables.h"

namespace orvane::lighting {

TickTiming KeyboardTiming(keyboard::KeyboardVariant variant, uint8_t mode, uint8_t speed) {
    TickTiming t{kTickDelay[std::min<size_t>(speed, kTickDelay.size() - 1)], 0};
    if (variant == keyboard::KeyboardVariant::Rgb) {
        if (mode == 9) t.extraMs = 40;
        else if (mode == 12) t.extraMs = 100;
    } else {
        if (mode == 4) t.extraMs = 40;
        else if (mode == 7) t.extraMs = 100;
        else if (mode == 13) t.extraMs = 10;
    }
    return t;
}

TickTiming MouseTiming(uint8_t mode, uint8_t speed) {
    TickTiming t{uint32_t(2 * speed + 3 + 10 * speed), 0};
    if (mode == 4) t.extraMs = 50;
    else if (mode == 6 || mode == 7 || mode == 8) t.extraMs = 200;
    return t;
}

TickTiming PadTiming(uint8_t mode, uint8_t speed) {
    TickTiming t{uint32_t(9 + 4 * speed), 0};
    if (mode == 4) t.extraMs = uint32_t(10 * speed + 100);
    else if (mode == 5) t.extraMs = 50;
    else if (mode == 7) t.extraMs = uint32_t(5 * speed + 50);
    return t;
}

uint32_t SyncCycleMs(uint8_t speed) { return uint32_t(4 * speed); }

SyncSkipSleeps SyncSleeps(uint8_t mode) {
    switch (mode) {
    case 0: return {6, 1, 1, 5};
    case 1: return {8, 1, 1, 0};
    case 2: return {6, 1, 1, 0};
    case 3: return {9, 1, 1, 6};
    default: return {};
    }
}

}  // namespace orvane::lighting
