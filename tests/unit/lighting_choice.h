// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A lighting choice for the effect tests, in the order the tests vary its fields.

#include <cstdint>

#include "lighting/frame.h"

namespace orvane::testing {

inline lighting::LightingChoice Choice(uint8_t mode, uint8_t brightness = 4, uint8_t direction = 1, uint8_t seven = 0,
                                       lighting::Rgb colour = {255, 255, 255}, uint8_t speed = 0) {
    return {mode, brightness, speed, direction, seven, colour};
}

}  // namespace orvane::testing
