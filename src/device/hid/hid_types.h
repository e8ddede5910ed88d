// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Plain descriptions of a HID interface: its identity and the layout of its input reports.

#include <cstdint>
#include <string>
#include <vector>

namespace orvane::hid {

/// What enumeration tells about one HID interface. Identity comes from the device attributes,
/// never from the text of the path.
struct InterfaceInfo {
    std::string path;           ///< backend-specific, stable while the interface is present
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t versionNumber = 0; ///< bcdDevice
    uint16_t usagePage = 0;     ///< top-level collection usage page
    uint16_t usage = 0;         ///< top-level collection usage
    int interfaceNumber = -1;   ///< USB interface number where known
    /// Names the device among processes: every process that opens this interface gets the
    /// same text, which names its lock file (protocol::DeviceShareLock). Empty: no lock.
    std::string shareId;
};

/// One input main item of a report descriptor, in the terms of the Windows HID capability
/// records: "button" capabilities are array items and 1-bit variable items (lists of usages
/// that are down); "value" capabilities are variable items wider than one bit.
struct Capability {
    bool isButton = false;
    bool isArray = false;       ///< array item: each field holds a usage index
    bool isRange = false;       ///< usages given as Usage Minimum/Maximum
    uint8_t reportId = 0;
    uint16_t usagePage = 0;
    uint16_t usageMin = 0;      ///< equals usageMax for a single usage
    uint16_t usageMax = 0;
    std::vector<uint16_t> usages; ///< explicit usage list of a variable item that is not a range
    uint32_t bitOffset = 0;     ///< first bit of the item in the report data (after the id byte)
    uint16_t bitSize = 0;       ///< report size: bits per field
    uint16_t reportCount = 0;   ///< number of fields
    int32_t logicalMin = 0;
    int32_t logicalMax = 0;
    int32_t physicalMin = 0;
    int32_t physicalMax = 0;
    bool hasNull = false;       ///< values outside the logical range mean "no value"
};

/// The description of an open interface (the part of HIDP_CAPS and the capability arrays
/// this program uses).
struct ReportLayout {
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    /// The size of one hidraw read of the longest input report: the report id byte first when
    /// the reports are numbered, no id byte when they are not (unlike the Windows count, which
    /// always has one).
    uint16_t inputReportByteLength = 0;
    uint16_t outputReportByteLength = 0;   ///< likewise for one output report write
    uint16_t featureReportByteLength = 0;
    bool usesReportIds = false;
    std::vector<Capability> inputButtonCaps;
    std::vector<Capability> inputValueCaps;
};

/// One entry of the unpacked input description: a button capability (a list of usages that
/// are down) or a single value usage.
struct InputDataItem {
    bool isButton = false;
    uint16_t usagePage = 0;
    int32_t status = 0;           ///< 0 = success, otherwise why the last unpack failed
    uint32_t reportId = 0;
    bool isDataSet = false;
    // button items
    uint32_t usageMin = 0;
    uint32_t usageMax = 0;
    uint32_t maxUsageLength = 0;
    std::vector<uint16_t> usages; ///< usages down in the last report, 0-terminated when shorter
    // value items
    uint16_t usage = 0;
    uint32_t value = 0;
    int32_t scaledValue = 0;
};

}  // namespace orvane::hid
