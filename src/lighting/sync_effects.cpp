// SPDX-License-Identifier: GPL-3.0-or-later
// The synchronised effects and the same-mode copy.

#include "lighting/sync_effects.h"

#include <algorithm>

namespace orvane::lighting {

namespace {

constexpr size_t kSyncColumns = kGridColumns;

struct SyncTick {
    const LightingChoice& choice;
    SyncTargets targets;
    KeyboardVariant variant;
    SyncFrames& out;
    uint8_t level = choice.level();

    void keyboardLed(size_t slot, size_t position, Rgb sent, Rgb unscaled, uint8_t alpha) {
        if (!targets.keyboard) return;
        auto& f = out.keyboard;
        if (variant == KeyboardVariant::Rgb) f.putRgb(slot, sent);
        else f.bytes[slot] = std::max({sent.r, sent.g, sent.b});
        f.show(position, unscaled, alpha);
    }
    /// Every LED of every target device gets the same colour.
    void everyLed(Rgb sent, Rgb unscaled, uint8_t alpha) {
        for (size_t i = 0; i < kKeyCount; ++i) keyboardLed(i, i, sent, unscaled, alpha);
        if (targets.mouse)
            for (size_t i = 0; i < kMouseLedCount; ++i) {
                out.mouse.putRgb(i, sent);
                out.mouse.show(i, unscaled, alpha);
            }
        if (targets.pad)
            for (size_t i = 0; i < kPadLedCount; ++i) {
                out.pad.putRgb(i, sent);
                out.pad.show(i, unscaled, alpha);
            }
    }
    /// Column k: its keyboard keys, mouse LED group k (k < 7) and pad LED k (k < 15).
    void column(size_t k, Rgb sent, Rgb unscaled, uint8_t alpha) {
        const auto& slots = variant == KeyboardVariant::Rgb ? kRgbSlot : kMonoSlot;
        for (size_t e = 0; e < 7; ++e) {
            const uint8_t key = kColumns[k * 7 + e];
            if (IsKey(key) && IsKey(slots[key])) keyboardLed(slots[key], key, sent, unscaled, alpha);
        }
        if (targets.mouse && k < kMouseGroupCount)
            for (uint8_t i : kMouseGroups[k]) {
                out.mouse.putRgb(i, sent);
                out.mouse.show(i, unscaled, alpha);
            }
        if (targets.pad && k < kPadLedCount) {
            out.pad.putRgb(k, sent);
            out.pad.show(k, unscaled, alpha);
        }
    }
};

}  // namespace

SyncFrames RenderSync(const LightingChoice& choice, SyncState& s, RandomSource& random, SyncTargets targets,
                      KeyboardVariant keyboardVariant) {
    SyncFrames out;
    SyncTick t{choice, targets, keyboardVariant, out};
    const uint8_t L = t.level;
    const bool fwd = choice.forward();
    switch (choice.mode) {
    case 0: t.everyLed(Scale(choice.colour, L), choice.colour, L); break;
    case 1: {
        // The breath counts 0-127; a phase left past 127 by the wheel effects starts a new
        // breath rather than reading past the breathing curve.
        s.phase = uint8_t(s.phase + 1);
        if (s.phase > 127) {
            s.phase = 0;
            s.startColour = uint8_t(random.next());
        }
        const Rgb c = choice.seven() ? kHueWheel[s.phase] : choice.colour;
        const uint8_t b = kBreath128[s.phase];
        t.everyLed(ScaleTwice(c, b, L), c, AlphaOf(L, b));
        break;
    }
    case 2:
        if (choice.seven()) {
            s.phase = Step(s.phase, kWheelCycle, fwd);
            for (size_t k = 0; k < kSyncColumns; ++k) {
                const Rgb c = Wheel(s.phase + 7 * k);
                t.column(k, Scale(c, L), c, L);
            }
        } else {
            s.phase = Step(s.phase, kWave96.size(), fwd);
            for (size_t k = 0; k < kSyncColumns; ++k) {
                const size_t w = (s.phase + 10 * k) % 96;
                t.column(k, ScaleTwice(choice.colour, L, kWave96[w]), choice.colour,
                         AlphaOf(L, kWave96[(w + 10) % 96]));
            }
        }
        break;
    case 3: {
        s.phase = Step(s.phase, kWheelCycle, fwd);
        const Rgb c = kHueWheel[s.phase];
        t.everyLed(Scale(c, L), c, L);
        break;
    }
    default: return out;
    }
    if (targets.keyboard) out.keyboard.size = keyboardVariant == KeyboardVariant::Rgb ? kRgbFrameSize : kMonoFrameSize;
    if (targets.mouse) out.mouse.size = kMouseFrameSize;
    if (targets.pad) out.pad.size = kPadFrameSize;
    return out;
}

namespace {

/// Each device's mode of static, breathing, wave and spectrum, in SyncEffect order.
using EffectModes = std::array<uint8_t, 4>;
constexpr EffectModes kMouseEffectModes{0, 1, 2, 3};
constexpr EffectModes kPadEffectModes{3, 2, 0, 1};
constexpr EffectModes kRgbKeyboardEffectModes{4, 5, 6, 7};  // the spectrum is its colour cycle
constexpr EffectModes kMonoKeyboardEffectModes{0, 1, 2, 0};

const EffectModes& EffectModesOf(LightingDevice device, KeyboardVariant keyboardVariant) {
    switch (device) {
    case LightingDevice::Mouse: return kMouseEffectModes;
    case LightingDevice::Pad: return kPadEffectModes;
    case LightingDevice::Keyboard: break;
    }
    return keyboardVariant == KeyboardVariant::Rgb ? kRgbKeyboardEffectModes : kMonoKeyboardEffectModes;
}

}  // namespace

std::optional<SyncEffect> SyncEffectOfMode(LightingDevice device, uint8_t mode, KeyboardVariant keyboardVariant) {
    const EffectModes& modes = EffectModesOf(device, keyboardVariant);
    for (size_t effect = 0; effect < modes.size(); ++effect)
        if (modes[effect] == mode) return SyncEffect(effect);
    return std::nullopt;
}

uint8_t ModeOfSyncEffect(LightingDevice device, SyncEffect effect, KeyboardVariant keyboardVariant) {
    return EffectModesOf(device, keyboardVariant)[size_t(effect)];
}

SameModeOutcome CopyLightingChoice(LightingDevice source, keyboard::LightingRecord& keyboardRecord,
                                   mouse::MouseState& mouseState, mousepad::PadState& padState,
                                   SyncLightingRecord& sync, KeyboardVariant keyboardVariant) {
    std::array<uint8_t, 8> choice{};
    std::optional<SyncEffect> effect;
    auto take = [&](const auto& record) {
        std::copy_n(record.bytes.begin() + 1, 8, choice.begin());
        effect = SyncEffectOfMode(source, choice[0], keyboardVariant);
    };
    auto give = [&](auto& record, LightingDevice device) {
        if (!effect) return;
        std::copy_n(choice.begin(), 8, record.bytes.begin() + 1);
        record.bytes[1] = ModeOfSyncEffect(device, *effect, keyboardVariant);
    };
    SameModeOutcome outcome{};
    switch (source) {
    case LightingDevice::Keyboard:
        take(keyboardRecord);
        give(mouseState, LightingDevice::Mouse);
        give(padState, LightingDevice::Pad);
        outcome.others = {LightingDevice::Mouse, LightingDevice::Pad};
        break;
    case LightingDevice::Mouse:
        take(mouseState);
        give(padState, LightingDevice::Pad);
        give(keyboardRecord, LightingDevice::Keyboard);
        outcome.others = {LightingDevice::Pad, LightingDevice::Keyboard};
        break;
    case LightingDevice::Pad:
        take(padState);
        give(mouseState, LightingDevice::Mouse);
        give(keyboardRecord, LightingDevice::Keyboard);
        outcome.others = {LightingDevice::Mouse, LightingDevice::Keyboard};
        break;
    }
    if (!effect) {
        outcome.synchronised = false;
        return outcome;
    }
    sync.bytes = choice;
    sync.bytes[0] = uint8_t(*effect);
    return outcome;
}

}  // namespace orvane::lighting
