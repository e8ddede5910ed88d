// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/protocol/connection.h"

#include "device/log.h"

namespace orvane::protocol {

DeviceConnection::DeviceConnection(hid::Backend& backend, std::string tag)
    : device(backend), tag_(std::move(tag)) {
    device.mode = hid::OpenMode{.read = true, .write = true, .exclusive = false};
}

DeviceConnection::~DeviceConnection() {
    std::lock_guard guard(lock);
    connected = false;
    vendorId = productId = usage = usagePage = 0;
    device.close();
}

std::shared_ptr<DeviceShareLock> DeviceConnection::shareLock() {
    const std::string id = device.attributes().shareId;
    std::lock_guard guard(shareMutex_);
    if (id.empty()) return nullptr;
    // A device that came back under the same id keeps its lock object, so a transfer that
    // holds it and the exchanges after the replug do not exclude each other.
    if (!shareLock_ || shareLock_->shareId() != id) shareLock_ = std::make_shared<DeviceShareLock>(id);
    return shareLock_;
}

ShareHold::ShareHold(DeviceConnection& c) {
    if (!Safeguards().lock) return;
    std::shared_ptr<DeviceShareLock> lock = c.shareLock();
    if (!lock) return;
    int holder = 0;
    std::string problem;
    switch (lock->acquire(std::chrono::milliseconds(c.shareLockWaitMs.load()), holder, problem)) {
    case DeviceShareLock::State::Held: lock_ = std::move(lock); return;
    case DeviceShareLock::State::Busy: {
        result_ = kDeviceBusy;
        std::string text = "the device is busy in another program";
        if (holder > 0) text += " (pid " + std::to_string(holder) + ")";
        device::Log(c.tag() + ": " + text);
        NoteResultDetail(kDeviceBusy, std::move(text));
        return;
    }
    case DeviceShareLock::State::Unavailable:
        result_ = kLockUnavailable;
        device::Log(c.tag() + ": " + problem);
        NoteResultDetail(kLockUnavailable, std::move(problem));
        return;
    }
}

ShareHold::~ShareHold() {
    if (lock_) lock_->release();
}

}  // namespace orvane::protocol
