// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/protocol/connection.h"

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

}  // namespace orvane::protocol
