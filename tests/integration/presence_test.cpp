// SPDX-License-Identifier: GPL-3.0-or-later
// The presence monitor against emulated devices: connect, disconnect, identities accepted
// and refused, the lock released for the UI work, late arrivals and prompt stops.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <future>
#include <thread>

#include "device/models.h"
#include "device/presence.h"
#include "sim/emulator.h"
#include "support/eventually.h"

namespace orvane {
namespace {

using device::DeviceModel;

struct RecordingClient : device::PresenceClient {
    explicit RecordingClient(protocol::DeviceConnection& c) : connection(c) {}
    protocol::DeviceConnection& connection;
    std::vector<std::string> events;
    uint16_t lastProduct = 0xFFFF;
    bool lockFreeDuringUi = true;

    bool lockIsFree() {
        // Try from another thread: the lock is recursive, so this thread could always take it.
        return std::async(std::launch::async, [this] {
                   if (!connection.lock.try_lock()) return false;
                   connection.lock.unlock();
                   return true;
               }).get();
    }
    void connectDeviceWork(const hid::InterfaceInfo& a) override {
        events.push_back(connection.connected ? "work(connected)" : "work(not connected)");
        lastProduct = a.productId;
    }
    void connectUi(std::stop_token) override {
        lockFreeDuringUi = lockFreeDuringUi && lockIsFree();
        events.push_back("connectUi");
    }
    void presentUi(std::stop_token) override { events.push_back("present"); }
    void disconnectUi(std::stop_token) override {
        lockFreeDuringUi = lockFreeDuringUi && lockIsFree();
        events.push_back(connection.connected || connection.syncLighting ? "gone(flags set)" : "gone");
    }
};

// Lists the emulator's interfaces in reverse, so a device's notification interface (same
// vendor and product, other usage page) is offered before its configuration interface.
struct ReversedBackend : sim::EmulatorBackend {
    bool enumerate(std::vector<hid::InterfaceInfo>& out) override {
        if (!sim::EmulatorBackend::enumerate(out)) return false;
        std::reverse(out.begin(), out.end());
        return true;
    }
};

struct MonitorRig {
    explicit MonitorRig(device::DeviceKind kind, device::HotplugSignal& hotplug = device::SystemHotplug())
        : connection(backend, "x") {
        backend.setLink({std::chrono::microseconds(0)});
        const bool keyboard = kind == device::DeviceKind::Keyboard;
        connection.vendorId = keyboard ? device::kKeyboardVendor : device::kPeripheralVendor;
        connection.usagePage = device::kConfigUsagePage;
        connection.usage = device::kConfigUsage;
        std::vector<uint16_t> products;
        for (const auto& m : device::kModels)
            if (m.kind == kind) products.push_back(m.productId);
        monitor = std::make_unique<device::PresenceMonitor>(connection, products, client, "exit", hotplug);
    }
    ReversedBackend backend;
    protocol::DeviceConnection connection;
    RecordingClient client{connection};
    std::unique_ptr<device::PresenceMonitor> monitor;
};

TEST(PresenceMonitor, AcceptsEachModelOfItsKindOnly) {
    struct Case { const char* present; device::DeviceKind kind; bool found; uint16_t product; };
    for (const auto& c : {Case{"kb", device::DeviceKind::Keyboard, true, 0x3021},
                          Case{"kb1", device::DeviceKind::Keyboard, true, 0x0000},
                          Case{"ms2", device::DeviceKind::Mouse, true, 0x6717},
                          Case{"mp,ms", device::DeviceKind::Mouse, true, 0x5523},
                          Case{"ms", device::DeviceKind::Mousepad, false, 0},
                          Case{"mp", device::DeviceKind::Mouse, false, 0}}) {
        MonitorRig rig(c.kind);
        rig.backend.addFromList(c.present);
        ASSERT_TRUE(rig.monitor->pass({}));
        EXPECT_EQ(rig.connection.connected.load(), c.found) << c.present;
        if (c.found) {
            EXPECT_EQ(rig.client.lastProduct, c.product) << c.present;
            EXPECT_EQ(rig.client.events, (std::vector<std::string>{"work(connected)", "connectUi"}));
            EXPECT_EQ(rig.connection.device.caps().usagePage, device::kConfigUsagePage);
        } else {
            EXPECT_TRUE(rig.client.events.empty());
        }
    }
}

TEST(PresenceMonitor, ConnectProbeDisconnectReconnect) {
    MonitorRig rig(device::DeviceKind::Mouse);
    auto& mouse = rig.backend.add(DeviceModel::Mouse);
    ASSERT_TRUE(rig.monitor->pass({}));
    ASSERT_TRUE(rig.monitor->pass({}));
    rig.connection.syncLighting = true;
    mouse.unplug();
    ASSERT_TRUE(rig.monitor->pass({}));
    EXPECT_FALSE(rig.connection.connected);
    ASSERT_TRUE(rig.monitor->pass({}));  // nothing there: a scan that finds nothing
    mouse.plug();
    ASSERT_TRUE(rig.monitor->pass({}));
    EXPECT_TRUE(rig.connection.connected);
    EXPECT_EQ(rig.client.events, (std::vector<std::string>{"work(connected)", "connectUi", "present", "gone",
                                                           "work(connected)", "connectUi"}));
    EXPECT_TRUE(rig.client.lockFreeDuringUi);
}

TEST(PresenceMonitor, ADeviceThatArrivesLaterIsFoundOnALaterPass) {
    MonitorRig rig(device::DeviceKind::Mousepad);
    ASSERT_TRUE(rig.monitor->pass({}));
    EXPECT_FALSE(rig.connection.connected);
    rig.backend.add(DeviceModel::Mousepad);
    ASSERT_TRUE(rig.monitor->pass({}));
    EXPECT_TRUE(rig.connection.connected);
}

// Polls pred until it holds or a generous bound passes.
using testing::Eventually;

TEST(PresenceMonitor, AHotplugEventStartsTheNextPassAtOnce) {
    // The sleep between passes is an hour here: only the event can start the pass that finds
    // the mouse, and then the one that sees it gone.
    device::HotplugSignal hotplug;
    MonitorRig rig(device::DeviceKind::Mouse, hotplug);
    std::atomic<int> passes{0};
    std::jthread worker([&](std::stop_token stop) {
        while (rig.monitor->pass(stop)) {
            ++passes;
            if (!rig.monitor->wait(stop, std::chrono::hours(1))) break;
        }
    });
    ASSERT_TRUE(Eventually([&] { return passes > 0; }));
    auto& mouse = rig.backend.add(DeviceModel::Mouse);
    hotplug.raise();
    EXPECT_TRUE(Eventually([&] { return rig.connection.connected.load(); }));
    mouse.unplug();
    hotplug.raise();
    EXPECT_TRUE(Eventually([&] { return !rig.connection.connected.load(); }));
    worker.request_stop();
    worker.join();
    EXPECT_EQ(rig.client.events, (std::vector<std::string>{"work(connected)", "connectUi", "gone"}));
}

TEST(PresenceMonitor, StopEndsTheLoopPromptlyWhetherScanningOrProbing) {
    for (const bool withDevice : {false, true}) {
        MonitorRig rig(device::DeviceKind::Mouse);
        if (withDevice) rig.backend.add(DeviceModel::Mouse);
        std::promise<void> ended;
        std::jthread worker([&](std::stop_token stop) {
            rig.monitor->run(stop);
            ended.set_value();
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        worker.request_stop();
        EXPECT_EQ(ended.get_future().wait_for(std::chrono::seconds(5)), std::future_status::ready);
        EXPECT_EQ(rig.connection.connected.load(), withDevice);
    }
}

TEST(PresenceMonitor, EnumerationFailureEndsTheMonitor) {
    struct Failing : sim::EmulatorBackend {
        bool enumerate(std::vector<hid::InterfaceInfo>&) override { return false; }
    } backend;
    protocol::DeviceConnection connection(backend, "ms");
    RecordingClient client(connection);
    device::PresenceMonitor monitor(connection, {0x5523}, client, "exit");
    EXPECT_FALSE(monitor.pass({}));
    std::jthread worker([&](std::stop_token stop) { monitor.run(stop); });
    worker.join();  // ends by itself
}

}  // namespace
}  // namespace orvane
