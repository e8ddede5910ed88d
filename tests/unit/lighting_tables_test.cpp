// SPDX-License-Identifier: GPL-3.0-or-later
// The lighting tables: sizes, curves, wheel ramps, gaps and the device LED maps.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "lighting/device_tables.h"
#include "lighting/keyboard_tables.h"
#include "lighting/level_tables.h"

using namespace orvane::lighting;

TEST(LightingTables, CurvesRiseAndMirror) {
    EXPECT_EQ(kBrightLevel, (std::array<uint8_t, 5>{0, 90, 150, 200, 255}));
    EXPECT_EQ(kTickDelay, (std::array<uint8_t, 5>{9, 21, 35, 45, 65}));
    struct Curve { const uint8_t* data; size_t size; uint8_t first; };
    for (const auto& [data, size, first] : {Curve{kWave96.data(), 96, 22}, Curve{kBreath128.data(), 128, 0}}) {
        EXPECT_EQ(data[0], first);
        EXPECT_EQ(data[size / 2 - 1], 255);
        for (size_t i = 0; i < size / 2; ++i) EXPECT_EQ(data[i], data[size - 1 - i]) << i;
        for (size_t i = 1; i < size / 2; ++i) EXPECT_GT(data[i], data[i - 1]) << i;
    }
    EXPECT_EQ(kFlash192[16], 255);
    EXPECT_EQ(kFlash192[79], 1);
    EXPECT_TRUE(std::all_of(kFlash192.begin() + 80, kFlash192.end(), [](uint8_t v) { return v == 0; }));
}

TEST(LightingTables, HueWheelIsSixRampsRoundTheCircle) {
    EXPECT_EQ(kHueWheel[0], (Rgb{255, 1, 0}));
    EXPECT_EQ(kHueWheel[31], (Rgb{255, 255, 0}));
    EXPECT_EQ(kHueWheel[32], (Rgb{248, 255, 0}));
    EXPECT_EQ(kHueWheel[63], (Rgb{0, 255, 0}));
    EXPECT_EQ(kHueWheel[64], (Rgb{0, 255, 1}));
    EXPECT_EQ(kHueWheel[127], (Rgb{0, 0, 255}));
    EXPECT_EQ(kHueWheel[159], (Rgb{255, 0, 255}));
    EXPECT_EQ(kHueWheel[191], (Rgb{255, 0, 0}));
    for (size_t i = 192; i < 256; ++i) EXPECT_EQ(kHueWheel[i], kHueWheel[i - 192]) << i;
    // Adjacent entries never jump by more than one ramp step.
    for (size_t i = 1; i < 192; ++i) {
        const auto a = kHueWheel[i - 1], b = kHueWheel[i];
        EXPECT_LE(std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b), 16) << i;
    }
    EXPECT_EQ(kHueWheel2[1], (Rgb{255, 96, 0}));
    EXPECT_EQ(kHueWheel2[25], (Rgb{64, 128, 128}));
    EXPECT_EQ(kColourTable[0], (Rgb{0xFF, 0xFF, 0x00}));
    EXPECT_EQ(kColourTable[125], (Rgb{0xC9, 0xFF, 0x68}));
    for (size_t set = 0; set < 3; ++set) EXPECT_EQ(kColourTable[8 * set + 7], (Rgb{0, 0, 0}));
}

TEST(LightingTables, SlotMapsLeaveGapsAndStayInTheFrame) {
    EXPECT_EQ(kRgbSlot[62], kNoKey);
    EXPECT_EQ(kRgbSlot[16], 17);
    EXPECT_EQ(kRgbSlot[17], 17);
    EXPECT_EQ(std::count(kRgbSlot.begin(), kRgbSlot.end(), kNoKey), 13);
    EXPECT_EQ(std::count(kMonoSlot.begin(), kMonoSlot.end(), kNoKey), 18);
    for (auto table : {kRgbSlot, kMonoSlot})
        for (uint8_t s : table) EXPECT_LE(s, kNoKey);
}

