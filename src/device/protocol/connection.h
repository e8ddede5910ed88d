// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// DeviceConnection: one per device kind (keyboard, mouse, mousepad). Holds the expected
// identity, the block length of the bank commands, the connected and sync flags, the open
// configuration interface and the lock taken for each whole request/reply attempt.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "device/hid/hid_device.h"
#include "device/protocol/result.h"
#include "device/protocol/share_lock.h"

namespace orvane::protocol {

class ReportTrace;

class DeviceConnection {
public:
    static constexpr uint16_t kDefaultBlockLength = 512;
    static constexpr int kDefaultReplyTimeoutMs = 300;
    static constexpr int kDefaultEndTransferDelayMs = 10;

    /// tag names the device in traces and logs: "kb", "ms" or "mp".
    DeviceConnection(hid::Backend& backend, std::string tag);
    ~DeviceConnection();

    const std::string& tag() const { return tag_; }

    std::atomic<uint16_t> blockLength{kDefaultBlockLength};
    // Expected identity, set once when the program initialises.
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t usage = 0;
    uint16_t usagePage = 0;

    /// The configuration interface is open and verified. While false every command returns 0
    /// without any I/O.
    std::atomic<bool> connected{false};
    /// The device is driven by the synchronised lighting effect of all devices.
    std::atomic<bool> syncLighting{false};
    /// How long each attempt waits for its reply. The devices' own is 300 ms; a test that
    /// sweeps faults over thousands of reports may shorten it.
    std::atomic<int> replyTimeoutMs{kDefaultReplyTimeoutMs};
    /// The pause before the report that closes a multi-report sequence (the devices need
    /// it); tests that drive a device with no such need may shorten it.
    std::atomic<int> endTransferDelayMs{kDefaultEndTransferDelayMs};
    /// The last exchange got no reply in any attempt: the reply may still be on its way.
    std::atomic<bool> replyOverdue{false};

    hid::HidDevice device;
    /// Held for each whole request/reply attempt; recursive so that a presence monitor can
    /// hold it for a whole pass and run a read-back inside.
    std::recursive_mutex lock;

    /// How long an exchange or transfer waits for another program's hold on the device.
    std::atomic<int> shareLockWaitMs{int(kShareLockWait.count())};
    /// The lock shared with other processes on the open device (by its share id); null
    /// while no device is open or the backend gives none.
    std::shared_ptr<DeviceShareLock> shareLock();

    /// Optional; every report written and read is recorded. Set before transfers start.
    void setTrace(ReportTrace* trace) { trace_.store(trace); }
    ReportTrace* trace() const { return trace_.load(); }

private:
    std::string tag_;
    std::mutex shareMutex_;  // guards shareLock_ only
    std::shared_ptr<DeviceShareLock> shareLock_;
    std::atomic<ReportTrace*> trace_{nullptr};
};

/// A hold on the device against other processes for one exchange or one multi-report
/// transfer (ShareHold hold(c); if (!hold.held()) return hold.result();). Nests: the
/// transfer's exchanges hold it again without waiting. The hold that cannot be had says
/// why: kDeviceBusy (the other program's pid in ResultText) or kLockUnavailable.
class ShareHold {
public:
    explicit ShareHold(DeviceConnection& c);
    ~ShareHold();
    ShareHold(const ShareHold&) = delete;
    ShareHold& operator=(const ShareHold&) = delete;

    bool held() const { return result_ == kOk; }
    int32_t result() const { return result_; }

private:
    std::shared_ptr<DeviceShareLock> lock_;  // set while held
    int32_t result_ = kOk;
};

}  // namespace orvane::protocol
