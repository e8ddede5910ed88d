// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// NotificationListener: a worker body that finds a device's consumer-control interface
// (usage page 0x000C, usage 0x0001), opens it for reading only and not exclusively, and —
// where the device reports events there — reads its input reports and hands the first usage
// of each to a reaction. The reaction runs on the listener's thread and returns when the
// work it started is finished, so two notifications never overlap. A read waits at most
// kReadTimeout but a stop aborts it at once. When the interface goes away the listener
// scans again (every kScanPeriod); the keyboard's listener, which reads nothing, probes the
// interface it holds so that it notices an unplug too and finds the interface again.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <stop_token>
#include <string>
#include <vector>

#include "device/hid/hid_device.h"
#include "device/models.h"

namespace orvane::device {

/// The mouse's notification usages.
inline constexpr uint16_t kNotifySlotZeroChanged = 0x0401;   ///< re-read slot 0's record
inline constexpr uint16_t kNotifySettingsChanged = 0x0402;   ///< full read-back
inline constexpr uint16_t kNotifyReactiveTrigger = 0x0403;   ///< a click for the reactive effects

struct ListenerConfig {
    std::vector<DeviceModel> models;  ///< the devices whose consumer interface it takes
    bool readsReports = true;         ///< false: hold the interface only (the keyboard)
    std::string exitText;             ///< logged when the listener ends
};

class NotificationListener {
public:
    static constexpr std::chrono::milliseconds kScanPeriod{1000};
    static constexpr std::chrono::milliseconds kProbePeriod{100};
    static constexpr int kReadTimeoutMs = 500;

    /// Called with a nonzero usage; returns when the reaction is done.
    using React = std::function<void(uint16_t usage)>;

    NotificationListener(hid::Backend& backend, ListenerConfig config);

    /// The worker body: until stop.
    void run(std::stop_token stop, const React& react);

    /// The interface is open and verified.
    bool found() const { return found_.load(); }
    /// Reports read and handed on (nonzero usage), for tests.
    uint64_t reactions() const { return reactions_.load(); }

private:
    bool scan();  ///< opens the first matching interface; false when enumeration failed
    bool matches(const hid::InterfaceInfo& info) const;
    void readUntilGone(std::stop_token stop, const React& react);
    void holdUntilGone(std::stop_token stop);
    void lost();

    hid::HidDevice device_;
    ListenerConfig config_;
    std::atomic<bool> found_{false};
    std::atomic<uint64_t> reactions_{0};
};

/// The first usage of the first input data item, 0 when none is down.
uint16_t FirstUsage(const std::vector<hid::InputDataItem>& items);

}  // namespace orvane::device
