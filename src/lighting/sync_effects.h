// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The synchronised lighting: one effect (0 static, 1 breathing, 2 wave, 3 spectrum) drawn
// over the keyboard, the mouse and the mousepad in the same cycle, and the same-mode copy
// that hands the three devices to it.

#include <array>
#include <cstdint>
#include <optional>

#include "device/byte_record.h"
#include "keyboard/keyboard_records.h"
#include "lighting/keyboard_engine.h"
#include "lighting/mouse_effects.h"
#include "lighting/pad_effects.h"
#include "mouse/mouse_records.h"
#include "mousepad/pad_records.h"

namespace orvane::lighting {

/// Mode, brightness, speed, direction, seven-colour, R, G, B: bytes 1-8 of every device's
/// lighting record.
struct SyncLightingRecord : device::ByteRecord<8> {
    LightingChoice choice() const { return LightingChoice::FromBytes(bytes); }
};

struct SyncState {
    uint8_t phase = 0;        ///< shared by breathing, wave and spectrum; never reset
    uint8_t startColour = 0;  ///< picked at random at the start of each breath
};

/// Which devices the synchronised effect drives this cycle (their `syncLighting` flags).
struct SyncTargets {
    bool keyboard = false;
    bool mouse = false;
    bool pad = false;
    bool any() const { return keyboard || mouse || pad; }
};

/// One cycle's frames, each of size 0 for a device that is not a target (or for a mode
/// without an effect). The keyboard frame is 378 bytes, or 126 levels (the largest
/// component of each LED's colour) for the single-colour keyboard.
struct SyncFrames {
    KeyboardFrame keyboard;
    MouseFrame mouse;
    PadFrame pad;
};

SyncFrames RenderSync(const LightingChoice& choice, SyncState& s, RandomSource& random, SyncTargets targets,
                      KeyboardVariant keyboardVariant = KeyboardVariant::Rgb);

enum class LightingDevice : uint8_t { Keyboard, Mouse, Pad };

/// What same mode leaves for the caller: the two other devices, in the order their pages
/// are refreshed and their selected lighting profiles saved. The caller then sets
/// `syncLighting` on all three connections, connected or not.
struct SameModeOutcome {
    std::array<LightingDevice, 2> others;
    bool synchronised = true;  ///< false: the source's mode has no synchronised effect
};

/// The synchronised effects, numbered as the synchronised record's mode byte.
enum class SyncEffect : uint8_t { Static, Breathing, Wave, Spectrum };
/// The effect a device's own mode number stands for; nullopt for modes without one. The
/// devices number their modes each their own way (the pad's wave is its mode 0, the mouse's
/// static its mode 0).
std::optional<SyncEffect> SyncEffectOfMode(LightingDevice device, uint8_t mode,
                                           KeyboardVariant keyboardVariant = KeyboardVariant::Rgb);
/// The device's own mode number of an effect (the single-colour keyboard shows the
/// spectrum, which only changes hue, as its static light).
uint8_t ModeOfSyncEffect(LightingDevice device, SyncEffect effect,
                         KeyboardVariant keyboardVariant = KeyboardVariant::Rgb);

/// Copies bytes 1-8 of the source's record into the two other records and the
/// synchronised record, the mode byte as each record numbers the source's effect, so that
/// every page shows what its device does. A source mode without a synchronised effect
/// changes nothing (`others` is then empty of meaning: `synchronised` is false).
SameModeOutcome CopyLightingChoice(LightingDevice source, keyboard::LightingRecord& keyboardRecord,
                                   mouse::MouseState& mouseState, mousepad::PadState& padState,
                                   SyncLightingRecord& sync,
                                   KeyboardVariant keyboardVariant = KeyboardVariant::Rgb);

}  // namespace orvane::lighting
