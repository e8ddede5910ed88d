// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard's records and the position map.

#include <gtest/gtest.h>

#include "keyboard/keyboard_device.h"

namespace orvane::keyboard {
namespace {

KeyCode CodeOf(size_t position) {
    const auto& p = kKeyPositions[position];
    return {p.type, p.modifiers, p.usage};
}

TEST(KeyPositionTable, TheFixedPositions) {
    EXPECT_EQ(kKeyPositions.size(), 126u);
    EXPECT_EQ(CodeOf(0), (KeyCode{0x20, 0, 0x29}));
    EXPECT_EQ(CodeOf(110), (KeyCode{0xA0, 0x02, 0x02}));
    EXPECT_EQ(CodeOf(84), (KeyCode{0x20, 0x02, 0}));
    EXPECT_EQ(CodeOf(125), (KeyCode{0x20, 0x80, 0}));
    EXPECT_EQ(CodeOf(102), (KeyCode{0x20, 0, 0x64}));
    for (size_t p : {16u, 20u, 62u, 81u, 100u, 101u, 103u, 104u, 122u, 124u}) EXPECT_TRUE(kKeyPositions[p].empty()) << p;
    for (const auto& p : kKeyPositions) {
        if (&p != &kKeyPositions[110]) {
            EXPECT_EQ(p.type, kKeyCodeType);
        }
    }
}

TEST(PositionMap, FirstMatchingKeyWithinTheKeyCount) {
    NativeKeyTable native;
    native.setCode(0, CodeOf(75));   // Enter
    native.setCode(1, CodeOf(110));
    native.setCode(2, CodeOf(64));   // A
    native.setCode(3, CodeOf(64));   // A again: the lower index wins
    native.setCode(4, CodeOf(0));    // Esc, beyond a key count of 4

    PositionMap map = InitialPositionMap();
    map[43] = 9;  // Q: a key found by an earlier read-back
    BuildPositionMap(native, 4, map);
    EXPECT_EQ(map[75], 0);
    EXPECT_EQ(map[110], 1);
    EXPECT_EQ(map[64], 2);
    EXPECT_EQ(map[0], kNoDeviceKey) << "keys past the count are not searched";
    EXPECT_EQ(map[43], 9) << "a position without a key keeps what it held";
    EXPECT_EQ(map[1], kNoDeviceKey);

    // A key count beyond the table never reads past it.
    PositionMap all = InitialPositionMap();
    BuildPositionMap(native, 255, all);
    EXPECT_EQ(all[0], 4);
}

TEST(KeyboardRecords, CountsVariantsAndLayouts) {
    KeyboardInfo info;
    info.set(KeyboardInfo::off::keyCount, 200);
    info.set(KeyboardInfo::off::macroUnits, 32);
    EXPECT_EQ(info.reportedKeyCount(), 200);
    EXPECT_EQ(info.keyCount(), 170u);
    EXPECT_EQ(info.macroCapacity(), 4096u);


    KeyColourMap colours;
    colours.setColourAt(2, 5, {1, 2, 3});
    EXPECT_EQ(colours.at(378 * 2 + 15), 1);
    EXPECT_EQ(colours.at(378 * 2 + 17), 3);
    colours.setLevelAt(4, 125, 9);
    EXPECT_EQ(colours.at(378 * 4 + 125), 9);

    KeyboardData data;
    data.lighting.setSlot(1);
    EXPECT_EQ(data.activeBank(), 1u);
    data.lighting.setSlot(7);
    EXPECT_EQ(data.activeBank(), 0u) << "a slot byte above 4 names no bank";
    EXPECT_EQ(data.positionMap, InitialPositionMap());
}

}  // namespace
}  // namespace orvane::keyboard
