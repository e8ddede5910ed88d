// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// PresenceMonitor: the worker body that finds a device's configuration interface, opens and
// verifies it, and then watches that it stays. While connected it probes every 100 ms;
// otherwise it scans every 1000 ms; a hot-plug event (hotplug.h) starts the next pass at once. The device work of a pass (open, verify, read-back) runs
// under the connection's lock; the page and window work runs after the lock is released, so
// a monitor never waits for the UI thread while UI-thread commands could need its lock.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <stop_token>
#include <string>
#include <vector>

#include "device/hid/hid_types.h"
#include "device/hotplug.h"
#include "device/protocol/connection.h"

namespace orvane::device {

/// What a device kind does when it comes and goes. Implemented by the application for each
/// kind; the tests implement it to record the order of events.
class PresenceClient {
public:
    virtual ~PresenceClient() = default;
    /// On the monitor's thread with the connection locked and `connected` already set: the
    /// device work of the connect actions (read-backs). `attributes` are the opened
    /// interface's identity (product id, version number).
    virtual void connectDeviceWork(const hid::InterfaceInfo& attributes) = 0;
    /// After the lock is released: the page and window work of the connect actions.
    virtual void connectUi(std::stop_token stop) = 0;
    /// After each successful probe, lock released (same-mode option visibility).
    virtual void presentUi(std::stop_token) {}
    /// After a scan that found none (lock released): whether one was there that this user
    /// may not open.
    virtual void absentUi(std::stop_token, bool /*notAccessible*/) {}
    /// After the device is gone (connected and syncLighting already cleared), lock released.
    virtual void disconnectUi(std::stop_token stop) = 0;
};

class PresenceMonitor {
public:
    static constexpr std::chrono::milliseconds kProbePeriod{100};
    static constexpr std::chrono::milliseconds kScanPeriod{1000};

    /// The connection carries the expected vendor id, usage page and usage; `products` lists
    /// the product ids this kind accepts. `hotplug` cuts the sleep between passes short when
    /// devices come or go.
    PresenceMonitor(protocol::DeviceConnection& connection, std::vector<uint16_t> products,
                    PresenceClient& client, std::string exitText, HotplugSignal& hotplug = SystemHotplug());

    /// The thread body: runs until stop is requested (noticed at once, even while sleeping)
    /// or enumeration fails. A read-back in progress finishes first.
    void run(std::stop_token stop);

    /// The sleep between passes: `period`, or less when devices came or went since the last
    /// one. false when stop was requested.
    bool wait(std::stop_token stop, std::chrono::milliseconds period) { return wake_.wait(stop, period); }

    /// One pass (probe, or scan with connect); for tests. Returns false when enumeration
    /// failed and the monitor must end.
    bool pass(std::stop_token stop);
    /// Passes completed so far (the devices present at start are in after the first).
    int passes() const { return passes_; }
    /// The last scan saw a device of this kind whose node this user may not open.
    bool notAccessible() const { return notAccessible_; }

private:
    enum class Event { None, Connected, StillPresent, Gone };
    Event probeOrScan(bool& enumerationFailed);
    bool verify(const hid::InterfaceInfo& attributes, const hid::ReportLayout& caps) const;

    protocol::DeviceConnection& connection_;
    std::vector<uint16_t> products_;
    PresenceClient& client_;
    std::string exitText_;
    std::atomic<int> passes_{0};
    std::atomic<bool> notAccessible_{false};
    HotplugWaiter wake_;
};

}  // namespace orvane::device
