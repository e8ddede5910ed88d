// SPDX-License-Identifier: GPL-3.0-or-later
// The mousepad's device operations against the emulated pad: read-back of the five slots,
// the active slot, slot switching, the flush payload and restore defaults.

#include <gtest/gtest.h>

#include <algorithm>

#include "device/protocol/commands.h"
#include "integration/readback_rig.h"
#include "mousepad/pad_device.h"

namespace orvane {
namespace {

using device::DeviceModel;
using mousepad::PadData;
using mousepad::PadModel;
using mousepad::SlotSwitch;
using sim::Fault;
using sim::FaultKind;
using testing::ReadBackRig;

using testing::Slice;

/// Slot s of the emulated pad gets bytes that tell the slots apart.
void MarkSlots(sim::DeviceFirmware& fw) {
    auto memory = fw.settingsMemory();
    for (size_t s = 0; s < 5; ++s)
        for (size_t i = 1; i < 64; ++i) memory[s * 64 + i] = static_cast<uint8_t>(s * 40 + i);
}

TEST(PadReadBack, FiveSlotsAndTheActiveOne) {
    struct Case { uint8_t deviceActive; uint8_t shown; };
    // An active-slot byte above 4 names no slot: the pad is shown with slot 0.
    for (const auto& c : {Case{0, 0}, Case{3, 3}, Case{4, 4}, Case{9, 0}}) {
        SCOPED_TRACE(int(c.deviceActive));
        ReadBackRig rig(DeviceModel::Mousepad);
        rig.firmware([&](sim::DeviceFirmware& fw) {
            MarkSlots(fw);
            fw.settingsMemory()[0] = c.deviceActive;
        });
        PadModel model;
        ASSERT_EQ(mousepad::ReadBackPad(rig.connection, model), protocol::kOk);
        const PadData d = model.snapshot();
        rig.firmware([&](sim::DeviceFirmware& fw) {
            EXPECT_EQ(Slice(d.info.bytes, 0, 31), Slice(fw.info(), 0, 31));
            for (size_t s = 0; s < 5; ++s) {
                EXPECT_EQ(Slice(d.slots[s].bytes, 0, 56), Slice(fw.slotRecord(s), 0, 56)) << s;
                EXPECT_EQ(Slice(d.slots[s].bytes, 56, 8), std::vector<uint8_t>(8, 0)) << s;
            }
            EXPECT_EQ(Slice(d.state.bytes, 1, 20), Slice(fw.slotRecord(c.shown), 1, 20));
        });
        EXPECT_EQ(d.state.activeSlot(), c.shown);
        EXPECT_EQ(rig.commands().size(), 1u + 1 + 5 + 1 + 1);
    }
}

TEST(PadReadBack, UnplugOrSilenceHalfWayKeepsTheHostData) {
    for (auto kind : {FaultKind::Unplug, FaultKind::NoReply}) {
        ReadBackRig rig(DeviceModel::Mousepad);
        PadModel model;
        ASSERT_EQ(mousepad::ReadBackPad(rig.connection, model), protocol::kOk);
        const PadData before = model.snapshot();
        rig.firmware(MarkSlots);
        rig.restartCount();
        Fault fault = Fault::AtReport(4, kind);  // the third slot record
        fault.times = -1;
        fault.when = [](uint64_t n, const protocol::Report&) { return n >= 4; };
        rig.device->addFault(fault);
        EXPECT_NE(mousepad::ReadBackPad(rig.connection, model), protocol::kOk);
        const PadData after = model.snapshot();
        EXPECT_EQ(after.slots, before.slots);
        EXPECT_EQ(after.state, before.state);
    }
}

TEST(PadSlots, SwitchFlushAndReset) {
    ReadBackRig rig(DeviceModel::Mousepad);
    rig.firmware(MarkSlots);
    PadModel model;
    ASSERT_EQ(mousepad::ReadBackPad(rig.connection, model), protocol::kOk);

    rig.restartCount();
    EXPECT_EQ(mousepad::SelectPadSlot(rig.connection, model, 5).outcome, SlotSwitch::Ignored);
    EXPECT_EQ(rig.device->requestCount(), 0u);
    EXPECT_EQ(mousepad::SelectPadSlot(rig.connection, model, 0).outcome, SlotSwitch::AlreadyActive);
    EXPECT_EQ(rig.device->requestCount(), 1u);

    model.update([](PadData& d) { d.state.set(mousepad::PadState::off::lightingMode, 6); });
    EXPECT_EQ(mousepad::SelectPadSlot(rig.connection, model, 4).outcome, SlotSwitch::Switched);
    PadData d = model.snapshot();
    EXPECT_EQ(d.state.activeSlot(), 4);
    EXPECT_EQ(d.slots[0].state().lightingMode(), 6) << "the state left behind stays in its slot";
    rig.firmware([&](sim::DeviceFirmware& fw) {
        EXPECT_EQ(fw.activeSlot(), 4);
        EXPECT_EQ(Slice(d.state.bytes, 1, 20), Slice(fw.slotRecord(4), 1, 20));
    });

    // Flush: the 21 state bytes, zeros to byte 55.
    rig.restartCount();
    EXPECT_FALSE(mousepad::FlushPadState(rig.connection, model).has_value());
    model.stateDirty = true;
    EXPECT_EQ(mousepad::FlushPadState(rig.connection, model), protocol::kOk);
    ASSERT_EQ(rig.requests.size(), 1u);
    EXPECT_EQ(rig.requests[0][protocol::off::length], 56);
    EXPECT_EQ(Slice(rig.requests[0], 8, 21), Slice(d.state.bytes, 0, 21));
    EXPECT_EQ(Slice(rig.requests[0], 8 + 21, 35), std::vector<uint8_t>(35, 0));
    rig.firmware([](sim::DeviceFirmware& fw) { EXPECT_EQ(Slice(fw.slotRecord(4), 21, 35), std::vector<uint8_t>(35, 0)); });

    // Restore defaults: the bare report; the read-back that follows shows the factory slots.
    rig.restartCount();
    EXPECT_EQ(mousepad::ResetPadDefaults(rig.connection), protocol::kOk);
    protocol::Report bare{};
    bare[0] = 4;
    bare[3] = 13;
    ASSERT_EQ(rig.requests.size(), 1u);
    EXPECT_EQ(rig.requests[0], bare);
    EXPECT_EQ(mousepad::kPadReadBackDelay, std::chrono::milliseconds(1000));
    ASSERT_EQ(mousepad::ReadBackPad(rig.connection, model), protocol::kOk);
    d = model.snapshot();
    rig.firmware([&](sim::DeviceFirmware& fw) {
        EXPECT_EQ(Slice(d.slots[2].bytes, 0, 56), Slice(fw.slotRecord(2), 0, 56));
        EXPECT_EQ(Slice(fw.slotRecord(2), 1, 55), Slice(sim::FactorySlotRecord(fw.profile(), 2), 1, 55));
    });
    EXPECT_EQ(d.state.activeSlot(), 0);
}

}  // namespace
}  // namespace orvane
