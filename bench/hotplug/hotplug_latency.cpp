// SPDX-License-Identifier: GPL-3.0-or-later
// Hot-plug latency on the umockdev test bed, 0 ms link. A mouse is added to the bed and
// removed again, many times, while a presence monitor runs as in the program. Measured from
// the configuration node's "add" event to the monitor's connect (interface opened and
// verified), to the end of the connect work (the mouse's read-back) and to the page work
// (connectUi); and from the removal to the disconnect. With --no-udev the monitor has only
// its periodic scans (1 s) and probes (100 ms), as where udev cannot be reached.
//
// Needs umockdev's preload: bench/measure_hotplug.sh BUILD_DIR [ITERATIONS] [--no-udev]

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "device/hid/hidapi_backend.h"
#include "device/hotplug.h"
#include "device/models.h"
#include "device/presence.h"
#include "mouse/mouse_device.h"
#include "sim/hidraw_bed.h"

using namespace orvane;
using Clock = std::chrono::steady_clock;

namespace {

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Records when each step of a connect and a disconnect happened.
struct TimingClient : device::PresenceClient {
    TimingClient(protocol::DeviceConnection& c) : connection(c) {}
    protocol::DeviceConnection& connection;
    mouse::MouseModel model;
    std::mutex mutex;
    std::condition_variable changed;
    Clock::time_point connected, readBackDone, shown, gone;
    int32_t readBackResult = 0;

    void connectDeviceWork(const hid::InterfaceInfo&) override {
        const auto t = Clock::now();
        const int32_t result = mouse::ReadBackMouse(connection, model);
        std::lock_guard lock(mutex);
        connected = t;
        readBackDone = Clock::now();
        readBackResult = result;
    }
    void connectUi(std::stop_token) override { mark(shown); }
    void disconnectUi(std::stop_token) override { mark(gone); }
    void mark(Clock::time_point& at) {
        std::lock_guard lock(mutex);
        at = Clock::now();
        changed.notify_all();
    }
    bool waitFor(Clock::time_point& at, Clock::time_point after) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(5), [&] { return at > after; });
    }
};

struct Series {
    const char* name;
    std::vector<double> ms;
    void print() {
        std::sort(ms.begin(), ms.end());
        if (ms.empty()) return;
        auto at = [&](double q) { return ms[std::min(ms.size() - 1, static_cast<size_t>(q * (ms.size() - 1) + 0.5))]; };
        std::printf("  %-38s median %8.2f ms   p90 %8.2f ms   max %8.2f ms\n", name, at(0.5), at(0.9), ms.back());
    }
};

}  // namespace

int main(int argc, char** argv) {
    int iterations = 20;
    bool udev = true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--no-udev") == 0) udev = false;
        else iterations = std::max(1, std::atoi(argv[i]));
    }
    if (!sim::HidrawBed::Available()) {
        std::fprintf(stderr, "orvane_hotplug_bench: run under umockdev-wrapper (bench/measure_hotplug.sh)\n");
        return 2;
    }
    sim::EmulatorBackend emulator;
    emulator.setLink({std::chrono::microseconds(0)});
    sim::HidrawBed bed;
    hid::HidapiBackend hidapi;
    device::HotplugSignal signal;
    device::UdevHotplugWatcher watcher(signal);
    if (udev && !watcher.start()) {
        std::fprintf(stderr, "orvane_hotplug_bench: udev's monitor cannot be opened\n");
        return 1;
    }
    protocol::DeviceConnection connection(hidapi, "ms");
    connection.vendorId = device::kPeripheralVendor;
    connection.usagePage = device::kConfigUsagePage;
    connection.usage = device::kConfigUsage;
    TimingClient client(connection);
    device::PresenceMonitor monitor(connection, {0x5523, 0x6717}, client, "exit", signal);
    std::jthread worker([&](std::stop_token stop) { monitor.run(stop); });

    Series connected{"add event -> connected (open, verify)", {}}, readBack{"read-back of the mouse", {}},
        shown{"add event -> page work (connectUi)", {}}, removed{"removal -> disconnect noticed", {}};
    std::mt19937 random(16);
    // Arrivals and removals fall anywhere in the monitor's period.
    std::uniform_int_distribution<int> pause(0, udev ? 100 : 1000);
    int failures = 0;
    for (int i = 0; i < iterations; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(pause(random)));
        auto& mouse = emulator.add(device::DeviceModel::Mouse);
        bed.add(emulator, mouse);  // the configuration node's "add" event is its last step
        const auto added = Clock::now();
        if (!client.waitFor(client.shown, added) || client.readBackResult != protocol::kOk) {
            ++failures;
            continue;
        }
        {
            std::lock_guard lock(client.mutex);
            connected.ms.push_back(Ms(client.connected - added));
            readBack.ms.push_back(Ms(client.readBackDone - client.connected));
            shown.ms.push_back(Ms(client.shown - added));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(pause(random)));
        const auto removing = Clock::now();
        bed.remove(mouse);
        mouse.unplug();
        if (!client.waitFor(client.gone, removing)) {
            ++failures;
            continue;
        }
        std::lock_guard lock(client.mutex);
        removed.ms.push_back(Ms(client.gone - removing));
    }
    worker.request_stop();
    worker.join();
    std::printf("hot-plug on the umockdev bed, %s, %d arrivals and removals of a mouse (0 ms link)\n",
                udev ? "udev monitor on" : "no udev monitor (scans and probes only)", iterations);
    for (auto* s : {&connected, &readBack, &shown, &removed}) s->print();
    if (failures) std::printf("  %d arrivals or removals not seen within 5 s\n", failures);
    return failures ? 1 : 0;
}
