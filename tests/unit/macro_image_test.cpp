// SPDX-License-Identifier: GPL-3.0-or-later
// The macro and cursor image layout: sizes and offsets of the worked examples, the 16-bit
// limits, and images from a device that lie about their counts and offsets.

#include <gtest/gtest.h>

#include <vector>

#include "macros/macro_image.h"

namespace orvane::macros {
namespace {

ImageEntry Actions(size_t n, uint8_t seed = 1) {
    ImageEntry e(n);
    for (size_t i = 0; i < n; ++i) e[i] = {uint8_t(seed + i), 0, 0x8A, uint8_t(4 + i)};
    return e;
}

uint16_t Le16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }

TEST(MacroImage, SizesAndOffsetsOfTheWorkedExamples) {
    struct Case {
        std::vector<size_t> counts;
        size_t total;
        std::vector<uint16_t> offsets;
    } const cases[] = {
        {{3}, 34, {18}},
        {{0, 2}, 36, {20, 24}},
        {{26}, 126, {18}},
        {{180, 180, 180, 180}, 2920, {24, 748, 1472, 2196}},
        {{200, 180, 180, 180}, 3000, {24, 828, 1552, 2276}},
        {{}, 16, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.total);
        std::vector<ImageEntry> entries;
        for (size_t i = 0; i < c.counts.size(); ++i) entries.push_back(Actions(c.counts[i], uint8_t(10 * i)));
        EXPECT_EQ(ImageSize(entries), c.total);
        const auto image = BuildImage(entries);
        ASSERT_TRUE(image);
        ASSERT_EQ(image->size(), c.total);
        EXPECT_EQ(Le16(*image, 0), 0x55AA);
        EXPECT_EQ(Le16(*image, 2), c.total);
        EXPECT_EQ(Le16(*image, 4), c.counts.size());
        for (size_t b = 6; b < 16; ++b) EXPECT_EQ((*image)[b], 0) << "reserved byte " << b;
        for (size_t i = 0; i < c.offsets.size(); ++i) {
            EXPECT_EQ(Le16(*image, 16 + 2 * i), c.offsets[i]);
            EXPECT_EQ(Le16(*image, c.offsets[i]), c.counts[i]);
            EXPECT_EQ(Le16(*image, c.offsets[i] + 2), 0);
        }
        const auto back = ParseImage(*image);
        ASSERT_TRUE(back);
        EXPECT_EQ(*back, entries);
    }
}

TEST(MacroImage, OneMacroOfThreeActionsByteForByte) {
    const std::vector<ImageEntry> entries{{{12, 1, 0x8A, 0x04}, {0, 0, 0x0A, 0x04}, {5, 0, 0x84, 20}}};
    const std::vector<uint8_t> expected{0xAA, 0x55, 34, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // header
                                        18,   0,                                                // offset table
                                        3,    0,    0,  0,                                      // record
                                        12,   1,    0x8A, 0x04, 0, 0, 0x0A, 0x04, 5, 0, 0x84, 20};
    EXPECT_EQ(BuildImage(entries), expected);
}

TEST(MacroImage, CountsBeyondSixteenBitsAreNotPacked) {
    EXPECT_FALSE(BuildImage(std::vector<ImageEntry>{Actions(16380)}));  // 16 + 6 + 65520 > 65535
    EXPECT_TRUE(BuildImage(std::vector<ImageEntry>{Actions(16378)}));   // 65534
    EXPECT_EQ(ImageSize(std::vector<ImageEntry>(70000)), 16u + 6u * 70000u);
    EXPECT_FALSE(BuildImage(std::vector<ImageEntry>(70000)));
}

TEST(MacroImage, ImagesThatPointPastTheirEndAreRejectedWhole) {
    const auto good = *BuildImage(std::vector<ImageEntry>{Actions(3), Actions(2)});  // 48 bytes, offsets 20, 36
    const auto with = [&](size_t at, uint8_t value) {
        auto b = good;
        b[at] = value;
        return b;
    };
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    } const cases[] = {
        {"shorter than the header", std::vector<uint8_t>(good.begin(), good.begin() + 15)},
        {"wrong magic", with(0, 0xAB)},
        {"total below 16", with(2, 15)},
        {"total below the offset table", with(2, 17)},
        {"total past the bytes received", with(2, 49)},
        {"entry count past the end", with(4, 40)},
        {"offset past the end", with(16, 47)},
        {"offset inside the header", with(16, 4)},
        {"action count past the end", with(20, 8)},
        {"second count past the end", with(36, 3)},
        {"cut short", std::vector<uint8_t>(good.begin(), good.end() - 1)},
    };
    for (const auto& c : cases) EXPECT_FALSE(ParseImage(c.bytes)) << c.what;

    // Bytes after the total are not the image's; the header's total decides.
    auto longer = good;
    longer.resize(100, 0xEE);
    EXPECT_EQ(ParseImage(longer)->size(), 2u);
    // An empty image is a valid one.
    EXPECT_EQ(ParseImage(*BuildImage({}))->size(), 0u);
}

}  // namespace
}  // namespace orvane::macros
