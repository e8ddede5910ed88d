// SPDX-License-Identifier: GPL-3.0-or-later
#include "mousepad/pad_device.h"

#include "device/protocol/commands.h"
#include "device/transfer_bracket.h"

namespace orvane::mousepad {

using namespace protocol;
using device::AbandonTransfer;
using device::SlotExchangeBytes;

int32_t ReadBackPad(DeviceConnection& c, PadModel& model) {
    PadDeviceInfo info;
    std::array<SlotExchangeBytes, kSlotCount> records{};
    uint8_t active = 0;

    ShareHold hold(c);  // the whole read-back, against other programs
    if (!hold.held()) return hold.result();
    int32_t r = BeginTransfer(c);
    if (r != kOk) return AbandonTransfer(c, r);
    if ((r = ReadDeviceInfo(c, info.bytes)) != kOk) return AbandonTransfer(c, r);
    for (unsigned s = 0; s < kSlotCount; ++s)
        if ((r = device::ReadSlotRecord(c, s, records[s])) != kOk) return AbandonTransfer(c, r);
    if ((r = device::ReadActiveSlot(c, active)) != kOk) return AbandonTransfer(c, r);

    model.update([&](PadData& d) {
        d.info = info;
        for (size_t s = 0; s < kSlotCount; ++s) d.slots[s].assignPrefix(records[s]);
        // An active-slot byte above 4 names no slot; the pad is then shown with slot 0,
        // whose record sits where the pad keeps that byte.
        const uint8_t shown = active < kSlotCount ? active : 0;
        d.state = d.slots[shown].state();
        d.state.setActiveSlot(shown);
    });
    EndTransfer(c);
    return kOk;
}

SlotSwitchResult SelectPadSlot(DeviceConnection& c, PadModel& model, unsigned n) {
    auto result = device::SwitchActiveSlot(c, n, [&](unsigned previous) {
        model.update([&](PadData& d) { d.slots[previous].setState(d.state); });
    });
    if (result.outcome == SlotSwitch::Switched) {
        model.update([&](PadData& d) {
            d.slots[n].assignPrefix(result.record);
            d.state = d.slots[n].state();
        });
    }
    return result;
}

std::optional<int32_t> FlushPadState(DeviceConnection& c, PadModel& model) {
    if (!model.stateDirty.exchange(false)) return std::nullopt;
    const PadState state = model.state();
    return device::WriteCurrentState(c, state.span());
}

int32_t ResetPadDefaults(DeviceConnection& c) { return FactoryReset(c); }

}  // namespace orvane::mousepad
