// SPDX-License-Identifier: GPL-3.0-or-later
// The mouse's device operations against the emulated mouse: read-back bytes, slot switching,
// the flush payload, restore defaults, and faults in the middle of a read-back.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "device/protocol/commands.h"
#include "integration/readback_rig.h"
#include "mouse/dpi.h"
#include "mouse/mouse_device.h"
#include "platform/pointer_settings.h"

namespace orvane {
namespace {

using device::DeviceModel;
using mouse::MouseData;
using mouse::MouseModel;
using mouse::SlotSwitch;
using sim::Fault;
using sim::FaultKind;
using testing::ReadBackRig;

using testing::Slice;

template <class Record>
std::vector<uint8_t> Bytes(const Record& r) {
    return {r.bytes.begin(), r.bytes.end()};
}

/// A state that differs from everything the emulated mouse holds.
mouse::MouseState MarkedState(uint8_t slot) {
    mouse::MouseState s;
    for (size_t i = 0; i < s.bytes.size(); ++i) s.bytes[i] = static_cast<uint8_t>(0xA0 + i);
    s.setActiveSlot(slot);
    return s;
}

TEST(MouseReadBack, TakesOverTheMouseBytesAndStagedSlotZero) {
    ReadBackRig rig(DeviceModel::Mouse);
    // The device's key memory differs from page to page so that a page read from the wrong
    // offset shows.
    rig.firmware([](sim::DeviceFirmware& fw) {
        auto keys = fw.keyMemory();
        for (size_t i = 0; i < keys.size(); ++i) keys[i] = static_cast<uint8_t>(i * 7 + (i >> 8));
    });
    MouseModel model;
    model.update([](MouseData& d) {
        d.block.slots[0].setState(MarkedState(3));  // what a loaded lighting profile staged
        d.block.slots[0].setPointerSpeed(12);
    });

    ASSERT_EQ(mouse::ReadBackMouse(rig.connection, model), protocol::kOk);

    const MouseData d = model.snapshot();
    rig.firmware([&](sim::DeviceFirmware& fw) {
        EXPECT_EQ(Bytes(d.info), std::vector<uint8_t>(fw.info().begin(), fw.info().end()));
        EXPECT_EQ(Bytes(d.defaultKeys), Slice(fw.nativeTable(), 0, 512));
        for (size_t p = 0; p < mouse::kPageCount; ++p)
            EXPECT_EQ(Bytes(d.block.pages[p]), Slice(fw.keyMemory(), p * 126, 512)) << "page " << p;
    });
    auto expected = MarkedState(0);
    EXPECT_EQ(d.state, expected);
    EXPECT_EQ(d.block.slots[0].pointerSpeed(), 12);
    // Begin, information, 10 reports of factory keys, 5 pages of 10 reports, End.
    const auto commands = rig.commands();
    ASSERT_EQ(commands.size(), 63u);
    EXPECT_EQ(commands.front(), protocol::kBeginTransfer);
    EXPECT_EQ(commands.back(), protocol::kEndTransfer);
    // Nothing is due to the mouse after a read-back.
    EXPECT_FALSE(mouse::FlushMouseState(rig.connection, model).has_value());
}

TEST(MouseReadBack, AMouseThatStopsOrVanishesHalfWayLeavesThePreviousData) {
    struct Case { const char* name; FaultKind kind; uint64_t atReport; int32_t result; };
    for (const auto& c : {Case{"stops answering in the pages", FaultKind::NoReply, 30, protocol::kNoReply},
                          Case{"stops answering at the information", FaultKind::NoReply, 2, protocol::kNoReply},
                          Case{"refuses a page report", FaultKind::RefuseFE, 40, protocol::kRefusedFE},
                          Case{"unplugged in the factory keys", FaultKind::Unplug, 5, protocol::kWriteFailed}}) {
        SCOPED_TRACE(c.name);
        ReadBackRig rig(DeviceModel::Mouse);
        MouseModel model;
            ASSERT_EQ(mouse::ReadBackMouse(rig.connection, model), protocol::kOk);
        const MouseData before = model.snapshot();

        // The mouse now holds other data, and fails part-way through the next read-back.
        rig.firmware([](sim::DeviceFirmware& fw) {
            std::fill(fw.keyMemory().begin(), fw.keyMemory().end(), uint8_t{0x5A});
            fw.setSensorId(0x3050);
        });
        rig.restartCount();
        Fault fault = Fault::AtReport(c.atReport, c.kind);
        fault.times = -1;
        fault.when = [n = c.atReport](uint64_t number, const protocol::Report&) { return number >= n; };
        rig.device->addFault(fault);

        EXPECT_EQ(mouse::ReadBackMouse(rig.connection, model), c.result);
        const MouseData after = model.snapshot();
        EXPECT_EQ(after.info, before.info);
        EXPECT_EQ(after.defaultKeys, before.defaultKeys);
        EXPECT_EQ(std::vector<uint8_t>(after.block.bytes().begin(), after.block.bytes().end()),
                  std::vector<uint8_t>(before.block.bytes().begin(), before.block.bytes().end()));
        EXPECT_EQ(after.state, before.state);
    }
}

TEST(MouseReadBack, AnimationReadsTheStateWhileTheMouseIsReadBack) {
    // The lighting animation reads the state on its own thread while the presence monitor
    // reads the mouse back and the window thread flushes.
    ReadBackRig rig(DeviceModel::Mouse);
    MouseModel model;
    std::atomic<bool> done{false};
    std::jthread animation([&] {
        unsigned sum = 0;
        while (!done) sum += model.state().lightingMode() + model.snapshot().info.dpiStep();
        (void)sum;
    });
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(mouse::ReadBackMouse(rig.connection, model), protocol::kOk);
        model.update([](MouseData& d) { d.state.setReportRate(2); });
        model.stateDirty = true;
        EXPECT_EQ(mouse::FlushMouseState(rig.connection, model), protocol::kOk);
    }
    done = true;
}

TEST(MouseSlots, SwitchingSendsOnlyWhatIsNeeded) {
    ReadBackRig rig(DeviceModel::Mouse);
    MouseModel model;
    model.update([](MouseData& d) { d.state = MarkedState(0); });

    // Slot 5 and above: nothing is sent.
    rig.restartCount();
    EXPECT_EQ(mouse::SelectMouseSlot(rig.connection, model, 5).outcome, SlotSwitch::Ignored);
    EXPECT_EQ(mouse::SelectMouseSlot(rig.connection, model, 200).outcome, SlotSwitch::Ignored);
    EXPECT_EQ(rig.device->requestCount(), 0u);

    // The active slot: only the one-byte read.
    EXPECT_EQ(mouse::SelectMouseSlot(rig.connection, model, 0).outcome, SlotSwitch::AlreadyActive);
    ASSERT_EQ(rig.requests.size(), 1u);
    EXPECT_EQ(rig.requests[0][protocol::off::command], protocol::kReadMemory);
    EXPECT_EQ(rig.requests[0][protocol::off::length], 1);
    EXPECT_EQ(model.state(), MarkedState(0));

    // Another slot: read, switch, read its record; the state that was current stays in
    // the record of its slot on the host.
    rig.restartCount();
    const auto result = mouse::SelectMouseSlot(rig.connection, model, 2);
    EXPECT_EQ(result.outcome, SlotSwitch::Switched);
    EXPECT_EQ(rig.commands(), (std::vector<uint8_t>{protocol::kReadMemory, protocol::kWriteMemory, protocol::kReadMemory}));
    EXPECT_EQ(rig.requests[2][protocol::off::offset], 128);
    const MouseData d = model.snapshot();
    rig.firmware([&](sim::DeviceFirmware& fw) {
        EXPECT_EQ(fw.activeSlot(), 2);
        auto expected = Slice(fw.slotRecord(2), 0, 56);
        expected[0] = 2;
        EXPECT_EQ(Slice(d.block.slots[2].bytes, 0, 56), expected);
        EXPECT_EQ(Bytes(d.state), Slice(expected, 0, 23));
    });
    EXPECT_EQ(d.state.activeSlot(), 2);
    EXPECT_EQ(d.block.slots[0].state(), MarkedState(0));
}

TEST(MouseSlots, AnActiveSlotAboveFourFromTheMouseIndexesNoRecord) {
    ReadBackRig rig(DeviceModel::Mouse);
    rig.firmware([](sim::DeviceFirmware& fw) { fw.settingsMemory()[0] = 9; });
    MouseModel model;
    model.update([](MouseData& d) { d.state = MarkedState(9); });
    const auto before = model.snapshot();
    EXPECT_EQ(mouse::SelectMouseSlot(rig.connection, model, 1).outcome, SlotSwitch::Switched);
    const auto after = model.snapshot();
    for (size_t s = 0; s < mouse::kSlotCount; ++s) {
        if (s != 1) {
            EXPECT_EQ(after.block.slots[s], before.block.slots[s]) << s;
        }
    }
    EXPECT_EQ(after.state.activeSlot(), 1);
}

TEST(MouseSlots, ReloadOfSlotZeroTakesTheMouseRecord) {
    ReadBackRig rig(DeviceModel::Mouse);
    rig.firmware([](sim::DeviceFirmware& fw) {
        fw.settingsMemory()[0] = 3;  // the mouse is on slot 3
        fw.settingsMemory()[mouse::MouseState::off::reportRate] = 2;
    });
    MouseModel model;
    model.update([](MouseData& d) { d.state = MarkedState(4); });
    ASSERT_EQ(mouse::ReloadMouseSlotZero(rig.connection, model), protocol::kOk);
    const MouseData d = model.snapshot();
    EXPECT_EQ(d.block.slots[4].state(), MarkedState(4));
    EXPECT_EQ(d.state.activeSlot(), 0);
    EXPECT_EQ(d.state.reportRate(), 2);
    rig.firmware([&](sim::DeviceFirmware& fw) {
        EXPECT_EQ(Slice(d.block.slots[0].bytes, 1, 55), Slice(fw.slotRecord(0), 1, 55));
    });
    EXPECT_EQ(rig.commands(), (std::vector<uint8_t>{protocol::kReadMemory, protocol::kReadMemory}));
}

TEST(MouseSlots, TheMouseOwnRecordsOnRequest) {
    for (uint8_t active : {uint8_t{2}, uint8_t{8}}) {
        ReadBackRig rig(DeviceModel::Mouse);
        rig.firmware([&](sim::DeviceFirmware& fw) {
            for (size_t i = 64; i < fw.settingsMemory().size(); ++i) fw.settingsMemory()[i] = static_cast<uint8_t>(i);
            fw.settingsMemory()[0] = active;
        });
        MouseModel model;
        ASSERT_EQ(mouse::ReadMouseSlotRecords(rig.connection, model), protocol::kOk);
        const MouseData d = model.snapshot();
        const size_t shown = active < 5 ? active : 0;
        EXPECT_EQ(d.state.activeSlot(), shown);
        rig.firmware([&](sim::DeviceFirmware& fw) {
            for (size_t s = 0; s < 5; ++s) EXPECT_EQ(Slice(d.block.slots[s].bytes, 0, 56), Slice(fw.slotRecord(s), 0, 56));
            EXPECT_EQ(Slice(d.state.bytes, 1, 22), Slice(fw.slotRecord(shown), 1, 22));
        });
    }
}

TEST(MouseFlush, SendsTheStateOnceWithZerosAfterIt) {
    ReadBackRig rig(DeviceModel::Mouse);
    // The mouse's record has other values after byte 22; the flush does not carry them.
    rig.firmware([](sim::DeviceFirmware& fw) {
        std::fill(fw.settingsMemory().begin() + 23, fw.settingsMemory().begin() + 64, uint8_t{0xEE});
    });
    MouseModel model;
    model.update([](MouseData& d) { d.state = MarkedState(0); });
    model.stateDirty = true;

    ASSERT_EQ(mouse::FlushMouseState(rig.connection, model), protocol::kOk);
    EXPECT_FALSE(model.stateDirty);
    ASSERT_EQ(rig.requests.size(), 1u);
    const auto& r = rig.requests[0];
    EXPECT_EQ(r[protocol::off::command], protocol::kWriteMemory);
    EXPECT_EQ(r[protocol::off::length], 56);
    EXPECT_EQ(Slice(r, protocol::off::data, 23), Bytes(MarkedState(0)));
    EXPECT_EQ(Slice(r, protocol::off::data + 23, 33), std::vector<uint8_t>(33, 0));
    rig.firmware([&](sim::DeviceFirmware& fw) {
        EXPECT_EQ(Slice(fw.slotRecord(0), 1, 22), Slice(MarkedState(0).bytes, 1, 22));
        EXPECT_EQ(Slice(fw.slotRecord(0), 23, 33), std::vector<uint8_t>(33, 0));
    });
    // Once sent, nothing is due until an editor marks the state again.
    EXPECT_FALSE(mouse::FlushMouseState(rig.connection, model).has_value());
    EXPECT_EQ(rig.requests.size(), 1u);

    // Unplugged: the mark is cleared, the host's state is kept.
    rig.device->unplug();
    model.stateDirty = true;
    EXPECT_NE(mouse::FlushMouseState(rig.connection, model), protocol::kOk);
    EXPECT_EQ(model.state(), MarkedState(0));
}

class RecordingPointer final : public platform::PointerBackend {
public:
    std::vector<int> speeds, lines;
    std::string name() const override { return "recording"; }
    bool applyPointerSpeed(int s) override { speeds.push_back(s); return true; }
    bool applyWheelLines(int l) override { lines.push_back(l); return true; }
};

TEST(MouseRestoreDefaults, BareReportAndDesktopDefaults) {
    ReadBackRig rig(DeviceModel::Mouse);
    rig.firmware([](sim::DeviceFirmware& fw) { fw.settingsMemory()[14] = 3; });
    auto backend = std::make_unique<RecordingPointer>();
    auto* seen = backend.get();
    platform::PointerSettings pointer(std::move(backend));
    MouseModel model;
    model.update([](MouseData& d) {
        d.state = MarkedState(0);
        d.pointerSpeed = 18;
        d.wheelLines = 7;
    });

    EXPECT_EQ(mouse::ResetMouseDefaults(rig.connection, pointer), protocol::kOk);
    pointer.waitIdle();
    EXPECT_EQ(seen->speeds, std::vector<int>{10});
    EXPECT_EQ(seen->lines, std::vector<int>{3});
    EXPECT_EQ(mouse::PointerSliderFromSpeed(mouse::kDefaultPointerSpeed), 5);

    ASSERT_EQ(rig.requests.size(), 1u);
    protocol::Report expected{};
    expected[0] = 4;
    expected[3] = 13;
    EXPECT_EQ(rig.requests[0], expected) << "no checksum in bytes 1-2";
    rig.firmware([](sim::DeviceFirmware& fw) {
        EXPECT_EQ(fw.factoryResetCount(), 1u);
        EXPECT_EQ(fw.settingsMemory()[14], sim::FactorySettingsMemory(fw.profile())[14]);
    });
    // The host keeps its state and stored pointer values; the mouse announces its own.
    const MouseData d = model.snapshot();
    EXPECT_EQ(d.state, MarkedState(0));
    EXPECT_EQ(d.pointerSpeed, 18);
    EXPECT_EQ(d.wheelLines, 7);
}

TEST(MouseKeyPages, APageIsWrittenAtItsBankOffset) {
    ReadBackRig rig(DeviceModel::Mouse);
    mouse::MouseKeyPage page;
    for (size_t i = 0; i < page.bytes.size(); ++i) page.bytes[i] = static_cast<uint8_t>(i % 251);
    EXPECT_EQ(mouse::WriteMouseKeyPage(rig.connection, 3, page), protocol::kOk);
    rig.firmware([&](sim::DeviceFirmware& fw) { EXPECT_EQ(Slice(fw.keyMemory(), 3 * 126, 126), Slice(page.bytes, 0, 126)); });
    rig.restartCount();
    EXPECT_EQ(mouse::WriteMouseKeyPage(rig.connection, 5, page), protocol::kBankOutOfRange);
    EXPECT_EQ(rig.device->requestCount(), 0u);
}

TEST(MouseDpi, LabelsOfTheEmulatedSensors) {
    // The label of the lowest and highest position of each model, from what the mouse reports.
    struct Case { DeviceModel model; const char* low; const char* high; const char* maxLabel; };
    for (const auto& c : {Case{DeviceModel::Mouse, "200", "5000", "5000"},
                          Case{DeviceModel::Mouse2, "100", "12000", "12000"}}) {
        ReadBackRig rig(c.model);
        MouseModel model;
        ASSERT_EQ(mouse::ReadBackMouse(rig.connection, model), protocol::kOk);
        MouseData d = model.snapshot();
        const auto* limits = mouse::ApplySensorLimits(d.info);
        ASSERT_NE(limits, nullptr);
        EXPECT_EQ(limits->maxLabel, c.maxLabel);
        EXPECT_EQ(mouse::DpiLabelText(d.info, 0), c.low);
        EXPECT_EQ(mouse::DpiLabelText(d.info, d.info.highestPosition()), c.high);
    }
}

}  // namespace
}  // namespace orvane
