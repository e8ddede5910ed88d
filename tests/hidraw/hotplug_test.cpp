// SPDX-License-Identifier: GPL-3.0-or-later
// Instant hot-plug on the test bed's udev events: the watcher raises the signal for each
// hidraw node added and removed, and a presence monitor whose sleeps between passes last an
// hour connects a device added to the bed and notices its removal: only the events can
// start those passes.

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "device/hotplug.h"
#include "device/models.h"
#include "device/presence.h"
#include "support/device_bed.h"
#include "support/eventually.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using device::DeviceModel;

using testing::Eventually;

TEST(UdevHotplug, TheWatcherRaisesTheSignalForEachNodeAddedAndRemoved) {
    testing::DeviceBed bed;  // first: the watcher's monitor must be one of the bed's
    device::HotplugSignal signal;
    device::UdevHotplugWatcher watcher(signal);
    ASSERT_TRUE(watcher.start());
    device::HotplugWaiter waiter(signal);

    auto& mouse = bed.add(DeviceModel::Mouse);
    EXPECT_TRUE(waiter.wait({}, 1h));
    EXPECT_TRUE(waiter.wokenByChange());
    EXPECT_TRUE(Eventually([&] { return watcher.events() == 2; })) << "two hidraw nodes; no other subsystem";
    bed.unplug(mouse);
    EXPECT_TRUE(waiter.wait({}, 1h));
    EXPECT_TRUE(waiter.wokenByChange());
    EXPECT_TRUE(Eventually([&] { return watcher.events() == 4; }));
    watcher.stop();
}

struct CountingClient : device::PresenceClient {
    std::atomic<int> connects{0}, gone{0};
    void connectDeviceWork(const hid::InterfaceInfo&) override {}
    void connectUi(std::stop_token) override { ++connects; }
    void disconnectUi(std::stop_token) override { ++gone; }
};

TEST(UdevHotplug, AMonitorConnectsADeviceAddedToTheBedAndNoticesItsRemovalWithoutWaitingForAScan) {
    testing::DeviceBed bed;
    device::HotplugSignal signal;
    device::UdevHotplugWatcher watcher(signal);
    ASSERT_TRUE(watcher.start());
    protocol::DeviceConnection connection(bed.backend(), "ms");
    connection.vendorId = device::kPeripheralVendor;
    connection.usagePage = device::kConfigUsagePage;
    connection.usage = device::kConfigUsage;
    CountingClient client;
    device::PresenceMonitor monitor(connection, {0x5523, 0x6717}, client, "exit", signal);
    std::atomic<int> passes{0};
    std::jthread worker([&](std::stop_token stop) {
        while (monitor.pass(stop)) {
            ++passes;
            if (!monitor.wait(stop, 1h)) break;
        }
    });
    ASSERT_TRUE(Eventually([&] { return passes > 0; }));

    auto& mouse = bed.add(DeviceModel::Mouse2);
    EXPECT_TRUE(Eventually([&] { return client.connects == 1; }));
    EXPECT_TRUE(connection.connected);
    bed.unplug(mouse);
    EXPECT_TRUE(Eventually([&] { return client.gone == 1; }));
    EXPECT_FALSE(connection.connected);
    worker.request_stop();
}

}  // namespace
}  // namespace orvane
