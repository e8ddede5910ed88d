// SPDX-License-Identifier: GPL-3.0-or-later
// Every fault the emulator can inject, at every report of every device operation, on all
// five models: a read-back, a slot switch, a flush, a profile selection that sends a key
// bank, a lighting frame. Whatever happens, no wrong data is kept: an operation that
// succeeds leaves the model as a fault-free run does, one that fails leaves it as it was
// (or as the fault-free run), the selected profiles change only when a read-back succeeded
// and then hold what the device holds, and a read-back right after it sees exactly the
// device's memory — a late reply is never taken for another request's.
//
// The connection's reply time-out is shortened so that the few thousand cases run in
// seconds; the slow replies are scaled with it (past one time-out: read by the retry; past
// all four: arrives after the exchange gave up).

#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

#include "device/protocol/commands.h"
#include "integration/readback_rig.h"
#include "keyboard/keyboard_device.h"
#include "mouse/mouse_device.h"
#include "mousepad/pad_device.h"
#include "unit/profile_fixture.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using device::DeviceKind;
using device::DeviceModel;
using profiles::ListId;
using sim::Fault;
using sim::FaultKind;

constexpr int kTimeoutMs = 40;
constexpr int kWorkers = 4;  // cases run side by side: each mostly waits for a time-out

struct FaultCase {
    const char* name;
    FaultKind kind;
    int delayMs = 0;
};
const FaultCase kFaults[] = {
    {"no reply", FaultKind::NoReply},
    {"refused 0xff", FaultKind::RefuseFF},
    {"refused 0xfe", FaultKind::RefuseFE},
    {"write fails", FaultKind::FailWrite},
    {"unplugged", FaultKind::Unplug},
    {"late reply", FaultKind::SlowReply, kTimeoutMs * 14 / 10},      // read by the retry
    {"very late reply", FaultKind::SlowReply, kTimeoutMs * 45 / 10},  // after all four attempts
};

template <class Record>
void Put(std::vector<uint8_t>& out, const Record& r) {
    out.insert(out.end(), r.bytes.begin(), r.bytes.end());
}
template <class Records>
void PutAll(std::vector<uint8_t>& out, const Records& rs) {
    for (const auto& r : rs) Put(out, r);
}

/// The three models and the profile files, as bytes: what "no wrong data kept" compares.
struct Snapshot {
    std::vector<uint8_t> keyboard, mouse, pad;
    std::vector<std::string> files;
    bool operator==(const Snapshot&) const = default;
};

/// One device, its connection, the models and a profile store of its own.
struct SweepRig {
    fs::path data;
    keyboard::KeyboardModel keyboard;
    mouse::MouseModel mouse;
    mousepad::PadModel pad;
    profiles::ProfileStore store;
    testing::ReadBackRig dev;
    profiles::ProfileOperations ops;

    SweepRig(DeviceModel model, const fs::path& folder)
        : data(folder), store(folder, {testing::ShippedDefaults()}, {&keyboard, &mouse, &pad}), dev(model),
          ops(store, {kind() == DeviceKind::Keyboard ? &dev.connection : nullptr,
                      kind() == DeviceKind::Mouse ? &dev.connection : nullptr, nullptr}) {
        dev.connection.setTrace(nullptr);
        dev.connection.replyTimeoutMs = kTimeoutMs;
        // Memories whose bytes differ from offset to offset: a reply taken for another
        // request's shows.
        dev.firmware([](sim::DeviceFirmware& fw) {
            auto keys = fw.keyMemory();
            for (size_t i = 0; i < keys.size(); ++i) keys[i] = uint8_t(i * 7 + (i >> 8) + 1);
            auto settings = fw.settingsMemory();
            for (size_t i = 1; i < settings.size(); ++i) settings[i] = uint8_t(i * 13 + 5);
            if (!settings.empty()) settings[0] = 1;  // slot 1 active
        });
        for (auto kind : {DeviceKind::Keyboard, DeviceKind::Mouse, DeviceKind::Mousepad})
            EXPECT_TRUE(store.initProfileLists(kind).message.empty());
        for (const auto& list : profiles::kLists) {  // selected as a start leaves them; nothing sent
            auto shown = store.list(list.id);
            shown.selection = 0;
            store.setList(list.id, shown);
            store.writeSelection(list.id, 0);
        }
    }

