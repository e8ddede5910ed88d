// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the report-descriptor parser and input-report unpacking (built with
// -DORVANE_BUILD_FUZZ=ON, see tests/fuzz/CMakeLists.txt). The first input byte splits the
// data into a descriptor and a report to unpack with it.

#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <span>

#include "device/hid/input_report.h"
#include "device/hid/report_descriptor.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const size_t split = std::min<size_t>(data[0], size - 1);
    const std::span<const uint8_t> rest(data + 1, size - 1);
    const auto report = rest.first(split);
    const auto descriptor = rest.subspan(split);
    if (auto layout = orvane::hid::ParseReportDescriptor(descriptor)) {
        auto items = orvane::hid::BuildInputItems(*layout);
        orvane::hid::UnpackInputReport(items, report, *layout);
    }
    return 0;
}
