// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Our devices as SDK controllers, built from the project's own tables: the model rows
// (name, kind, LED count), the keyboard's lighting grid, LED slots and key names, and the
// effect list of each model. The first mode is always "Direct" (the client sets every LED);
// the others are the device's own effects with the parameters each one takes.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "device/models.h"
#include "integrations/openrgb/sdk_controller.h"
#include "lighting/effect_params.h"
#include "lighting/frame.h"

namespace orvane::integrations::openrgb {

/// One effect of a device as a mode: its name, the device's mode byte and what it takes
/// (the lighting's own table, shared with the pages).
using EffectRow = lighting::EffectParams;
/// The effects a model offers through the SDK: `lighting::EffectsOf`.
std::span<const EffectRow> EffectsOf(device::DeviceModel model);

/// The "Direct" mode's value: no device mode byte has it.
inline constexpr int32_t kDirectModeValue = 0x100;

/// The controller of a model with the lighting choice it shows now (its mode is the active
/// mode unless `direct`; every effect mode carries the choice's speed, brightness, direction
/// and colour). LED colours start black.
Controller ControllerOf(device::DeviceModel model, const lighting::LightingChoice& current, bool direct = false);

/// The lighting choice an effect mode of a model's controller stands for: `base` with the
/// mode's device mode byte, speed, brightness, direction, colour and seven-colour cycle as
/// far as the effect takes them. nullopt for "Direct" and for a value that is none of the
/// model's effects.
std::optional<lighting::LightingChoice> ChoiceOf(device::DeviceModel model, const Mode& mode,
                                                 lighting::LightingChoice base);

/// The lighting frame (command 18's payload) that shows a controller's LED colours on a
/// device of that model: three bytes per LED at its LED number, or one level per key (the
/// brightest of the three) on a single-colour keyboard.
std::vector<uint8_t> FrameOf(device::DeviceModel model, const Controller& c);

}  // namespace orvane::integrations::openrgb
