// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The operations that move the mousepad's data between the program and the pad, usable
// without a window. Read-backs gather into scratch records and take them over only when
// everything arrived: a pad that stops answering or is unplugged changes nothing on the
// host and no profile is saved from data that did not come.

#include <chrono>
#include <cstdint>
#include <optional>

#include "device/protocol/connection.h"
#include "device/onboard_slots.h"
#include "mousepad/pad_model.h"

namespace orvane::mousepad {

using device::SlotSwitch;
using device::SlotSwitchResult;

/// Information record, the five slot records and the active slot; the active slot's record
/// becomes the current state. On kOk the caller saves the selected lighting profile.
int32_t ReadBackPad(protocol::DeviceConnection& c, PadModel& model);

/// Makes slot n (0-4) the pad's active slot and its record the current state. Above 4 (or no
/// selection, which the page passes as a value above 4) nothing is sent; an already active
/// slot costs only the one-byte read. On Switched the caller refreshes the page.
SlotSwitchResult SelectPadSlot(protocol::DeviceConnection& c, PadModel& model, unsigned n);

/// The 1-second push: when marked changed, sends the state with command 6 (bytes 0-20 the
/// state, 21-55 zero) and clears the mark. nullopt when nothing was due.
std::optional<int32_t> FlushPadState(protocol::DeviceConnection& c, PadModel& model);

/// "mp_one_profile_default", first step: the bare restore-defaults report. The caller then
/// waits kPadReadBackDelay and runs ReadBackPad (through the window message in the program).
int32_t ResetPadDefaults(protocol::DeviceConnection& c);
inline constexpr std::chrono::milliseconds kPadReadBackDelay{1000};

}  // namespace orvane::mousepad
