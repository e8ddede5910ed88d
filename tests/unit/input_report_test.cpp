// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <vector>

#include "device/hid/input_report.h"
#include "device/hid/report_descriptor.h"
#include "sim/descriptors.h"
#include "unit/hid_test_support.h"

namespace orvane::hid {
namespace {

using Bytes = std::vector<uint8_t>;

ReportLayout Parse(std::span<const uint8_t> d) {
    std::string error;
    auto layout = ParseReportDescriptor(d, &error);
    EXPECT_TRUE(layout.has_value()) << error;
    return layout.value_or(ReportLayout{});
}

ReportLayout ConsumerLayout() { return Parse(sim::ConsumerInterfaceDescriptor()); }

Bytes ConsumerReport(uint16_t usage) {
    return {sim::kConsumerReportId, static_cast<uint8_t>(usage), static_cast<uint8_t>(usage >> 8)};
}

void ExpectSameItems(const std::vector<InputDataItem>& a, const std::vector<InputDataItem>& b) {
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(a[i].status, b[i].status);
        EXPECT_EQ(a[i].isDataSet, b[i].isDataSet);
        EXPECT_EQ(a[i].usages, b[i].usages);
        EXPECT_EQ(a[i].value, b[i].value);
        EXPECT_EQ(a[i].scaledValue, b[i].scaledValue);
    }
}

TEST(InputReport, ConsumerNotificationPressAndRelease) {
    const ReportLayout layout = ConsumerLayout();
    auto items = BuildInputItems(layout);
    ASSERT_EQ(items.size(), 1u);
    ASSERT_TRUE(items[0].isButton);
    EXPECT_EQ(items[0].maxUsageLength, 1u);

    for (uint16_t usage : {0x0401, 0x0402, 0x0403}) {
        ASSERT_TRUE(UnpackInputReport(items, ConsumerReport(usage), layout));
        EXPECT_TRUE(items[0].isDataSet);
        EXPECT_EQ(items[0].status, kHidStatusSuccess);
        ASSERT_FALSE(items[0].usages.empty());
        EXPECT_EQ(items[0].usages[0], usage);
    }
    // The release that follows every press: nothing down.
    ASSERT_TRUE(UnpackInputReport(items, ConsumerReport(0), layout));
    EXPECT_EQ(items[0].usages[0], 0);
}

TEST(InputReport, ReportIdOfNoItemLeavesEverythingAlone) {
    const ReportLayout layout = ConsumerLayout();
    auto items = BuildInputItems(layout);
    ASSERT_TRUE(UnpackInputReport(items, ConsumerReport(0x0402), layout));
    const auto before = items;
    const Bytes other = {0x07, 0x03, 0x04};
    EXPECT_TRUE(UnpackInputReport(items, other, layout));
    ExpectSameItems(items, before);
    EXPECT_EQ(items[0].usages[0], 0x0402);
}

TEST(InputReport, ButtonsAreFilteredToTheItemRangeAndPacked) {
    const ReportLayout layout = Parse(test::LoadHexFixture("mouse_consumer_descriptor.hex"));
    auto items = BuildInputItems(layout);
    ASSERT_EQ(items.size(), 2u);
    InputDataItem& system = items[1];
    EXPECT_EQ(system.usagePage, 0x0001);
    EXPECT_EQ(system.maxUsageLength, 3u);

    // Bits 0 and 2 down: power down (0x81) and wake up (0x83), then the end mark.
    ASSERT_TRUE(UnpackInputReport(items, Bytes{0x04, 0x05}, layout));
    EXPECT_EQ(system.usages, (std::vector<uint16_t>{0x81, 0x83, 0}));
    EXPECT_FALSE(items[0].isDataSet);  // the consumer item lives in report 3

    // Out of the consumer field's logical range: a null field, no usage.
    ASSERT_TRUE(UnpackInputReport(items, Bytes{0x03, 0x00, 0x04}, layout));
    EXPECT_EQ(items[0].usages[0], 0);
    ASSERT_TRUE(UnpackInputReport(items, Bytes{0x03, 0xE9, 0x00}, layout));  // Volume Increment
    EXPECT_EQ(items[0].usages[0], 0x00E9);
}

// Report 1: X in 8 bits, logical -127..127 over physical -1000..1000; Y in 8 bits with no
// physical range; a 4-bit hat switch with a null state, logical 0..7 over 0..315 degrees.
const Bytes kScaledDescriptor = {
    0x05, 0x01, 0x09, 0x04, 0xA1, 0x01, 0x85, 0x01,
    0x15, 0x81, 0x25, 0x7F, 0x36, 0x18, 0xFC, 0x46, 0xE8, 0x03,
    0x75, 0x08, 0x95, 0x01, 0x09, 0x30, 0x81, 0x02,
    0x35, 0x00, 0x45, 0x00, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x09, 0x31, 0x81, 0x02,
    0x15, 0x00, 0x25, 0x07, 0x35, 0x00, 0x46, 0x3B, 0x01, 0x75, 0x04, 0x09, 0x39, 0x81, 0x42,
    0x75, 0x04, 0x81, 0x01,
    0xC0,
};

struct ScaleCase {
    uint8_t x, y, hat;
    uint32_t rawX;
    int32_t scaledX;
    int32_t hatStatus;
    int32_t scaledHat;
};

TEST(InputReport, ValuesAreReadRawAndScaledToThePhysicalRange) {
    const ReportLayout layout = Parse(kScaledDescriptor);
    ASSERT_EQ(layout.inputValueCaps.size(), 3u);
    const ScaleCase cases[] = {
        {0x7F, 10, 2, 0x7F, 1000, kHidStatusSuccess, 90},
        {0x81, 10, 7, 0x81, -1000, kHidStatusSuccess, 315},
        {0x00, 10, 0, 0x00, 0, kHidStatusSuccess, 0},
        {0x40, 10, 8, 0x40, 503, kHidStatusNull, 0},  // hat released: the null value
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.x));
        auto items = BuildInputItems(layout);
        ASSERT_EQ(items.size(), 3u);
        const Bytes report = {0x01, c.x, c.y, c.hat};
        ASSERT_TRUE(UnpackInputReport(items, report, layout));
        EXPECT_EQ(items[0].usage, 0x30);
        EXPECT_EQ(items[0].value, c.rawX);
        EXPECT_EQ(items[0].status, kHidStatusSuccess);
        EXPECT_EQ(items[0].scaledValue, c.scaledX);
        // No physical range: the raw value is there, the scaled one cannot be had.
        EXPECT_EQ(items[1].value, c.y);
        EXPECT_EQ(items[1].status, kHidStatusBadLogPhyValues);
        EXPECT_EQ(items[2].status, c.hatStatus);
        EXPECT_EQ(items[2].scaledValue, c.scaledHat);
        EXPECT_TRUE(items[2].isDataSet);
    }
}

