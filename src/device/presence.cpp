// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/presence.h"

#include <algorithm>

#include "device/log.h"
#include "platform/stop_wait.h"

namespace orvane::device {

PresenceMonitor::PresenceMonitor(protocol::DeviceConnection& connection, std::vector<uint16_t> products,
                                 PresenceClient& client, std::string exitText, HotplugSignal& hotplug)
    : connection_(connection), products_(std::move(products)), client_(client), exitText_(std::move(exitText)),
      wake_(hotplug) {}

bool PresenceMonitor::verify(const hid::InterfaceInfo& a, const hid::ReportLayout& caps) const {
    return a.vendorId == connection_.vendorId &&
           std::find(products_.begin(), products_.end(), a.productId) != products_.end() &&
           caps.usagePage == connection_.usagePage && caps.usage == connection_.usage;
}

PresenceMonitor::Event PresenceMonitor::probeOrScan(bool& enumerationFailed) {
    std::lock_guard guard(connection_.lock);
    auto& device = connection_.device;
    if (connection_.connected) {
        if (device.probePresent()) return Event::StillPresent;
        connection_.connected = false;
        connection_.syncLighting = false;
        return Event::Gone;
    }
    if (!device.enumeratePaths()) {
        enumerationFailed = true;
        return Event::None;
    }
    Event event = Event::None;
    bool denied = false;
    for (; device.pathCursor < device.pathList.size(); ++device.pathCursor) {
        const hid::InterfaceInfo& candidate = device.pathList[device.pathCursor];
        if (candidate.vendorId != connection_.vendorId) continue;
        device.mode = hid::OpenMode{.read = true, .write = true, .exclusive = false};
        device.path = candidate.path;
        hid::OpenError error = hid::OpenError::None;
        if (!device.open(&error)) {
            // One of ours that this user may not open: the udev rule is missing.
            denied = denied || (error == hid::OpenError::PermissionDenied &&
                                std::find(products_.begin(), products_.end(), candidate.productId) != products_.end());
            continue;
        }
        const hid::InterfaceInfo attributes = device.attributes();
        if (!verify(attributes, device.caps())) {
            device.close();
            continue;
        }
        connection_.connected = true;
        client_.connectDeviceWork(attributes);
        event = Event::Connected;
        break;
    }
    device.freePaths();
    notAccessible_ = event == Event::None && denied;
    return event;
}

bool PresenceMonitor::pass(std::stop_token stop) {
    bool enumerationFailed = false;
    const Event event = probeOrScan(enumerationFailed);
    // The lock is released here: the UI work below may wait for the UI thread.
    switch (event) {
    case Event::Connected: client_.connectUi(stop); break;
    case Event::StillPresent: client_.presentUi(stop); break;
    case Event::Gone: client_.disconnectUi(stop); break;
    case Event::None: client_.absentUi(stop, notAccessible_); break;
    }
    ++passes_;
    return !enumerationFailed;
}

void PresenceMonitor::run(std::stop_token stop) {
    while (!stop.stop_requested()) {
        if (!pass(stop)) break;
        const auto period = connection_.connected ? kProbePeriod : kScanPeriod;
        if (!wait(stop, period)) break;
    }
    Log(exitText_);
}

}  // namespace orvane::device
