// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The effects each device model offers and which parameters of the lighting choice each one
// takes (speed, direction, a colour, the seven-colour cycle, brightness): one table for the
// lighting pages, the OpenRGB SDK's modes and anything else that asks. Modes with no name of
// their own, the custom per-key layers and the modes that send no frames are not listed.

#include <cstdint>
#include <span>
#include <string_view>

#include "device/models.h"

namespace orvane::lighting {

struct EffectParams {
    std::string_view name;
    uint8_t mode;  ///< the device's mode byte (record byte 1)
    bool speed, direction, colour, sevenColour, brightness;
};

std::span<const EffectParams> EffectsOf(device::DeviceModel model);
/// The effect with that mode byte, or null.
const EffectParams* EffectOf(device::DeviceModel model, uint8_t mode);

}  // namespace orvane::lighting
