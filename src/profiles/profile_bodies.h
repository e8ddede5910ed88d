// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where each profile body lies in the device models: how a loaded body goes into the
// settings in memory, and how the body to save is assembled from them.
//   keyboard keys      bank 0 of the key assignment banks (512)
//   keyboard lighting  lighting slot 0 (64; its first 21 bytes the current lighting record),
//                      paint state (4), colour layers (1890)
//   mouse keys         key page 0 (512)
//   mouse lighting     slot record 0 (64): state 0-22, pointer speed 23, wheel lines 24
//   mousepad lighting  slot record 0 (64): state 0-20

#include <cstdint>
#include <span>
#include <vector>

#include "keyboard/keyboard_model.h"
#include "mouse/mouse_model.h"
#include "mousepad/pad_model.h"
#include "profiles/profile_lists.h"

namespace orvane::profiles {

/// The models profiles are loaded into and saved from; a list whose model is missing loads
/// and saves nothing.
struct DeviceModels {
    keyboard::KeyboardModel* keyboard = nullptr;
    mouse::MouseModel* mouse = nullptr;
    mousepad::PadModel* pad = nullptr;

    bool has(ListId id) const;
};

/// Copies a body (of the list's size) into the settings in memory. Mouse lighting: a pointer
/// speed or wheel-lines byte of 0 is taken as 1.
void LoadBody(ListId id, std::span<const uint8_t> body, const DeviceModels& models);

/// Stages the current lighting state in its slot-0 record (lighting lists) and returns the
/// body to save.
std::vector<uint8_t> SaveBody(ListId id, const DeviceModels& models);

/// The reset of the mouse and mousepad lighting: the first 56 bytes of the default into
/// the slot-0 record, and the state from it. Other lists reset as they load.
void ResetBody(ListId id, std::span<const uint8_t> body, const DeviceModels& models);

}  // namespace orvane::profiles