    DeviceKind kind() const { return device::Identity(dev.device->model()).kind; }

    Snapshot snapshot() const {
        Snapshot s;
        const auto k = keyboard.snapshot();
        Put(s.keyboard, k.info), Put(s.keyboard, k.nativeKeys), PutAll(s.keyboard, k.banks);
        PutAll(s.keyboard, k.lightingSlots), Put(s.keyboard, k.lighting), Put(s.keyboard, k.paint);
        Put(s.keyboard, k.colours);
        const auto m = mouse.snapshot();
        Put(s.mouse, m.info), Put(s.mouse, m.defaultKeys), PutAll(s.mouse, m.block.pages);
        PutAll(s.mouse, m.block.slots), Put(s.mouse, m.state);
        s.mouse.push_back(m.pointerSpeed), s.mouse.push_back(m.wheelLines);
        const auto p = pad.snapshot();
        Put(s.pad, p.info), PutAll(s.pad, p.slots), Put(s.pad, p.state);
        for (const auto& list : profiles::kLists)
            s.files.push_back(platform::ReadWholeFile(*store.profilePath(list.id, "New Profile 1")).value_or("-"));
        return s;
    }

    /// The read-back a connect runs, with the caller's save of the selected profiles on success
    /// (saving stages the current lighting in slot record 0).
    int32_t readBack(bool save = true) {
        auto& c = dev.connection;
        switch (kind()) {
        case DeviceKind::Keyboard: {
            const auto r = keyboard::ReadBackKeyboard(c, keyboard);
            if (r.ok() && save) store.saveSelectedKeys(DeviceKind::Keyboard);
            return r.ok() ? protocol::kOk : r.result;
        }
        case DeviceKind::Mouse: {
            const auto r = mouse::ReadBackMouse(c, mouse);
            if (r == protocol::kOk && save) {
                store.saveSelectedLighting(DeviceKind::Mouse);
                store.saveSelectedKeys(DeviceKind::Mouse);
            }
            return r;
        }
        case DeviceKind::Mousepad: {
            const auto r = mousepad::ReadBackPad(c, pad);
            if (r == protocol::kOk && save) store.saveSelectedLighting(DeviceKind::Mousepad);
            return r;
        }
        }
        return protocol::kNoReply;
    }

    /// A read-back of everything the host keeps of the device, compared with its memory.
    void expectDeviceMemory() {
        std::vector<uint8_t> info, native, keyMemory, settings;
        dev.firmware([&](sim::DeviceFirmware& fw) {
            info.assign(fw.info().begin(), fw.info().end());
            native.assign(fw.nativeTable().begin(), fw.nativeTable().end());
            keyMemory.assign(fw.keyMemory().begin(), fw.keyMemory().end());
            settings.assign(fw.settingsMemory().begin(), fw.settingsMemory().end());
        });
        auto same = [](std::span<const uint8_t> host, const std::vector<uint8_t>& device, size_t at, size_t n) {
            return std::equal(host.begin(), host.begin() + std::ptrdiff_t(n), device.begin() + std::ptrdiff_t(at));
        };
        ASSERT_EQ(readBack(false), protocol::kOk);
        switch (kind()) {
        case DeviceKind::Keyboard: {
            const auto k = keyboard.snapshot();
            const size_t n = k.info.keyCount() * 3;
            EXPECT_TRUE(same(k.info.bytes, info, 0, info.size()));
            EXPECT_TRUE(same(k.nativeKeys.bytes, native, 0, n));
            EXPECT_TRUE(same(k.banks[0].bytes, keyMemory, 0, n));
            break;
        }
        case DeviceKind::Mouse: {
            ASSERT_EQ(mouse::ReadMouseSlotRecords(dev.connection, mouse), protocol::kOk);
            const auto m = mouse.snapshot();
            EXPECT_TRUE(same(m.info.bytes, info, 0, info.size()));
            EXPECT_TRUE(same(m.defaultKeys.bytes, native, 0, m.defaultKeys.bytes.size()));
            for (size_t p = 0; p < m.block.pages.size(); ++p)
                EXPECT_TRUE(same(m.block.pages[p].bytes, keyMemory, p * protocol::kBankStride, 512)) << "page " << p;
            for (size_t s = 0; s < m.block.slots.size(); ++s)
                EXPECT_TRUE(same(m.block.slots[s].bytes, settings, s * 64, 56)) << "slot " << s;
            break;
        }
        case DeviceKind::Mousepad: {
            const auto p = pad.snapshot();
            EXPECT_TRUE(same(p.info.bytes, info, 0, info.size()));
            for (size_t s = 0; s < p.slots.size(); ++s)
                EXPECT_TRUE(same(p.slots[s].bytes, settings, s * 64, 56)) << "slot " << s;
            break;
        }
        }
    }
};

