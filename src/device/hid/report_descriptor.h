// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A small HID report-descriptor parser: enough to describe the top-level collection, the
// report lengths and the input items of the interfaces this program opens.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "device/hid/hid_types.h"

namespace orvane::hid {

/// Parses a descriptor. nullopt (with a reason) for malformed input; never reads past the end.
std::optional<ReportLayout> ParseReportDescriptor(std::span<const uint8_t> descriptor,
                                                  std::string* error = nullptr);

}  // namespace orvane::hid
