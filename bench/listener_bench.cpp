// SPDX-License-Identifier: GPL-3.0-or-later
// The notification listeners against emulated devices: how long a stop takes to end both
// while the mouse's listener waits in a read (its read time-out is 500 ms; the stop aborts
// the read), and how long from a mouse notification to its reaction on the listener's thread.

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "device/notification_listener.h"
#include "sim/emulator.h"

using namespace orvane;
using device::DeviceModel;

namespace {

void WaitFor(const std::function<bool()>& ok) {
    while (!ok()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void BM_ListenersStop(benchmark::State& state) {
    sim::EmulatorBackend backend;
    backend.add(DeviceModel::Mouse);
    backend.add(DeviceModel::RgbKeyboard);
    for (auto _ : state) {
        state.PauseTiming();
        device::NotificationListener mouse(backend, {{DeviceModel::Mouse}, true, "mouse"});
        device::NotificationListener keyboard(backend, {{DeviceModel::RgbKeyboard}, false, "keyboard"});
        std::jthread m([&](std::stop_token s) { mouse.run(s, [](uint16_t) {}); });
        std::jthread k([&](std::stop_token s) { keyboard.run(s, {}); });
        WaitFor([&] { return mouse.found() && keyboard.found(); });
        std::this_thread::sleep_for(std::chrono::milliseconds(20));  // the mouse's read is waiting
        state.ResumeTiming();
        m.request_stop();
        k.request_stop();
        m.join();
        k.join();
    }
}
BENCHMARK(BM_ListenersStop)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();

void BM_MouseNotificationToReaction(benchmark::State& state) {
    sim::EmulatorBackend backend;
    auto& device = backend.add(DeviceModel::Mouse);
    device::NotificationListener mouse(backend, {{DeviceModel::Mouse}, true, "mouse"});
    std::atomic<uint64_t> seen{0};
    std::jthread m([&](std::stop_token s) { mouse.run(s, [&](uint16_t) { ++seen; }); });
    WaitFor([&] { return mouse.found(); });
    for (auto _ : state) {
        const uint64_t before = seen.load();
        device.sendNotification(0x0403);
        WaitFor([&] { return seen.load() != before; });
    }
}
BENCHMARK(BM_MouseNotificationToReaction)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
