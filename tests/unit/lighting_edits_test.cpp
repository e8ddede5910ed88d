// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard's per-key paint on the model data: only in the variant's own custom mode,
// never a position without an LED, fill lighting only unlit slots (a key painted 0,0,0 is
// unlit), clear touching only the paint layer, and the slider-to-speed rule.
#include <gtest/gtest.h>

#include "lighting/keyboard_tables.h"
#include "lighting/lighting_edits.h"

using namespace orvane;
using keyboard::KeyboardData;
using keyboard::KeyboardVariant;
using lighting::PaintTool;

namespace {

KeyboardData InMode(uint8_t mode, uint8_t layer, device::Rgb paint) {
    KeyboardData d;
    d.lighting.set(keyboard::LightingRecord::off::mode, mode);
    d.paint.set(keyboard::CustomPaintState::off::layer, layer);
    d.paint.setRgb(keyboard::CustomPaintState::off::colour, paint);
    return d;
}

TEST(LightingEdits, PaintOnlyInTheVariantsCustomMode) {
    struct Case {
        KeyboardVariant variant;
        uint8_t mode;
        bool paints;
    };
    const Case cases[] = {
        {KeyboardVariant::Rgb, 15, true},           {KeyboardVariant::Rgb, 10, false},
        {KeyboardVariant::SingleColour, 10, true}, {KeyboardVariant::SingleColour, 15, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.mode));
        KeyboardData d = InMode(c.mode, 2, {1, 2, 3});
        const auto before = d.colours.bytes;
        EXPECT_EQ(lighting::PaintKey(d, c.variant, 30, PaintTool::Light), c.paints);
        EXPECT_EQ(d.colours.bytes != before, c.paints);
        if (!c.paints) continue;
        const uint8_t slot = lighting::PaintSlotOf(c.variant, 30);
        if (c.variant == KeyboardVariant::Rgb) EXPECT_EQ(d.colours.colourAt(2, slot), (device::Rgb{1, 2, 3}));
        else EXPECT_EQ(d.colours.levelAt(2, slot), 255);  // a level, whatever the paint colour
        EXPECT_TRUE(lighting::PaintKey(d, c.variant, 30, PaintTool::Erase));
        EXPECT_EQ(d.colours.bytes, before);
    }
    // A position without an LED is never painted.
    KeyboardData d = InMode(15, 0, {9, 9, 9});
    ASSERT_EQ(lighting::kRgbSlot[62], lighting::kNoKey);
    EXPECT_FALSE(lighting::PaintKey(d, KeyboardVariant::Rgb, 62, PaintTool::Light));
    EXPECT_FALSE(lighting::PaintKey(d, KeyboardVariant::Rgb, 500, PaintTool::Light));
}

TEST(LightingEdits, FillLightsOnlyUnlitSlotsOfThePaintLayer) {
    KeyboardData d = InMode(15, 1, {0, 0, 0});
    lighting::PaintKey(d, KeyboardVariant::Rgb, 30, PaintTool::Light);  // painted black: still unlit
    d.paint.setRgb(keyboard::CustomPaintState::off::colour, {10, 20, 30});
    lighting::PaintKey(d, KeyboardVariant::Rgb, 31, PaintTool::Light);
    d.paint.setRgb(keyboard::CustomPaintState::off::colour, {200, 0, 0});
    lighting::FillLayer(d, KeyboardVariant::Rgb);
    EXPECT_EQ(d.colours.colourAt(1, lighting::kRgbSlot[30]), (device::Rgb{200, 0, 0}));
    EXPECT_EQ(d.colours.colourAt(1, lighting::kRgbSlot[31]), (device::Rgb{10, 20, 30}));
    EXPECT_EQ(d.colours.colourAt(1, keyboard::kLedSlotCount - 1), (device::Rgb{200, 0, 0}));  // every slot
    EXPECT_EQ(d.colours.colourAt(0, 0), device::Rgb{});  // other layers untouched
    lighting::ClearLayer(d, KeyboardVariant::Rgb);
    for (size_t s = 0; s < keyboard::kLedSlotCount; ++s) ASSERT_EQ(d.colours.colourAt(1, s), device::Rgb{});

    KeyboardData mono = InMode(10, 4, {});
    mono.colours.setLevelAt(4, 3, 7);
    lighting::FillLayer(mono, KeyboardVariant::SingleColour);
    EXPECT_EQ(mono.colours.levelAt(4, 3), 7);
    EXPECT_EQ(mono.colours.levelAt(4, 4), 255);
    lighting::ClearLayer(mono, KeyboardVariant::SingleColour);
    EXPECT_EQ(mono.colours.levelAt(4, 3), 0);
    // The single-colour clear covers its 126 levels, not the next layer's bytes.
    mono.paint.set(keyboard::CustomPaintState::off::layer, 0);
    mono.colours.setLevelAt(0, 200, 9);  // beyond the 126 levels of layer 0
    lighting::ClearLayer(mono, KeyboardVariant::SingleColour);
    EXPECT_EQ(mono.colours.at(200), 9);
}

TEST(LightingEdits, SpeedIsFourMinusThePositionNotBelowZero) {
    const std::pair<int, int> cases[] = {{-1, 4}, {0, 4}, {1, 3}, {3, 1}, {4, 0}, {5, 0}, {200, 0}};
    for (const auto& [position, speed] : cases) EXPECT_EQ(lighting::SpeedFromSlider(position), speed) << position;
}

}  // namespace
