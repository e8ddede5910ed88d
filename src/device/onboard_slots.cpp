// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/onboard_slots.h"

#include <algorithm>

#include "device/protocol/commands.h"

namespace orvane::device {

using namespace protocol;


int32_t ReadActiveSlot(DeviceConnection& c, uint8_t& slot) {
    std::array<uint8_t, 1> byte{};
    const int32_t r = ReadMemory(c, 0, byte);
    if (r == kOk) slot = byte[0];
    return r;
}

int32_t ReadSlotRecord(DeviceConnection& c, unsigned slot, SlotExchangeBytes& out) {
    if (slot >= kOnboardSlotCount) return kBankOutOfRange;
    SlotExchangeBytes read{};
    const int32_t r = ReadMemory(c, static_cast<uint16_t>(slot * kOnboardRecordStride), read);
    if (r == kOk) out = read;
    return r;
}

int32_t WriteCurrentState(DeviceConnection& c, std::span<const uint8_t> state) {
    SlotExchangeBytes payload{};  // what follows the state is sent as zeros
    std::copy_n(state.begin(), std::min(state.size(), payload.size()), payload.begin());
    return WriteMemory(c, payload);
}

SlotSwitchResult SwitchActiveSlot(DeviceConnection& c, unsigned n,
                                  const std::function<void(unsigned previous)>& keepCurrent) {
    SlotSwitchResult out;
    if (n >= kOnboardSlotCount) return out;  // five slots exist; nothing to switch to

    uint8_t current = 0;
    out.result = ReadActiveSlot(c, current);
    if (out.result != kOk) {
        out.outcome = SlotSwitch::Failed;
        return out;
    }
    if (current == n) {
        out.outcome = SlotSwitch::AlreadyActive;
        return out;
    }
    if (current < kOnboardSlotCount && keepCurrent) keepCurrent(current);

    const std::array<uint8_t, 1> select{static_cast<uint8_t>(n)};
    out.result = WriteMemory(c, select);
    if (out.result == kOk) out.result = ReadSlotRecord(c, n, out.record);
    if (out.result != kOk) {
        out.outcome = SlotSwitch::Failed;
        return out;
    }
    out.record[0] = static_cast<uint8_t>(n);
    out.outcome = SlotSwitch::Switched;
    return out;
}

}  // namespace orvane::device
