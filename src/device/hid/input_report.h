// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Unpacking input reports into usages and values, the way HidP_GetUsages /
// HidP_GetUsageValue / HidP_GetScaledUsageValue do on Windows.

#include <cstdint>
#include <span>
#include <vector>

#include "device/hid/hid_types.h"

namespace orvane::hid {

/// Values of InputDataItem::status: why the last unpack of an item did not fully succeed.
enum HidStatus : int32_t {
    kHidStatusSuccess = 0,
    kHidStatusInvalidReportLength,  ///< the report ends before the item's fields
    kHidStatusBufferTooSmall,       ///< more usages down than the item has room for
    kHidStatusUsageNotFound,        ///< the value's usage is in no field of this report
    kHidStatusNull,                 ///< value outside the logical range of a field with a null state
    kHidStatusValueOutOfRange,      ///< value outside the logical range, no null state
    kHidStatusBadLogPhyValues,      ///< logical or physical range unusable for scaling
};

/// One button item per button capability, then one value item per value usage (a range
/// capability gives one item per usage, ascending).
std::vector<InputDataItem> BuildInputItems(const ReportLayout& layout);

/// Fills the items whose report id matches report[0] (or all items of a descriptor without
/// report ids); other items stay as they were. Returns false when a value item cannot be read.
bool UnpackInputReport(std::vector<InputDataItem>& items, std::span<const uint8_t> report,
                       const ReportLayout& layout);

}  // namespace orvane::hid
