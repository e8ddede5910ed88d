// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One emulated device on a zero-time link, its connection, and every request the host
// wrote, for the read-back tests of the mouse, keyboard and mousepad. The connection talks to
// the emulator or, in the hidraw tests, to the device's hidraw node (support/device_bed.h).

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

#include "device/discovery.h"
#include "device/protocol/report.h"
#include "device/protocol/trace.h"
#include "sim/emulator.h"
#include "sim/firmware_device.h"
#include "support/device_bed.h"

namespace orvane::testing {

struct ReadBackRig {
    DeviceBed bed;
    sim::EmulatedDevice* device = nullptr;
    protocol::DeviceConnection connection{bed.backend(), "dev"};
    std::vector<protocol::Report> requests;
    protocol::ReportTrace trace{[this](std::string_view line) { collect(line); }};

    explicit ReadBackRig(device::DeviceModel model) {
        device = &bed.add(model);
        EXPECT_EQ(device::ConnectFirst(device::Identity(model).kind, connection), device::ConnectError::None);
        connection.setTrace(&trace);
    }

    /// Runs fn with the device's firmware while it handles no request.
    template <class Fn>
    void firmware(Fn&& fn) {
        device->withFirmware([&](sim::Firmware& f) { fn(static_cast<sim::DeviceFirmware&>(f)); });
    }

    /// Forgets the requests so far and restarts the device's request numbering (faults).
    void restartCount() {
        requests.clear();
        device->resetCounters();
    }

    std::vector<uint8_t> commands() const {
        std::vector<uint8_t> out;
        for (const auto& r : requests) out.push_back(r[protocol::off::command]);
        return out;
    }

private:
    void collect(std::string_view line) {
        // "<micros> <tag> <w|r> <hex>"
        const auto first = line.find(' ');
        const auto second = line.find(' ', first + 1);
        if (line.substr(second + 1, 1) != "w") return;
        const auto hex = line.substr(second + 3);
        protocol::Report r{};
        for (size_t i = 0; i < r.size() && 2 * i + 1 < hex.size(); ++i)
            r[i] = static_cast<uint8_t>(std::stoi(std::string(hex.substr(2 * i, 2)), nullptr, 16));
        requests.push_back(r);
    }
};

/// n bytes of a memory image from offset at.
inline std::vector<uint8_t> Slice(std::span<const uint8_t> s, size_t at, size_t n) {
    return {s.begin() + at, s.begin() + at + n};
}

}  // namespace orvane::testing