/// One operation of a device kind: its result (kOk or what failed), and what it does to the
/// models before its first command can fail (a slot switch keeps the current settings in
/// the record of the slot it leaves), when anything.
struct Operation {
    const char* name;
    std::function<int32_t(SweepRig&)> run;
    std::function<void(SweepRig&)> before;
};

int32_t SendFrame(SweepRig& rig) {
    std::vector<uint8_t> frame;
    rig.dev.firmware([&](sim::DeviceFirmware& fw) { frame.assign(fw.profile().frameSize(), 0); });
    for (size_t i = 0; i < frame.size(); ++i) frame[i] = uint8_t(i * 5);
    return protocol::WriteLightingFrame(rig.dev.connection, frame);
}

int32_t SlotResult(const mouse::SlotSwitchResult& r) {
    return r.outcome == mouse::SlotSwitch::Switched ? protocol::kOk : (r.result == protocol::kOk ? -1 : r.result);
}

std::vector<Operation> OperationsOf(DeviceKind kind) {
    const Operation readBack{"read-back", [](SweepRig& r) { return r.readBack(); }, {}};
    const Operation frame{"lighting frame", SendFrame, {}};
    switch (kind) {
    case DeviceKind::Keyboard:
        return {readBack,
                {"key profile selection", [](SweepRig& r) { return r.ops.selectProfile(ListId::KeyboardKeys, 0).bankWrite.value_or(-1); }, {}},
                frame};
    case DeviceKind::Mouse:
        return {readBack,
                {"slot records", [](SweepRig& r) { return mouse::ReadMouseSlotRecords(r.dev.connection, r.mouse); }, {}},
                {"slot 0 reload",
                 [](SweepRig& r) {
                     const auto result = mouse::ReloadMouseSlotZero(r.dev.connection, r.mouse);
                     if (result == protocol::kOk) r.store.saveSelectedLighting(DeviceKind::Mouse);
                     return result;
                 },
                 [](SweepRig& r) {
                     r.mouse.update([](mouse::MouseData& d) {
                         if (d.state.activeSlot() < mouse::kSlotCount) d.block.slots[d.state.activeSlot()].setState(d.state);
                     });
                 }},
                {"slot switch", [](SweepRig& r) { return SlotResult(mouse::SelectMouseSlot(r.dev.connection, r.mouse, 3)); },
                 [](SweepRig& r) { r.mouse.update([](mouse::MouseData& d) { d.block.slots[1].setState(d.state); }); }},
                {"flush",
                 [](SweepRig& r) {
                     r.mouse.stateDirty = true;
                     return mouse::FlushMouseState(r.dev.connection, r.mouse).value_or(-1);
                 },
                 {}},
                {"key profile selection", [](SweepRig& r) { return r.ops.selectProfile(ListId::MouseKeys, 0).bankWrite.value_or(-1); }, {}},
                frame};
    case DeviceKind::Mousepad:
        return {readBack,
                {"slot switch", [](SweepRig& r) { return SlotResult(mousepad::SelectPadSlot(r.dev.connection, r.pad, 3)); },
                 [](SweepRig& r) { r.pad.update([](mousepad::PadData& d) { d.slots[1].setState(d.state); }); }},
                {"flush",
                 [](SweepRig& r) {
                     r.pad.stateDirty = true;
                     return mousepad::FlushPadState(r.dev.connection, r.pad).value_or(-1);
                 },
                 {}},
                frame};
    }
    return {};
}

/// A folder for one worker's data, in memory where the system has one (the sweep saves
/// profiles thousands of times).
fs::path WorkerFolder() {
    std::error_code ec;
    if (fs::is_directory("/dev/shm", ec) && ::access("/dev/shm", W_OK) == 0) {
        std::string pattern = "/dev/shm/orvane-sweep-XXXXXX";
        if (::mkdtemp(pattern.data())) return pattern;
    }
    return testing::FreshFolder();
}

