// SPDX-License-Identifier: GPL-3.0-or-later
#include "lighting/effect_params.h"

#include <array>

namespace orvane::lighting {

namespace {

using device::DeviceModel;

// speed, direction, colour, seven colours, brightness
// clang-format off
constexpr std::array<EffectParams, 15> kRgbKeyboardEffects{{
    {"Fixed colour 1",    0,  false, false, false, false, true},
    {"Fixed colour 2",    1,  false, false, false, false, true},
    {"Fixed colour 3",    2,  false, false, false, false, true},
    {"Fixed colour 4",    3,  false, false, false, false, true},
    {"Static",            4,  false, false, true,  false, true},
    {"Breathing",         5,  true,  false, true,  true,  true},
    {"Column wave",       6,  true,  true,  true,  true,  true},
    {"Colour cycle",      7,  true,  false, false, false, true},
    {"Path wave",         8,  true,  true,  true,  true,  true},
    {"Ripple",            9,  true,  false, true,  true,  true},
    {"Running light",     10, true,  true,  true,  true,  true},
    {"Steps",             11, true,  false, true,  true,  true},
    {"Twinkle",           12, true,  false, true,  true,  true},
    {"Per-key breathing", 13, true,  false, true,  true,  true},
    {"Off",               14, false, false, false, false, false},
}};
constexpr std::array<EffectParams, 11> kMonoKeyboardEffects{{
    {"Static",         0,  false, false, false, false, true},
    {"Breathing",      1,  true,  false, false, false, true},
    {"Column wave",    2,  true,  true,  false, false, true},
    {"Path wave",      3,  true,  true,  false, false, true},
    {"Ripple",         4,  true,  false, false, false, true},
    {"Running light",  5,  true,  true,  false, false, true},
    {"Flash columns",  6,  true,  false, false, false, true},
    {"Twinkle",        7,  true,  false, false, false, true},
    {"Flash grid",     8,  true,  false, false, false, true},
    {"Off",            9,  false, false, false, false, false},
    {"Rings",          13, true,  true,  false, false, true},
}};
constexpr std::array<EffectParams, 7> kMouseEffects{{
    {"Static",         0, false, false, true,  false, true},
    {"Breathing",      1, true,  false, true,  true,  true},
    {"Wave",           2, true,  true,  true,  true,  true},
    {"Spectrum",       3, true,  false, false, false, true},
    {"Ripple",         4, true,  true,  true,  true,  true},
    {"Flash on click", 5, true,  false, true,  true,  true},
    {"Blink",          6, true,  false, true,  true,  true},
}};
constexpr std::array<EffectParams, 10> kPadEffects{{
    {"Wave",           0, true,  true,  true,  true,  true},
    {"Spectrum",       1, true,  false, false, false, true},
    {"Breathing",      2, true,  false, true,  true,  true},
    {"Static",         3, false, false, true,  false, true},
    {"Sweep",          4, true,  true,  true,  true,  true},
    {"Ripple",         5, true,  true,  true,  true,  true},
    {"Column rainbow", 6, true,  false, false, false, true},
    {"Fill and empty", 7, true,  false, true,  true,  true},
    {"Flash on click", 8, false, false, true,  true,  true},
    {"Off",            9, false, false, false, false, false},
}};
// clang-format on

}  // namespace

std::span<const EffectParams> EffectsOf(DeviceModel model) {
    switch (model) {
    case DeviceModel::RgbKeyboard: return kRgbKeyboardEffects;
    case DeviceModel::MonoKeyboard: return kMonoKeyboardEffects;
    case DeviceModel::Mouse:
    case DeviceModel::Mouse2: return kMouseEffects;
    case DeviceModel::Mousepad: return kPadEffects;
    }
    return {};
}

const EffectParams* EffectOf(DeviceModel model, uint8_t mode) {
    for (const EffectParams& e : EffectsOf(model))
        if (e.mode == mode) return &e;
    return nullptr;
}

}  // namespace orvane::lighting
