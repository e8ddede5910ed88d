// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The firmware side of an emulated device: answers configuration requests as the device
// would and keeps the device's memories. One implementation serves every model; what differs
// between models is data (see firmware_profiles.h).

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "device/models.h"
#include "device/protocol/report.h"

namespace orvane::sim {

class Firmware {
public:
    virtual ~Firmware() = default;

    /// One configuration request (64 bytes, report id first). The reply, or nullopt when the
    /// device would stay silent. Called with the device's configuration port locked.
    virtual std::optional<protocol::Report> handle(const protocol::Report& request) = 0;

    /// Set by the emulator: sends one consumer-control notification usage (0x0401, 0x0402,
    /// 0x0403 on the mouse). May be called from inside handle().
    std::function<void(uint16_t usage)> notify;
};

std::unique_ptr<Firmware> MakeFirmware(device::DeviceModel model);

}  // namespace orvane::sim
