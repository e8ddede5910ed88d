// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The operations that move the mouse's data between the program and the mouse. They run
// on any thread without a window; each takes the mouse's connection and the model.
//
// A read that fails leaves the model as it was: every read-back gathers the device's bytes
// into scratch records and takes them over only when all of them arrived, so a mouse that
// stops answering or is unplugged half-way changes nothing on the host, and no profile is
// saved from data that did not come.

#include <cstdint>
#include <optional>

#include "device/protocol/connection.h"
#include "mouse/mouse_model.h"
#include "device/onboard_slots.h"

namespace orvane::platform {
class PointerSettings;
}

namespace orvane::mouse {

using device::kOnboardSlotCount;
using device::SlotExchangeBytes;
using device::SlotSwitch;
using device::SlotSwitchResult;

/// The full read-back at connect and on the mouse's "settings changed" notification:
/// information record, factory keys and the five key pages; the slot-0 record becomes the
/// current state (active slot 0). Returns kOk, or the result of the first command that
/// failed (nothing taken over). On kOk the caller saves the selected profiles.
int32_t ReadBackMouse(protocol::DeviceConnection& c, MouseModel& model);

/// The re-read on the mouse's "slot changed" notification: the current state goes back into
/// the record of its slot, the mouse's slot-0 record is read and becomes the current state
/// (active slot 0). On a failed read the state stays as it was; on kOk the caller saves
/// the selected lighting profile.
int32_t ReloadMouseSlotZero(protocol::DeviceConnection& c, MouseModel& model);

/// The five slot records as the mouse holds them and its active slot; the active slot's
/// record becomes the current state (an active-slot byte above 4 shows slot 0). The connect
/// sequence does not use it (the state shown then comes from the lighting profile); tools
/// and tests that want the mouse's own state do.
int32_t ReadMouseSlotRecords(protocol::DeviceConnection& c, MouseModel& model);

/// Makes slot n (0-4) the mouse's active slot and its record the current state. Above 4
/// nothing is sent; when n is already active only the one-byte read is sent. On Switched
/// the caller hides the button-function panel and refreshes the page.
SlotSwitchResult SelectMouseSlot(protocol::DeviceConnection& c, MouseModel& model, unsigned n);

/// The 1-second push: when the state is marked changed, sends it with command 6 (bytes 0-22
/// the state, 23-55 zero) and clears the mark whatever the result. nullopt when nothing was
/// due, else the command's result.
std::optional<int32_t> FlushMouseState(protocol::DeviceConnection& c, MouseModel& model);

/// Writes key page `page` (0-4) from device offset page x 126. Above 4: -201, nothing sent.
int32_t WriteMouseKeyPage(protocol::DeviceConnection& c, unsigned page, const MouseKeyPage& bytes);

/// "ms_one_profile_default": desktop pointer speed 10 and wheel lines 3 (the page shows
/// slider 5 and "3"), then the bare restore-defaults report. The model, the stored pointer
/// values and the files stay as they are; the mouse announces its new settings itself.
int32_t ResetMouseDefaults(protocol::DeviceConnection& c, platform::PointerSettings& pointer);

}  // namespace orvane::mouse