class FaultSweep : public ::testing::TestWithParam<DeviceModel> {};

TEST_P(FaultSweep, NoFaultAtAnyReportLeavesWrongDataInAModelOrAProfile) {
    const DeviceModel model = GetParam();
    const DeviceKind kind = device::Identity(model).kind;
    struct Job {
        size_t op;
        const FaultCase* fault;
        uint64_t report;
    };
    std::vector<Job> jobs;
    std::vector<Snapshot> cleanAfter, partialAfter;
    const auto operations = OperationsOf(kind);
    const fs::path setupFolder = WorkerFolder();
    for (size_t op = 0; op < operations.size(); ++op) {
        // The fault-free run: how many reports, and what it leaves.
        SweepRig clean(model, setupFolder / std::to_string(op));
        clean.readBack();
        clean.dev.restartCount();
        ASSERT_EQ(operations[op].run(clean), protocol::kOk) << operations[op].name;
        cleanAfter.push_back(clean.snapshot());
        const uint64_t reports = clean.dev.device->requestCount();
        SweepRig partial(model, setupFolder / ("partial" + std::to_string(op)));
        partial.readBack();
        if (operations[op].before) operations[op].before(partial);
        partialAfter.push_back(partial.snapshot());
        ASSERT_GT(reports, 0u);
        for (const auto& fault : kFaults)
            for (uint64_t k = 1; k <= reports; ++k) jobs.push_back({op, &fault, k});
    }
    fs::remove_all(setupFolder);

    std::atomic<size_t> next{0}, failedCases{0}, succeeded{0};
    std::mutex reportMutex;
    auto worker = [&] {
        const fs::path folder = WorkerFolder();
        for (size_t i = next++; i < jobs.size(); i = next++) {
            const Job& job = jobs[i];
            const auto where = std::string(operations[job.op].name) + ", " + job.fault->name + " at report " +
                               std::to_string(job.report);
            SCOPED_TRACE(where);
            fs::remove_all(folder);
            SweepRig rig(model, folder);
            rig.readBack();  // connected as the program connects
            const Snapshot before = rig.snapshot();
            rig.dev.restartCount();
            Fault fault = Fault::AtReport(job.report, job.fault->kind);
            fault.delay = std::chrono::milliseconds(job.fault->delayMs);
            rig.dev.device->addFault(fault);

            const int32_t result = operations[job.op].run(rig);
            const Snapshot after = rig.snapshot();
            if (result == protocol::kOk) {
                ++succeeded;
                EXPECT_TRUE(after == cleanAfter[job.op]) << "succeeded, but not as a fault-free run does";
            } else {
                EXPECT_TRUE(after == before || after == partialAfter[job.op] || after == cleanAfter[job.op])
                    << "failed (" << result << ") and changed the models or profiles";
            }
            // Whatever is still on its way: the next read-back sees the device's memory.
            if (!rig.dev.device->plugged()) {
                rig.dev.device->plug();
                ASSERT_TRUE(rig.dev.connection.device.open());
            }
            rig.expectDeviceMemory();
            if (::testing::Test::HasFailure()) {
                std::lock_guard lock(reportMutex);
                if (++failedCases > 5) return;  // enough to read; do not flood the log
            }
        }
        fs::remove_all(folder);
    };
    std::vector<std::thread> pool;
    for (int w = 0; w < kWorkers; ++w) pool.emplace_back(worker);
    for (auto& t : pool) t.join();
    RecordProperty("cases", int(jobs.size()));
    std::printf("[   SWEEP  ] %s: %zu cases over %zu operations, %zu succeeded despite the fault\n",
                std::string(device::Identity(model).shortName).c_str(), jobs.size(), operations.size(),
                succeeded.load());
}

INSTANTIATE_TEST_SUITE_P(AllModels, FaultSweep,
                         ::testing::Values(DeviceModel::RgbKeyboard, DeviceModel::MonoKeyboard, DeviceModel::Mouse,
                                           DeviceModel::Mouse2, DeviceModel::Mousepad),
                         [](const auto& info) { return std::string(device::Identity(info.param).shortName); });

}  // namespace
}  // namespace orvane
