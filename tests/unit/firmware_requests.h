// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Requests as the host builds them, for driving the emulator's firmware models directly.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

#include "device/protocol/commands.h"
#include "device/protocol/report.h"
#include "sim/firmware_device.h"

namespace orvane::sim::fwtest {

using device::DeviceModel;
using namespace protocol;

inline constexpr DeviceModel kAllModels[] = {DeviceModel::RgbKeyboard, DeviceModel::MonoKeyboard,
                                      DeviceModel::Mouse, DeviceModel::Mouse2,
                                      DeviceModel::Mousepad};

inline std::unique_ptr<DeviceFirmware> Make(DeviceModel model) {
    return std::unique_ptr<DeviceFirmware>(static_cast<DeviceFirmware*>(MakeFirmware(model).release()));
}

inline Report Request(uint8_t command, std::span<const uint8_t> data, uint16_t offset = 0) {
    Report r = MakeRequest(command, static_cast<uint8_t>(data.size()), offset);
    std::copy(data.begin(), data.end(), r.begin() + off::data);
    StoreChecksum(r);
    return r;
}

inline Report Send(Firmware& fw, const Report& request) {
    const auto reply = fw.handle(request);
    EXPECT_TRUE(reply.has_value());
    return reply.value_or(Report{});
}

inline uint8_t Status(Firmware& fw, const Report& request) { return Send(fw, request)[off::status]; }

// The host's chunked transfer: one request buffer reused chunk after chunk, so a short last
// chunk carries the previous chunk's tail. Returns the first refusing status, else 0.
inline uint8_t Chunked(Firmware& fw, uint8_t command, uint16_t base, size_t n, const uint8_t* source,
                uint8_t* target) {
    Report request{};
    for (size_t k = 0; k < n; k += kChunkSize) {
        const size_t length = std::min(kChunkSize, n - k);
        PrepareChunk(request, command, length, static_cast<uint16_t>(base + k), source ? source + k : nullptr);
        const Report reply = Send(fw, request);
        if (reply[off::status] != kStatusAccepted) return reply[off::status];
        if (target) std::memcpy(target + k, &reply[off::data], length);
    }
    return kStatusAccepted;
}

inline std::vector<uint8_t> ReadAll(Firmware& fw, uint8_t command, uint16_t base, size_t n) {
    std::vector<uint8_t> out(n, 0xCC);
    EXPECT_EQ(Chunked(fw, command, base, n, nullptr, out.data()), kStatusAccepted);
    return out;
}

inline std::vector<uint8_t> Pattern(size_t n, uint8_t seed) {
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(seed + 7 * i);
    return v;
}

inline uint16_t Le16(std::span<const uint8_t> b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }

}  // namespace orvane::sim::fwtest
