// SPDX-License-Identifier: GPL-3.0-or-later
// The notification listeners against emulated devices: the mouse's usages handed on one at a
// time (an empty usage list is nothing), unplug and replug of both listeners' interfaces,
// and a stop that ends a waiting read at once.

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "device/notification_listener.h"
#include "sim/emulator.h"

namespace orvane {
namespace {

using device::DeviceModel;
using namespace std::chrono_literals;

bool WaitFor(const std::function<bool()>& ok, std::chrono::milliseconds limit = 5s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!ok()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

struct ListenerRig {
    sim::EmulatorBackend backend;
    std::unique_ptr<device::NotificationListener> listener;
    std::mutex mutex;
    std::vector<uint16_t> usages;
    std::jthread thread;

    ListenerRig(DeviceModel model, bool reads) {
        backend.add(model);
        const auto kind = device::RowOf(model).kind;
        std::vector<DeviceModel> models;
        for (const auto& m : device::kModels)
            if (m.kind == kind) models.push_back(m.model);
        listener = std::make_unique<device::NotificationListener>(backend, device::ListenerConfig{models, reads, "exit"});
        thread = std::jthread([this](std::stop_token stop) {
            listener->run(stop, [this](uint16_t usage) {
                std::lock_guard lock(mutex);
                usages.push_back(usage);
            });
        });
    }
    std::vector<uint16_t> seen() {
        std::lock_guard lock(mutex);
        return usages;
    }
    sim::EmulatedDevice& device() { return *backend.devices().front(); }
};

TEST(NotificationListener, HandsOnEachMouseUsageOnce) {
    ListenerRig rig(DeviceModel::Mouse, true);
    ASSERT_TRUE(WaitFor([&] { return rig.listener->found(); }));
    rig.device().sendNotification(0x0402);
    rig.device().sendNotification(0);  // all usages released: nothing
    rig.device().sendNotification(0x0401);
    rig.device().sendNotification(0x0403);
    ASSERT_TRUE(WaitFor([&] { return rig.seen().size() >= 3; }));
    std::this_thread::sleep_for(100ms);  // nothing more comes
    EXPECT_EQ(rig.seen(), (std::vector<uint16_t>{0x0402, 0x0401, 0x0403}));
    // It only listens: nothing was written to the mouse.
    EXPECT_EQ(rig.device().requestCount(), 0u);
}

TEST(NotificationListener, FindsTheInterfaceAgainAfterAReplug) {
    for (const auto& [model, reads] : {std::pair{DeviceModel::Mouse, true}, std::pair{DeviceModel::RgbKeyboard, false}}) {
        SCOPED_TRACE(device::RowOf(model).shortName);
        ListenerRig rig(model, reads);
        ASSERT_TRUE(WaitFor([&] { return rig.listener->found(); }));
        rig.device().unplug();
        ASSERT_TRUE(WaitFor([&] { return !rig.listener->found(); }));
        rig.device().plug();
        // Scanning every second: found again within about that (generous bound).
        ASSERT_TRUE(WaitFor([&] { return rig.listener->found(); }, 5s));
        if (reads) {
            rig.device().sendNotification(0x0402);
            EXPECT_TRUE(WaitFor([&] { return rig.seen().size() == 1; }));
        }
    }
}

TEST(NotificationListener, StopEndsAWaitingReadAndTheHold) {
    ListenerRig mouse(DeviceModel::Mouse, true);
    ListenerRig keyboard(DeviceModel::RgbKeyboard, false);
    ASSERT_TRUE(WaitFor([&] { return mouse.listener->found() && keyboard.listener->found(); }));
    mouse.thread.request_stop();
    keyboard.thread.request_stop();
    mouse.thread.join();
    keyboard.thread.join();
    EXPECT_FALSE(mouse.listener->found());
    EXPECT_FALSE(keyboard.listener->found());
}

}  // namespace
}  // namespace orvane