TEST(InputReport, ShortReportsNeverReadPastTheirEnd) {
    const ReportLayout consumer = ConsumerLayout();
    auto items = BuildInputItems(consumer);
    ASSERT_TRUE(UnpackInputReport(items, ConsumerReport(0x0402), consumer));
    // A cut-off report must not leave the previous press looking fresh.
    const Bytes cut = {sim::kConsumerReportId, 0x02};
    UnpackInputReport(items, cut, consumer);
    EXPECT_EQ(items[0].status, kHidStatusInvalidReportLength);
    EXPECT_EQ(items[0].usages[0], 0);
    EXPECT_FALSE(items[0].isDataSet);
    EXPECT_FALSE(UnpackInputReport(items, Bytes{}, consumer));

    const ReportLayout scaled = Parse(kScaledDescriptor);
    auto values = BuildInputItems(scaled);
    EXPECT_FALSE(UnpackInputReport(values, Bytes{0x01, 0x10}, scaled));  // X present, Y missing
    EXPECT_EQ(values[0].value, 0x10u);
    EXPECT_EQ(values[1].status, kHidStatusInvalidReportLength);
    EXPECT_FALSE(values[1].isDataSet);
}

TEST(InputReport, ValueRangeGivesOneItemPerUsageInOrder) {
    const Bytes d = {
        0x05, 0x01, 0x09, 0x08, 0xA1, 0x01,
        0x19, 0x30, 0x29, 0x35, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x06, 0x81, 0x02,
        0xC0,
    };
    const ReportLayout layout = Parse(d);
    auto items = BuildInputItems(layout);
    ASSERT_EQ(items.size(), 6u);
    ASSERT_TRUE(UnpackInputReport(items, Bytes{10, 11, 12, 13, 14, 15}, layout));  // no report id
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].usage, 0x30 + i);
        EXPECT_EQ(items[i].value, 10 + i);
    }
}

}  // namespace
}  // namespace orvane::hid
