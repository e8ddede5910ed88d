// SPDX-License-Identifier: GPL-3.0-or-later
#include "mouse/mouse_device.h"

#include <algorithm>

#include "device/protocol/commands.h"
#include "device/transfer_bracket.h"
#include "mouse/dpi.h"
#include "platform/pointer_settings.h"

namespace orvane::mouse {

using namespace protocol;
using device::AbandonTransfer;
using device::ReadActiveSlot;
using device::ReadSlotRecord;
using device::SwitchActiveSlot;
using device::WriteCurrentState;

MouseSlotRecord StageLightingProfile(MouseData& data) {
    MouseSlotRecord& record = data.block.slots[0];
    record.setState(data.state);
    record.setPointerSpeed(data.pointerSpeed);
    record.setWheelLines(data.wheelLines);
    return record;
}

int32_t ReadBackMouse(DeviceConnection& c, MouseModel& model) {
    MouseDeviceInfo info;
    MouseDefaultKeys defaults;
    MouseKeyPages pages{};

    ShareHold hold(c);  // the whole read-back, against other programs
    if (!hold.held()) return hold.result();
    int32_t r = BeginTransfer(c);
    if (r != kOk) return AbandonTransfer(c, r);
    if ((r = ReadDeviceInfo(c, info.bytes)) != kOk) return AbandonTransfer(c, r);
    if ((r = ReadNativeBlock(c, defaults.bytes)) != kOk) return AbandonTransfer(c, r);
    for (unsigned page = 0; page < kPageCount; ++page)
        if ((r = ReadBank(c, page, pages[page].bytes)) != kOk) return AbandonTransfer(c, r);

    model.update([&](MouseData& d) {
        d.info = info;
        d.defaultKeys = defaults;
        d.block.pages = pages;
        // The slot records are not read here: the state shown after a connect is the one
        // the selected lighting profile staged in slot 0.
        d.state = d.block.slots[0].state();
        d.state.setActiveSlot(0);
    });
    EndTransfer(c);
    return kOk;
}

namespace {

/// Puts the current state back into the record of its slot; an active slot above 4 names
/// no record, and the state is then kept only as the current state.
void KeepStateInItsSlot(MouseData& d) {
    const unsigned slot = d.state.activeSlot();
    if (slot < kSlotCount) d.block.slots[slot].setState(d.state);
}

void TakeOverSlot(MouseData& d, unsigned slot, const SlotExchangeBytes& record) {
    d.block.slots[slot].assignPrefix(record);
    d.state = d.block.slots[slot].state();
}

}  // namespace

int32_t ReloadMouseSlotZero(DeviceConnection& c, MouseModel& model) {
    model.update(KeepStateInItsSlot);
    uint8_t active = 0;  // read as the mouse expects it; the value is not used further
    int32_t r = ReadActiveSlot(c, active);
    SlotExchangeBytes record{};
    if (r == kOk) r = ReadSlotRecord(c, 0, record);
    if (r != kOk) return r;
    record[0] = 0;
    model.update([&](MouseData& d) { TakeOverSlot(d, 0, record); });
    return kOk;
}

int32_t ReadMouseSlotRecords(DeviceConnection& c, MouseModel& model) {
    std::array<SlotExchangeBytes, kSlotCount> records{};
    uint8_t active = 0;
    int32_t r = kOk;
    for (unsigned s = 0; s < kSlotCount && r == kOk; ++s) r = ReadSlotRecord(c, s, records[s]);
    if (r == kOk) r = ReadActiveSlot(c, active);
    if (r != kOk) return r;
    model.update([&](MouseData& d) {
        for (size_t s = 0; s < kSlotCount; ++s) d.block.slots[s].assignPrefix(records[s]);
        const uint8_t shown = active < kSlotCount ? active : 0;
        d.state = d.block.slots[shown].state();
        d.state.setActiveSlot(shown);
    });
    return kOk;
}

SlotSwitchResult SelectMouseSlot(DeviceConnection& c, MouseModel& model, unsigned n) {
    auto result = SwitchActiveSlot(c, n, [&](unsigned previous) {
        model.update([&](MouseData& d) { d.block.slots[previous].setState(d.state); });
    });
    if (result.outcome == SlotSwitch::Switched)
        model.update([&](MouseData& d) { TakeOverSlot(d, n, result.record); });
    return result;
}

std::optional<int32_t> FlushMouseState(DeviceConnection& c, MouseModel& model) {
    if (!model.stateDirty.exchange(false)) return std::nullopt;
    const MouseState state = model.state();
    return WriteCurrentState(c, state.span());
}

int32_t WriteMouseKeyPage(DeviceConnection& c, unsigned page, const MouseKeyPage& bytes) {
    return WriteBank(c, page, bytes.span());
}

int32_t ResetMouseDefaults(DeviceConnection& c, platform::PointerSettings& pointer) {
    pointer.setPointerSpeed(kDefaultPointerSpeed);
    pointer.setWheelLines(kDefaultWheelLines);
    return FactoryReset(c);
}

}  // namespace orvane::mouse
