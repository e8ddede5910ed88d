// SPDX-License-Identifier: GPL-3.0-or-later
// The runtime on emulated devices: its device work saves the selected profiles only from a
// read that came whole, and the whole runtime comes down cleanly while every kind of thread
// is busy (monitors, lighting workers streaming, job queues with work in hand).
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>

#include "integration/runtime_rig.h"
#include "device/discovery.h"
#include "device/presence.h"
#include "platform/pointer_settings.h"
#include "runtime/runtime.h"
#include "sim/emulator.h"

namespace orvane {
namespace {

using device::DeviceKind;
using device::DeviceModel;
using profiles::ListId;

TEST(RuntimeDeviceWork, ProfilesAreSavedOnlyFromAReadThatCameWhole) {
    struct Case {
        DeviceModel model;
        ListId list;  // the profile the read-back saves into
    };
    for (const auto& c : {Case{DeviceModel::Mouse, ListId::MouseKeys}, Case{DeviceModel::Mousepad, ListId::PadLighting},
                          Case{DeviceModel::RgbKeyboard, ListId::KeyboardKeys}}) {
        SCOPED_TRACE(int(c.model));
        RuntimeRig rig({c.model});
        const auto kind = device::RowOf(c.model).kind;
        const auto file = *rig.rt->store.profilePath(c.list, "New Profile 1");
        ASSERT_EQ(rig.arrive(kind).readBack, protocol::kOk);
        // Mark the stored profile, so that any later save shows.
        std::string marked = FileBytes(file);
        marked[16] = char(0x5A);
        std::ofstream(file, std::ios::binary) << marked;
        // Taken in as the program's own file: a lighting file changed behind the store's back
        // is not saved over (another program's change), and the marker must not count as one.
        auto& store = rig.rt->store;
        ASSERT_EQ(store.loadProfile(c.list, store.recordedSelection(c.list)), profiles::ReadResult::Read);

        // The device stops answering at the third report of the re-read: nothing is saved.
        rig.device(c.model).resetCounters();
        rig.device(c.model).addFault(sim::Fault::AtReport(3, sim::FaultKind::NoReply));
        rig.device(c.model).addFault(sim::Fault::AtReport(4, sim::FaultKind::NoReply));
        rig.device(c.model).addFault(sim::Fault::AtReport(5, sim::FaultKind::NoReply));
        rig.device(c.model).addFault(sim::Fault::AtReport(6, sim::FaultKind::NoReply));
        EXPECT_NE(rig.rt->readBack(kind), protocol::kOk);
        EXPECT_EQ(FileBytes(file), marked);

        // A whole re-read saves what the device holds.
        EXPECT_EQ(rig.rt->readBack(kind), protocol::kOk);
        EXPECT_NE(FileBytes(file), marked);
    }
}

// A presence client that does the runtime's arrival and nothing on a window.
struct QuietPresence final : device::PresenceClient {
    explicit QuietPresence(runtime::Runtime& r, DeviceKind k) : rt(r), kind(k) {}
    void connectDeviceWork(const hid::InterfaceInfo& a) override { rt.arrive(kind, a); }
    void connectUi(std::stop_token) override {}
    void disconnectUi(std::stop_token) override {}
    runtime::Runtime& rt;
    DeviceKind kind;
};

TEST(RuntimeShutdown, EverythingComesDownInOrderWhileEveryThreadIsBusy) {
    for (int round = 0; round < 3; ++round) {
        RuntimeRig rig({DeviceModel::RgbKeyboard, DeviceModel::Mouse, DeviceModel::Mousepad});
        for (auto m : {DeviceModel::RgbKeyboard, DeviceModel::Mouse, DeviceModel::Mousepad})
            rig.device(m).setLink({std::chrono::microseconds(200)});  // slow enough to be caught mid-report
        auto& rt = *rig.rt;
        std::vector<std::unique_ptr<QuietPresence>> clients;
        std::vector<std::unique_ptr<device::PresenceMonitor>> monitors;
        const std::array<runtime::WorkerSlot, 3> slots{runtime::WorkerSlot::KeyboardPresence,
                                                       runtime::WorkerSlot::MousePresence,
                                                       runtime::WorkerSlot::MousepadPresence};
        for (DeviceKind k : runtime::kDeviceKinds) {
            std::vector<uint16_t> products;
            for (const auto& m : device::kModels)
                if (m.kind == k) products.push_back(m.productId);
            clients.push_back(std::make_unique<QuietPresence>(rt, k));
            monitors.push_back(std::make_unique<device::PresenceMonitor>(rt.connection(k), products, *clients.back(), "end"));
            rt.workers.plug(slots[runtime::IndexOf(k)], {"presence", [m = monitors.back().get()](std::stop_token s) { m->run(s); }, {}});
        }
        using lighting::AnimationEngine;
        rt.workers.plug(runtime::WorkerSlot::KeyboardLighting, {"kb", [&rt](std::stop_token s) { rt.lighting.runKeyboard(s); }, {}});
        rt.workers.plug(runtime::WorkerSlot::MouseLighting, {"ms", [&rt](std::stop_token s) { rt.lighting.runMouse(s); }, {}});
        rt.workers.plug(runtime::WorkerSlot::MousepadLighting, {"mp", [&rt](std::stop_token s) { rt.lighting.runPad(s); }, {}});
        rt.start();
        // Work in hand on every queue when the stop comes.
        for (int i = 0; i < 20; ++i)
            for (DeviceKind k : runtime::kDeviceKinds)
                rt.jobs(k).submit({.name = "re-read", .needsDevice = false}, [&rt, k] { rt.readBack(k); });
        std::this_thread::sleep_for(std::chrono::milliseconds(150 + 50 * round));
        EXPECT_EQ(rt.stop(), runtime::StopOutcome::AllEnded);
        rig.rt.reset();  // then the monitors and their clients
        monitors.clear();
        clients.clear();
    }
}

}  // namespace
}  // namespace orvane
