// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The on-board slot memory the mouse and the mousepad share: five 64-byte slot records at
// slot x 64 of the settings memory, whose byte 0 is the index of the active slot. Read with
// command 5, written with command 6 (one byte switches the active slot, 56 bytes store the
// current settings). These routines move bytes only; the device models decide what the
// bytes mean and where they go.

#include <array>
#include <cstdint>
#include <functional>
#include <span>

#include "device/protocol/connection.h"

namespace orvane::device {

inline constexpr unsigned kOnboardSlotCount = 5;
inline constexpr size_t kOnboardRecordStride = 64;
inline constexpr size_t kOnboardExchangeSize = 56;

using SlotExchangeBytes = std::array<uint8_t, kOnboardExchangeSize>;

/// The device's active-slot byte (may be any value; callers check it before indexing).
int32_t ReadActiveSlot(protocol::DeviceConnection& c, uint8_t& slot);
/// Bytes 0-55 of slot record `slot` (0-4).
int32_t ReadSlotRecord(protocol::DeviceConnection& c, unsigned slot, SlotExchangeBytes& out);
/// Stores the current settings: `state` in the first bytes of a 56-byte record, zeros after.
int32_t WriteCurrentState(protocol::DeviceConnection& c, std::span<const uint8_t> state);

/// How a slot switch ended.
enum class SlotSwitch : uint8_t {
    Ignored,        ///< slot above 4: nothing sent
    AlreadyActive,  ///< the device's active slot is that slot: only the one-byte read was sent
    Switched,       ///< the device switched and the slot's record was read
    Failed,         ///< a command failed; see the result; nothing was taken over on the host
};

struct SlotSwitchResult {
    SlotSwitch outcome = SlotSwitch::Ignored;
    int32_t result = 0;  ///< protocol result of the last command sent
    /// Bytes 0-55 of the new slot's record with byte 0 set to the slot (when Switched).
    SlotExchangeBytes record{};
};

/// Makes slot n the device's active slot. Before it switches, `keepCurrent` is called with
/// the slot that was active (0-4; a device byte above 4 is not a slot and is not passed on)
/// so the host can store the current settings into that slot's record.
SlotSwitchResult SwitchActiveSlot(protocol::DeviceConnection& c, unsigned n,
                                  const std::function<void(unsigned previous)>& keepCurrent);

}  // namespace orvane::device
