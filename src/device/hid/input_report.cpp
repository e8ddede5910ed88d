// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/hid/input_report.h"

#include <algorithm>

namespace orvane::hid {
namespace {

/// Reads a field of `bits` bits at bit `offset` (fields are packed least significant bit
/// first). Fields wider than 32 bits give their low 32 bits. false when the data ends first.
bool ReadField(std::span<const uint8_t> data, uint64_t offset, unsigned bits, uint32_t& out) {
    if (bits == 0 || offset + bits > uint64_t{data.size()} * 8) return false;
    bits = std::min(bits, 32u);
    uint64_t acc = 0;
    const size_t first = offset / 8;
    const unsigned shift = offset % 8;
    const size_t bytes = (shift + bits + 7) / 8;
    for (size_t i = 0; i < bytes; ++i) acc |= uint64_t{data[first + i]} << (8 * i);
    acc >>= shift;
    out = static_cast<uint32_t>(bits == 32 ? acc : acc & ((uint64_t{1} << bits) - 1));
    return true;
}

/// The logical value of a raw field: sign-extended when the logical range goes below zero.
int64_t LogicalValue(uint32_t raw, unsigned bits, int32_t logicalMin) {
    if (logicalMin >= 0) return raw;
    if (bits >= 32) return static_cast<int32_t>(raw);
    const uint32_t sign = uint32_t{1} << (bits - 1);
    return static_cast<int32_t>((raw ^ sign) - sign);
}

bool FieldsPresent(const Capability& cap, std::span<const uint8_t> data) {
    const uint64_t end = uint64_t{cap.bitOffset} + uint64_t{cap.bitSize} * cap.reportCount;
    return end <= uint64_t{data.size()} * 8;
}

/// Appends the usages that one button capability reports down. Usage 0 means "none".
void CollectUsages(const Capability& cap, std::span<const uint8_t> data, std::vector<uint16_t>& out) {
    for (uint32_t i = 0; i < cap.reportCount; ++i) {
        uint32_t raw = 0;
        ReadField(data, uint64_t{cap.bitOffset} + uint64_t{i} * cap.bitSize, cap.bitSize, raw);
        uint32_t usage = 0;
        if (!cap.isArray) {
            if (raw & 1) usage = cap.isRange ? std::min<uint32_t>(cap.usageMin + i, cap.usageMax) : cap.usageMin;
        } else {
            const int64_t v = LogicalValue(raw, cap.bitSize, cap.logicalMin);
            if (v < cap.logicalMin || v > cap.logicalMax) continue;  // null: no usage in this field
            const int64_t index = v - cap.logicalMin;
            if (cap.isRange) {
                if (index <= cap.usageMax - cap.usageMin) usage = cap.usageMin + static_cast<uint32_t>(index);
            } else if (index < static_cast<int64_t>(cap.usages.size())) {
                usage = cap.usages[static_cast<size_t>(index)];
            }
        }
        if (usage != 0) out.push_back(static_cast<uint16_t>(usage));
    }
}

/// Like HidP_GetUsages: every usage down on the item's usage page in this report, then only
/// those inside the item's own range, packed to the front and ended by 0 when shorter.
void UnpackButtons(InputDataItem& item, std::span<const uint8_t> data, const ReportLayout& layout) {
    std::vector<uint16_t> down;
    item.status = kHidStatusSuccess;
    for (const Capability& cap : layout.inputButtonCaps) {
        if (cap.reportId != item.reportId || cap.usagePage != item.usagePage) continue;
        if (!FieldsPresent(cap, data)) {
            // A cut-off report names nothing; stale usages must not look like fresh ones.
            item.status = kHidStatusInvalidReportLength;
            down.clear();
            break;
        }
        CollectUsages(cap, data, down);
    }
    if (down.size() > item.maxUsageLength) {
        item.status = kHidStatusBufferTooSmall;
        down.resize(item.maxUsageLength);
    }
    std::fill(item.usages.begin(), item.usages.end(), 0);
    size_t kept = 0;
    for (uint16_t u : down)
        if (u >= item.usageMin && u <= item.usageMax && kept < item.usages.size()) item.usages[kept++] = u;
    item.isDataSet = item.status != kHidStatusInvalidReportLength;
}

const Capability* FindValueCap(const InputDataItem& item, const ReportLayout& layout) {
    for (const Capability& cap : layout.inputValueCaps)
        if (cap.reportId == item.reportId && cap.usagePage == item.usagePage && item.usage >= cap.usageMin &&
            item.usage <= cap.usageMax)
            return &cap;
    return nullptr;
}

/// Like HidP_GetScaledUsageValue: the logical value mapped linearly onto the physical range.
int32_t ScaleValue(const Capability& cap, uint32_t raw, int32_t& scaled) {
    scaled = 0;
    if (cap.logicalMin >= cap.logicalMax || cap.physicalMin >= cap.physicalMax) return kHidStatusBadLogPhyValues;
    const int64_t v = LogicalValue(raw, cap.bitSize, cap.logicalMin);
    if (v < cap.logicalMin || v > cap.logicalMax) return cap.hasNull ? kHidStatusNull : kHidStatusValueOutOfRange;
    const int64_t physicalSpan = int64_t{cap.physicalMax} - cap.physicalMin;
    const int64_t logicalSpan = int64_t{cap.logicalMax} - cap.logicalMin;
    scaled = static_cast<int32_t>((v - cap.logicalMin) * physicalSpan / logicalSpan + cap.physicalMin);
    return kHidStatusSuccess;
}

/// Like HidP_GetUsageValue followed by HidP_GetScaledUsageValue. false when the raw value
/// cannot be read.
bool UnpackValue(InputDataItem& item, std::span<const uint8_t> data, const ReportLayout& layout) {
    const Capability* cap = FindValueCap(item, layout);
    if (!cap) {
        item.status = kHidStatusUsageNotFound;
        return false;
    }
    const uint32_t index = cap->isRange ? item.usage - cap->usageMin : 0;
    uint32_t raw = 0;
    if (index >= cap->reportCount ||
        !ReadField(data, uint64_t{cap->bitOffset} + uint64_t{index} * cap->bitSize, cap->bitSize, raw)) {
        item.status = kHidStatusInvalidReportLength;
        return false;
    }
    item.value = raw;
    item.status = ScaleValue(*cap, raw, item.scaledValue);
    item.isDataSet = true;
    return true;
}

}  // namespace

std::vector<InputDataItem> BuildInputItems(const ReportLayout& layout) {
    std::vector<InputDataItem> items;
    for (const Capability& cap : layout.inputButtonCaps) {
        InputDataItem item;
        item.isButton = true;
        item.usagePage = cap.usagePage;
        item.reportId = cap.reportId;
        item.usageMin = cap.usageMin;
        item.usageMax = cap.usageMax;
        // HidP_MaxUsageListLength: every field of every button capability on this page.
        for (const Capability& other : layout.inputButtonCaps)
            if (other.usagePage == cap.usagePage) item.maxUsageLength += other.reportCount;
        item.usages.assign(item.maxUsageLength, 0);
        items.push_back(std::move(item));
    }
    for (const Capability& cap : layout.inputValueCaps) {
        const uint32_t last = cap.isRange ? cap.usageMax : cap.usageMin;
        for (uint32_t usage = cap.usageMin; usage <= last; ++usage) {
            InputDataItem item;
            item.usagePage = cap.usagePage;
            item.reportId = cap.reportId;
            item.usage = static_cast<uint16_t>(usage);
            items.push_back(std::move(item));
        }
    }
    return items;
}

bool UnpackInputReport(std::vector<InputDataItem>& items, std::span<const uint8_t> report,
                       const ReportLayout& layout) {
    if (report.empty()) return false;
    // Numbered reports start with their id; unnumbered ones are data only and match id 0.
    const uint32_t reportId = layout.usesReportIds ? report[0] : 0;
    const std::span<const uint8_t> data = layout.usesReportIds ? report.subspan(1) : report;
    for (InputDataItem& item : items) {
        if (item.reportId != reportId) continue;
        if (item.isButton) UnpackButtons(item, data, layout);
        else if (!UnpackValue(item, data, layout)) return false;
    }
    return true;
}

}  // namespace orvane::hid
