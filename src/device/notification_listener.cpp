// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/notification_listener.h"

#include <algorithm>
#include <mutex>

#include "device/log.h"
#include "platform/stop_wait.h"

namespace orvane::device {

uint16_t FirstUsage(const std::vector<hid::InputDataItem>& items) {
    if (items.empty() || items.front().usages.empty()) return 0;
    return items.front().usages.front();
}

NotificationListener::NotificationListener(hid::Backend& backend, ListenerConfig config)
    : device_(backend), config_(std::move(config)) {}

bool NotificationListener::matches(const hid::InterfaceInfo& info) const {
    return std::any_of(config_.models.begin(), config_.models.end(), [&](DeviceModel m) {
        const ModelRow& row = RowOf(m);
        return info.vendorId == row.vendorId && info.productId == row.productId;
    });
}

bool NotificationListener::scan() {
    if (!device_.enumeratePaths()) return false;
    for (; device_.pathCursor < device_.pathList.size(); ++device_.pathCursor) {
        const hid::InterfaceInfo& candidate = device_.pathList[device_.pathCursor];
        // The path's ids first (cheap), then what the opened interface says of itself.
        if (!matches(candidate)) continue;
        device_.mode = hid::OpenMode{.read = true, .write = false, .exclusive = false};
        device_.path = candidate.path;
        if (!device_.open()) continue;
        const hid::ReportLayout caps = device_.caps();
        if (matches(device_.attributes()) && caps.usagePage == kConsumerUsagePage &&
            caps.usage == kConsumerUsage) {
            found_ = true;
            break;
        }
        device_.close();
    }
    device_.freePaths();
    return true;
}

void NotificationListener::lost() {
    device_.close();
    found_ = false;
}

void NotificationListener::readUntilGone(std::stop_token stop, const React& react) {
    // A stop aborts the read in progress (and a read started after it fails at once).
    std::stop_callback abortRead(stop, [this] { device_.abort(); });
    while (!stop.stop_requested()) {
        size_t got = 0;
        if (!device_.readReport(device_.inputReport, kReadTimeoutMs, got) || got == 0) {
            if (stop.stop_requested()) return;
            if (!device_.probePresent()) return lost();
            continue;  // a time-out with the device present is the idle case
        }
        device_.unpackInput(got);
        if (const uint16_t usage = FirstUsage(device_.inputItems); usage != 0) {
            ++reactions_;
            react(usage);
        }
    }
}

void NotificationListener::holdUntilGone(std::stop_token stop) {
    while (platform::SleepUnlessStopped(stop, kProbePeriod))
        if (!device_.probePresent()) return lost();
}

void NotificationListener::run(std::stop_token stop, const React& react) {
    while (!stop.stop_requested()) {
        if (!found_) {
            if (!scan()) break;  // the platform cannot list devices: nothing to listen to
        }
        if (found_) {
            if (config_.readsReports)
                readUntilGone(stop, react);
            else
                holdUntilGone(stop);
            if (found_) continue;  // stopped: the loop condition ends it
        }
        if (!platform::SleepUnlessStopped(stop, kScanPeriod)) break;
    }
    device_.close();
    found_ = false;
    Log(config_.exitText);
}

}  // namespace orvane::device
