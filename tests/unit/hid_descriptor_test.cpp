// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <vector>

#include "device/hid/report_descriptor.h"
#include "sim/descriptors.h"
#include "unit/hid_test_support.h"

namespace orvane::hid {
namespace {

using Bytes = std::vector<uint8_t>;

ReportLayout ParseOk(const Bytes& d) {
    std::string error;
    auto layout = ParseReportDescriptor(d, &error);
    EXPECT_TRUE(layout.has_value()) << error;
    return layout.value_or(ReportLayout{});
}

TEST(HidDescriptor, CapturedMouseConsumerInterface) {
    const Bytes d = test::LoadHexFixture("mouse_consumer_descriptor.hex");
    ASSERT_EQ(d.size(), 75u);
    const ReportLayout l = ParseOk(d);
    EXPECT_EQ(l.usagePage, 0x000C);  // the first application collection decides
    EXPECT_EQ(l.usage, 0x0001);
    EXPECT_TRUE(l.usesReportIds);
    EXPECT_EQ(l.inputReportByteLength, 3);   // id + 16-bit consumer field (the longest report)
    EXPECT_EQ(l.outputReportByteLength, 0);
    EXPECT_EQ(l.featureReportByteLength, 8); // id + 7 vendor bytes
    EXPECT_TRUE(l.inputValueCaps.empty());

    ASSERT_EQ(l.inputButtonCaps.size(), 2u);  // the constant padding names nothing
    const Capability& consumer = l.inputButtonCaps[0];
    EXPECT_TRUE(consumer.isArray);
    EXPECT_TRUE(consumer.isRange);
    EXPECT_EQ(consumer.reportId, 3);
    EXPECT_EQ(consumer.usagePage, 0x000C);
    EXPECT_EQ(consumer.usageMin, 0);
    EXPECT_EQ(consumer.usageMax, 0x023C);
    EXPECT_EQ(consumer.bitOffset, 0u);
    EXPECT_EQ(consumer.bitSize, 16);
    EXPECT_EQ(consumer.reportCount, 1);
    EXPECT_EQ(consumer.logicalMax, 0x023C);

    const Capability& system = l.inputButtonCaps[1];
    EXPECT_FALSE(system.isArray);
    EXPECT_EQ(system.reportId, 4);
    EXPECT_EQ(system.usagePage, 0x0001);
    EXPECT_EQ(system.usageMin, 0x81);
    EXPECT_EQ(system.usageMax, 0x83);
    EXPECT_EQ(system.bitSize, 1);
    EXPECT_EQ(system.reportCount, 3);
}

TEST(HidDescriptor, EmulatedConfigurationInterface) {
    const auto d = sim::ConfigInterfaceDescriptor();
    const ReportLayout l = ParseOk(Bytes(d.begin(), d.end()));
    EXPECT_EQ(l.usagePage, 0xFF1C);
    EXPECT_EQ(l.usage, 0x0092);
    EXPECT_TRUE(l.usesReportIds);
    EXPECT_EQ(l.inputReportByteLength, 64);
    EXPECT_EQ(l.outputReportByteLength, 64);
    EXPECT_EQ(l.featureReportByteLength, 0);
    ASSERT_EQ(l.inputValueCaps.size(), 1u);
    EXPECT_EQ(l.inputValueCaps[0].reportId, 4);
    EXPECT_EQ(l.inputValueCaps[0].reportCount, 63);
}

TEST(HidDescriptor, EmulatedConsumerInterfaceCoversTheNotificationUsages) {
    const auto d = sim::ConsumerInterfaceDescriptor();
    const ReportLayout l = ParseOk(Bytes(d.begin(), d.end()));
    EXPECT_EQ(l.usagePage, 0x000C);
    EXPECT_EQ(l.usage, 0x0001);
    EXPECT_EQ(l.inputReportByteLength, 3);
    ASSERT_EQ(l.inputButtonCaps.size(), 1u);
    const Capability& cap = l.inputButtonCaps[0];
    EXPECT_TRUE(cap.isArray);
    EXPECT_EQ(cap.reportId, sim::kConsumerReportId);
    EXPECT_EQ(cap.bitSize, 16);
    for (uint16_t usage : {0x0401, 0x0402, 0x0403}) {
        EXPECT_LE(cap.usageMin, usage);
        EXPECT_GE(cap.usageMax, usage);
        EXPECT_LE(cap.logicalMin, usage - cap.usageMin + cap.logicalMin);
        EXPECT_GE(cap.logicalMax, usage - cap.usageMin + cap.logicalMin);
    }
}

TEST(HidDescriptor, GlobalStackSignsLongItemsAndExtendedUsages) {
    const Bytes d = {
        0x05, 0x01, 0x09, 0x04, 0xA1, 0x01,  // Generic Desktop, Joystick, Application
        0x85, 0x02,                          // Report ID 2
        0xA4,                                // Push
        0x15, 0x81, 0x25, 0x7F,              // Logical -127..127
        0x35, 0x00, 0x45, 0xFF,              // Physical 0..0xFF: a maximum after a minimum of 0 is unsigned
        0x75, 0x08, 0x95, 0x01,
        0x09, 0x30, 0x81, 0x02,              // X, Input Variable
        0xB4,                                // Pop: logical and physical ranges back to 0
        0xFE, 0x02, 0x10, 0xAA, 0xBB,        // a long item, skipped whole
        0x75, 0x04, 0x95, 0x02,
        0x26, 0xFF, 0x00,                    // Logical 0..255
        0x0B, 0x31, 0x00, 0x01, 0x00,        // extended usage: page 1, usage 0x31 (Y)
        0x0B, 0x32, 0x00, 0x01, 0x00,        // page 1, usage 0x32 (Z)
        0x81, 0x02,
        0xC0,
    };
    const ReportLayout l = ParseOk(d);
    EXPECT_EQ(l.usagePage, 0x0001);
    EXPECT_EQ(l.usage, 0x0004);
    EXPECT_EQ(l.inputReportByteLength, 3);  // id + 8 + 2x4 bits
    ASSERT_EQ(l.inputValueCaps.size(), 3u);
    const Capability& x = l.inputValueCaps[0];
    EXPECT_EQ(x.usageMin, 0x30);
    EXPECT_EQ(x.logicalMin, -127);
    EXPECT_EQ(x.logicalMax, 127);
    EXPECT_EQ(x.physicalMax, 255);
    EXPECT_EQ(l.inputValueCaps[1].usageMin, 0x31);
    EXPECT_EQ(l.inputValueCaps[1].usagePage, 0x0001);
    EXPECT_EQ(l.inputValueCaps[1].logicalMin, 0);
    EXPECT_EQ(l.inputValueCaps[1].logicalMax, 255);
    EXPECT_EQ(l.inputValueCaps[1].bitOffset, 8u);
    EXPECT_EQ(l.inputValueCaps[1].bitSize, 4);
    EXPECT_EQ(l.inputValueCaps[2].usageMin, 0x32);
    EXPECT_EQ(l.inputValueCaps[2].bitOffset, 12u);
}

TEST(HidDescriptor, UsageListShorterThanCountGivesItsLastUsageTheRemainingFields) {
    const Bytes d = {
        0x05, 0x01, 0x09, 0x02, 0xA1, 0x01,
        0x09, 0x30, 0x09, 0x31,              // X, Y
        0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x03,
        0x81, 0x02,
        0xC0,
    };
    const ReportLayout l = ParseOk(d);
    EXPECT_FALSE(l.usesReportIds);
    EXPECT_EQ(l.inputReportByteLength, 3);  // no id byte when reports are not numbered
    ASSERT_EQ(l.inputValueCaps.size(), 2u);
    EXPECT_EQ(l.inputValueCaps[0].reportCount, 1);
    EXPECT_EQ(l.inputValueCaps[1].usageMin, 0x31);
    EXPECT_EQ(l.inputValueCaps[1].bitOffset, 8u);
    EXPECT_EQ(l.inputValueCaps[1].reportCount, 2);
}

// Which usage page each usage gets. A usage takes the page in force where it is declared; a
// Usage Page after usages and before their main item re-binds only the trailing usages that
// do not have it yet. Each row lists the fields of the first input item as page:usage.
struct UsagePageCase {
    const char* name;
    Bytes bytes;
    std::vector<uint32_t> fields;  // (page << 16) | usage, in field order
};

void PrintTo(const UsagePageCase& c, std::ostream* os) { *os << c.name; }

class HidDescriptorUsagePages : public ::testing::TestWithParam<UsagePageCase> {};

std::vector<uint32_t> FieldUsages(const ReportLayout& l) {
    std::vector<uint32_t> out;
    for (const auto* caps : {&l.inputButtonCaps, &l.inputValueCaps})
        for (const Capability& c : *caps)
            for (uint32_t u = c.usageMin; u <= c.usageMax; ++u) out.push_back((uint32_t{c.usagePage} << 16) | u);
    return out;
}

TEST_P(HidDescriptorUsagePages, BindsEachUsageToItsPage) {
    EXPECT_EQ(FieldUsages(ParseOk(GetParam().bytes)), GetParam().fields);
}

Bytes Gamepad(std::initializer_list<uint8_t> buttonUsages) {
    // Generic Desktop / Game Pad application; the buttons as given, then the Consumer page for
    // AC Home (0x223) and AC Back (0x224), and one input item of eleven 1-bit fields.
    Bytes d = {0x05, 0x01, 0x09, 0x05, 0xA1, 0x01, 0x05, 0x09};
    d.insert(d.end(), buttonUsages);
    const Bytes tail = {0x05, 0x0C, 0x0A, 0x23, 0x02, 0x0A, 0x24, 0x02,  // Consumer: AC Home, AC Back
                        0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x0B, 0x81, 0x02,
                        0x75, 0x05, 0x95, 0x01, 0x81, 0x03,              // padding to a byte
                        0xC0};
    d.insert(d.end(), tail.begin(), tail.end());
    return d;
}

std::vector<uint32_t> ButtonsThenHomeBack() {
    std::vector<uint32_t> v;
    for (uint32_t b = 1; b <= 9; ++b) v.push_back(0x90000 | b);
    v.push_back(0xC0223);
    v.push_back(0xC0224);
    return v;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HidDescriptorUsagePages,
    ::testing::Values(
        // The gamepad 18D1:2C40: Button usages, then the Consumer page for two more usages
        // before the Input item. The buttons keep the Button page.
        UsagePageCase{"GamepadButtonRangeThenConsumerUsages",
                      Gamepad({0x19, 0x01, 0x29, 0x09}), ButtonsThenHomeBack()},
        UsagePageCase{"GamepadButtonUsagesThenConsumerUsages",
                      Gamepad({0x09, 0x01, 0x09, 0x02, 0x09, 0x03, 0x09, 0x04, 0x09, 0x05, 0x09, 0x06, 0x09,
                               0x07, 0x09, 0x08, 0x09, 0x09}),
                      ButtonsThenHomeBack()},
        // A Usage Page after all the usages of an item applies to all of them.
        UsagePageCase{"UsagePageAfterTheUsages",
                      {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x05, 0x09, 0x09, 0x30, 0x09, 0x31, 0x05, 0x01,
                       0x15, 0x00, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x02, 0x81, 0x02, 0xC0},
                      {0x10030, 0x10031}},
        // Re-binding walks back from the last usage and stops at the first that has the page.
        UsagePageCase{"TrailingPageStopsAtAUsageThatHasIt",
                      {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x05, 0x09, 0x09, 0x01, 0x05, 0x0C, 0x09, 0xE9,
                       0x05, 0x09, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x02, 0x81, 0x02,
                       0x75, 0x06, 0x95, 0x01, 0x81, 0x03, 0xC0},
                      {0x90001, 0x900E9}},
        // An extended usage keeps its own page; the 16-bit usage before it is re-bound.
        UsagePageCase{"ExtendedUsageKeepsItsPage",
                      {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x05, 0x09, 0x09, 0x01, 0x0B, 0xE9, 0x00, 0x0C, 0x00,
                       0x05, 0x0C, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x02, 0x81, 0x02,
                       0x75, 0x06, 0x95, 0x01, 0x81, 0x03, 0xC0},
                      {0xC0001, 0xC00E9}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HidDescriptor, UsagePageAfterTheCollectionUsageNamesTheTopLevel) {
    const Bytes d = {0x09, 0x02, 0x05, 0x01, 0xA1, 0x01, 0xC0};  // Usage (Mouse), then its page
    const ReportLayout l = ParseOk(d);
    EXPECT_EQ(l.usagePage, 0x0001);
    EXPECT_EQ(l.usage, 0x0002);
}

struct MalformedCase {
    const char* name;
    Bytes bytes;
};

class HidDescriptorMalformed : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(HidDescriptorMalformed, IsRefusedWithAReason) {
    std::string error;
    EXPECT_FALSE(ParseReportDescriptor(GetParam().bytes, &error).has_value());
    EXPECT_FALSE(error.empty());
}

Bytes Pushes(int n) { return Bytes(static_cast<size_t>(n), 0xA4); }

Bytes LongReport() {
    // 600 fields of 255 bits: over 19 KB, past any real report.
    return {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x75, 0xFF, 0x09, 0x30, 0x96, 0x58, 0x02, 0x81, 0x02, 0xC0};
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HidDescriptorMalformed,
    ::testing::Values(
        MalformedCase{"Empty", {}},
        MalformedCase{"TruncatedShortItem", {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x26, 0xFF}},
        MalformedCase{"TruncatedFourByteItem", {0x05, 0x0C, 0x27, 0x01, 0x02}},
        MalformedCase{"TruncatedLongItem", {0xFE, 0x05, 0x10, 0x01, 0x02}},
        MalformedCase{"LongItemHeaderCut", {0xFE, 0x05}},
        MalformedCase{"PopWithoutPush", {0x05, 0x0C, 0xB4}},
        MalformedCase{"PushOverflow", Pushes(17)},
        MalformedCase{"ReportSizeAbsurd", {0x76, 0x00, 0x10}},
        MalformedCase{"ReportCountAbsurd", {0x96, 0x20, 0x4E}},
        MalformedCase{"ReportIdZero", {0x85, 0x00}},
        MalformedCase{"ReportIdWide", {0x86, 0x00, 0x01}},
        MalformedCase{"UsagePageWide", {0x07, 0x00, 0x00, 0x01, 0x00}},
        MalformedCase{"EndWithoutCollection", {0xC0}},
        MalformedCase{"NoCollection", {0x05, 0x0C, 0x09, 0x01}},
        MalformedCase{"CollectionNotClosed", {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01}},
        MalformedCase{"UsageMinAboveMax",
                      {0xA1, 0x01, 0x19, 0x10, 0x29, 0x01, 0x75, 0x01, 0x95, 0x01, 0x81, 0x02, 0xC0}},
        MalformedCase{"DataBeforeFirstReportId",
                      {0xA1, 0x01, 0x09, 0x01, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0x85, 0x01, 0x09, 0x01,
                       0x81, 0x02, 0xC0}},
        MalformedCase{"ReportTooLong", LongReport()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HidDescriptor, EveryTruncationOfARealDescriptorIsHandled) {
    // Whatever prefix it is given, the parser answers without reading past it (each prefix is
    // an exactly sized copy, so the address sanitizer sees any overread). Only the prefixes
    // that hold whole top-level collections, and at most the global items that open the
    // next one, are complete descriptors.
    const Bytes d = test::LoadHexFixture("mouse_consumer_descriptor.hex");
    for (size_t n = 0; n < d.size(); ++n) {
        const Bytes cut(d.begin(), d.begin() + static_cast<std::ptrdiff_t>(n));
        const bool complete = n == 25 || n == 27 || n == 29 || n == 52 || n == 55 || n == 57;
        EXPECT_EQ(ParseReportDescriptor(cut).has_value(), complete) << "prefix of " << n << " bytes";
    }
}

}  // namespace
}  // namespace orvane::hid
