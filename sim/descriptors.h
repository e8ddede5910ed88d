// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Report descriptors of the emulated interfaces, byte for byte as a device would return them.
// The emulator parses them like a real descriptor to give its handles their layout.

#include <cstdint>
#include <span>

namespace orvane::sim {

/// Report id of the consumer-control interface's input report.
inline constexpr uint8_t kConsumerReportId = 3;

/// Configuration interface: vendor page 0xFF1C, usage 0x0092, report id 4 carrying 63 bytes
/// of input and 63 bytes of output (64-byte reports with the id).
std::span<const uint8_t> ConfigInterfaceDescriptor();

/// Consumer-control interface: page 0x000C, usage 0x0001, report id 3 with one 16-bit array
/// field whose value is the consumer usage down (0 = none), logical range 0-0x0FFF.
std::span<const uint8_t> ConsumerInterfaceDescriptor();

}  // namespace orvane::sim