TEST(LightingTables, GeometryNamesOnlyKeyPositions) {
    auto keysOrGaps = [](auto table, uint8_t gap) {
        return std::all_of(table.begin(), table.end(), [gap](uint8_t v) { return IsKey(v) || v == gap; });
    };
    EXPECT_TRUE(keysOrGaps(kGrid, kNoCell));
    EXPECT_TRUE(keysOrGaps(kColumns, kNoCell));
    EXPECT_TRUE(keysOrGaps(kMonoColumns, kNoKey));
    EXPECT_TRUE(keysOrGaps(kPath, kNoKey));
    EXPECT_TRUE(keysOrGaps(kMonoPath, kNoKey));
    EXPECT_TRUE(keysOrGaps(kRunPath, kNoKey));
    EXPECT_TRUE(keysOrGaps(kMonoRunPath, kNoKey));
    for (size_t c = 0; c < kGridColumns; ++c) {
        EXPECT_EQ(kColumns[c * 7], kNoCell);
        for (size_t r = 0; r < kGridRows; ++r) EXPECT_EQ(kColumns[c * 7 + 1 + r], GridCell(c, r));
    }
    EXPECT_EQ(GridCell(0, 5), 105);
    EXPECT_EQ(GridCell(22, 4), 118);
    // The paths visit each key at most once, so a per-key decay runs once per tick.
    for (auto path : {std::vector<uint8_t>(kPath.begin(), kPath.end()), std::vector<uint8_t>(kMonoPath.begin(), kMonoPath.end())}) {
        std::set<uint8_t> seen;
        for (uint8_t k : path) {
            if (IsKey(k)) {
                EXPECT_TRUE(seen.insert(k).second) << int(k);
            }
        }
    }
    EXPECT_EQ(kPath[64], kNoKey);
    EXPECT_EQ(kPath[112], 77);
    EXPECT_EQ(kPath[113], kNoKey);
    EXPECT_EQ(kMonoPath[107], 77);
    EXPECT_EQ(kMonoPath[108], kNoKey);
    EXPECT_EQ(kRunPath[112], 105);
    EXPECT_EQ(kRunPath[116], kNoKey);
    EXPECT_EQ(kMonoRunPath[109], 105);
}

TEST(LightingTables, ShuffleIsAPermutationOfThePathSteps) {
    std::vector<uint8_t> sorted(kShuffle.begin(), kShuffle.end());
    std::sort(sorted.begin(), sorted.end());
    for (size_t i = 0; i < sorted.size(); ++i) EXPECT_EQ(sorted[i], i);
    EXPECT_EQ(kShuffle[0], 88);
    EXPECT_EQ(kShuffle[112], 110);
}

TEST(LightingTables, RingsStartLevelsAndSecondPath) {
    EXPECT_EQ(kStartLevels[0], 72);
    EXPECT_EQ(kStartLevels[137], 32);
    EXPECT_TRUE(std::all_of(kStartLevels.begin(), kStartLevels.end(), [](uint8_t v) { return v <= 192; }));
    for (const auto& ring : kRings)
        for (uint8_t d : ring) {
            if (d != kNoCell) {
                EXPECT_NE(kPathIndexOf[d], kNoCell) << "ring entry " << int(d) << " is on the path";
            }
        }
    EXPECT_EQ(kPathIndexOf[17], 0);
    EXPECT_EQ(kPathIndexOf[77], 112);
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(kPath2[i], 17 + i);
    for (size_t i = 4; i < 108; ++i) EXPECT_EQ(kPath2[i], kMonoPath[i]);
    for (size_t i = 108; i < kPath2.size(); ++i) EXPECT_EQ(kPath2[i], 0);
}

TEST(LightingTables, EveryMouseLedInExactlyOneGroup) {
    std::array<int, kMouseLedCount> groupOf{};
    groupOf.fill(-1);
    for (size_t g = 0; g < kMouseGroupCount; ++g)
        for (uint8_t led : kMouseGroups[g]) {
            ASSERT_LT(led, kMouseLedCount);
            EXPECT_TRUE(groupOf[led] == -1 || groupOf[led] == int(g)) << "LED " << int(led);
            groupOf[led] = int(g);
        }
    for (size_t led = 0; led < kMouseLedCount; ++led) EXPECT_NE(groupOf[led], -1) << "LED " << led;
}

TEST(LightingTables, PadColumnsCoverEveryLedOnceAndColumnThreeIsEmpty) {
    EXPECT_EQ(kPadColumns[3].count, 0);
    std::multiset<uint8_t> leds;
    for (const auto& col : kPadColumns)
        for (size_t k = 0; k < col.count; ++k) leds.insert(col.leds[k]);
    ASSERT_EQ(leds.size(), kPadLedCount);
    for (uint8_t led = 0; led < kPadLedCount; ++led) EXPECT_EQ(leds.count(led), 1u) << int(led);
}
