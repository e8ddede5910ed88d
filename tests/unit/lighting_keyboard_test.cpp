// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard's lighting renderers: frames computed by hand from the tables, the edge
// cases of the tick (brightness 0, gaps, wraps, synchronised lighting) and the start states.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "lighting/keyboard_effects.h"
#include "lighting/keyboard_engine.h"
#include "unit/lighting_choice.h"

using namespace orvane::lighting;
using orvane::keyboard::KeyColourMap;

namespace {

class FixedRandom final : public RandomSource {
public:
    explicit FixedRandom(uint32_t v) : v_(v) {}
    uint32_t next() override { return v_; }

private:
    uint32_t v_;
};

using orvane::testing::Choice;

struct Rig {
    explicit Rig(KeyboardVariant v = KeyboardVariant::Rgb) : variant(v) {}
    KeyboardVariant variant;
    KeyboardEngineState s;
    KeyColourMap colours;
    FixedRandom random{77};

    KeyboardFrame tick(const LightingChoice& c, uint8_t layer = 0) {
        return KeyboardTick({c, variant, layer, &colours}, s, random, false);
    }
    void select(uint8_t mode) { SelectKeyboardMode(s, variant, mode); }
};

Rgb SlotColour(const KeyboardFrame& f, size_t slot) { return {f.bytes[3 * slot], f.bytes[3 * slot + 1], f.bytes[3 * slot + 2]}; }

std::set<size_t> SlotsNamedBy(const std::array<uint8_t, kKeyCount>& slotMap) {
    std::set<size_t> s;
    for (uint8_t v : slotMap) if (IsKey(v)) s.insert(v);
    return s;
}

}  // namespace

TEST(KeyboardLighting, StaticColourScalesByTheOutputLevel) {
    Rig rig;
    const auto f = rig.tick(Choice(4, 3, 1, 0, {10, 20, 30}));
    ASSERT_EQ(f.size, 378);
    for (size_t slot = 0; slot < kKeyCount; ++slot) EXPECT_EQ(SlotColour(f, slot), (Rgb{7, 15, 23})) << slot;
    EXPECT_EQ(f.preview[62].colour, (20u << 16) | (30u << 8) | 10u);
    EXPECT_EQ(f.preview[62].alpha, 200);
    const auto fixed = rig.tick(Choice(1));
    EXPECT_EQ(SlotColour(fixed, 125), (Rgb{254, 33, 183}));
}

TEST(KeyboardLighting, ColumnWaveLevelsFollowTheWave) {
    Rig rig;
    const auto f = rig.tick(Choice(6, 4, 1, 0, {200, 100, 50}));
    // Phase 0 -> 1; column 2 (positions 0, 22, 43, 64, 85, 107) takes wave96[1 + 20] = 99.
    EXPECT_EQ(rig.s.phase, 1);
    EXPECT_EQ(SlotColour(f, kRgbSlot[0]), (Rgb{76, 38, 18}));
    EXPECT_EQ(SlotColour(f, kRgbSlot[107]), (Rgb{76, 38, 18}));
    EXPECT_EQ(f.preview[0].alpha, (255 * 99) >> 8);
    // Seven colours: column 2 takes hueWheel[1 + 14] at full level.
    Rig seven;
    const auto g = seven.tick(Choice(6, 4, 1, 1));
    EXPECT_EQ(SlotColour(g, kRgbSlot[22]), KeyScale(kHueWheel[15], 255));
}

TEST(KeyboardLighting, ColourCycleWrapsAt191AndZero) {
    struct Case { uint8_t start; uint8_t direction; uint8_t after; };
    for (const auto& c : {Case{191, 1, 0}, Case{0, 0, 191}, Case{100, 1, 101}, Case{100, 0, 99}}) {
        Rig rig;
        rig.s.phase = c.start;
        const auto f = rig.tick(Choice(7, 4, c.direction));
        EXPECT_EQ(rig.s.phase, c.after) << int(c.start);
        EXPECT_EQ(SlotColour(f, 0), KeyScale(kHueWheel[c.after], 255));
    }
}

TEST(KeyboardLighting, BreathingPicksItsColourFromTheRandomSource) {
    Rig rig;
    rig.s.phase = 127;
    auto f = rig.tick(Choice(5, 4, 1, 1));
    EXPECT_EQ(rig.s.phase, 0);
    EXPECT_EQ(rig.s.breathHue, 77);
    EXPECT_TRUE(std::all_of(f.bytes.begin(), f.bytes.end(), [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(f.preview[0].colour, PreviewValue(kHueWheel[77]));
    for (int i = 0; i < 63; ++i) f = rig.tick(Choice(5, 4, 1, 1));
    EXPECT_EQ(SlotColour(f, 0), KeyScale(kHueWheel[77], 255, 255));
}

TEST(KeyboardLighting, RunningLightLightsTheRouteAndWrapsBothWays) {
    Rig rig;
    auto f = rig.tick(Choice(10));
    // runPath[0] = Esc: lit at 254, decayed by 20, shown at 234.
    EXPECT_EQ(rig.s.runPos, 1);
    EXPECT_EQ(rig.s.keyLevel[0], 234);
    EXPECT_EQ(SlotColour(f, 0), (Rgb{232, 232, 232}));
    EXPECT_EQ(rig.s.hueStep, 13 + 1);

    Rig back;
    back.tick(Choice(10, 4, 0));
    EXPECT_EQ(back.s.runPos, 116);  // from 0 to the end, nothing lit
    EXPECT_TRUE(std::all_of(back.s.keyLevel.begin(), back.s.keyLevel.end(), [](uint8_t v) { return v == 0; }));
    back.s.runPos = 112;
    back.tick(Choice(10, 4, 0));
    EXPECT_EQ(back.s.keyLevel[105], 234);
    EXPECT_EQ(back.s.runPos, 111);

    // A position past the route, left by the other keyboard's running light, restarts at
    // the route's end instead of reading past it.
    Rig past;
    past.s.runPos = 200;
    past.tick(Choice(10, 4, 0));
    EXPECT_EQ(past.s.runPos, 116);
    past.s.runPos = 117;
    past.tick(Choice(10, 4, 1));
    EXPECT_EQ(past.s.runPos, 0);
}

TEST(KeyboardLighting, TwinkleLightsThreeShuffledKeysATick) {
    Rig rig;
    rig.tick(Choice(12, 4, 1, 1));
    EXPECT_EQ(rig.s.twinklePos, 3);
    const uint8_t keys[] = {kPath[kShuffle[1]], kPath[kShuffle[2]], kPath[kShuffle[3]]};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(rig.s.keyLevel[keys[i]], 235) << i;
        EXPECT_EQ(rig.s.keyHue[keys[i]], 10 * (i + 1)) << i;
    }
    EXPECT_EQ(rig.s.hueStep, 31);
    // The last steps name path gaps: nothing is lit and the colour counter stays.
    Rig end;
    end.s.twinklePos = 113;
    end.tick(Choice(12));
    EXPECT_EQ(end.s.twinklePos, 116);
    EXPECT_EQ(end.s.hueStep, 1);
    end.tick(Choice(12));
    EXPECT_EQ(end.s.twinklePos, 2);
    EXPECT_EQ(end.s.keyLevel[kPath[kShuffle[0]]], 235);
}

TEST(KeyboardLighting, RippleAdvanceSpreadsSidewaysAndAcrossRows) {
    RipplePlanes p{};
    for (auto& plane : p) plane[5] = 1 << 2;
    p[kDownLeft][10] = 0x80;
    detail::RippleAdvance(p);
    EXPECT_EQ(p[kUpLeft][4], 1 << 2);
    EXPECT_EQ(p[kUpLeft][5], 1 << 1);
    EXPECT_EQ(p[kDownLeft][4], 1 << 2);
    EXPECT_EQ(p[kDownLeft][5], 1 << 3);
    EXPECT_EQ(p[kUpRight][6], 1 << 2);
    EXPECT_EQ(p[kUpRight][5], 1 << 1);
    EXPECT_EQ(p[kDownRight][6], 1 << 2);
    EXPECT_EQ(p[kDownRight][5], 1 << 3);
    EXPECT_EQ(p[kDownLeft][9], 0x80);
    EXPECT_EQ(p[kDownLeft][10], 0);  // shifted past bit 7
}

TEST(KeyboardLighting, RippleStartsBelowTheGridAndRisesIntoIt) {
    Rig rig;
    rig.select(9);
    for (const auto& plane : rig.s.ripple) EXPECT_EQ(plane[9], 1 << 6);
    auto f = rig.tick(Choice(9));
    EXPECT_TRUE(std::all_of(f.bytes.begin(), f.bytes.end(), [](uint8_t b) { return b == 0; }));
    f = rig.tick(Choice(9));
    // The rising planes now hold row 5 of column 9: the key there is set to 254 and
    // decays by 40 before it is shown.
    EXPECT_EQ(rig.s.keyLevel[GridCell(9, 5)], 214);
    EXPECT_EQ(SlotColour(f, kRgbSlot[GridCell(9, 5)]), (Rgb{212, 212, 212}));
    EXPECT_EQ(detail::Decay(16, true), 16);
    EXPECT_EQ(detail::Decay(16, false), 12);
    EXPECT_EQ(detail::Decay(8, true), 0);
    EXPECT_EQ(detail::Decay(128, true), 88);
}

TEST(KeyboardLighting, StartStatesGiveTheDocumentedPhases) {
    Rig rig;
    rig.select(11);
    EXPECT_EQ(rig.s.keyPhase[105], 175);  // column 0, row 5: 157 stepped five times
    EXPECT_EQ(rig.s.keyPhase[18], 190);   // column 20, row 0: (94 - 160) mod 256
    EXPECT_EQ(rig.s.keyHue[18], 140);
    rig.select(13);
    EXPECT_EQ(rig.s.keyLevel[105], 120);
    EXPECT_EQ(rig.s.keyLevel[42], 32);
    EXPECT_EQ(rig.s.keyHue[42], 7);
    // A selection keeps key phases, the running and twinkle positions and the colour counter.
    rig.s.runPos = 40;
    rig.s.twinklePos = 9;
    rig.s.hueStep = 99;
    rig.select(0);
    EXPECT_EQ(rig.s.keyPhase[105], 175);
    EXPECT_EQ(rig.s.keyLevel[105], 0);
    EXPECT_EQ(rig.s.runPos, 40);
    EXPECT_EQ(rig.s.twinklePos, 9);
    EXPECT_EQ(rig.s.hueStep, 99);

    Rig mono{KeyboardVariant::SingleColour};
    mono.select(7);
    EXPECT_EQ(mono.s.keyPhase[kMonoPath[kShuffle[0]]], 7);
    EXPECT_EQ(mono.s.keyPhase[kMonoPath[kShuffle[14]]], 105);
    EXPECT_EQ(mono.s.keyPhase[kMonoPath[kShuffle[15]]], 0);  // 112 wraps to 0
    mono.select(12);
    for (size_t c = 0; c < kGridColumns; ++c)
        for (const auto& plane : mono.s.ripple) EXPECT_EQ(plane[c], c % 2 == 0 ? 1 : 0) << c;
}

TEST(KeyboardLighting, FlashPhasesStartingAt192RestartInsteadOfReadingPastTheCurve) {
    Rig rig{KeyboardVariant::SingleColour};
    rig.select(8);
    ASSERT_EQ(rig.s.keyPhase[GridCell(13, 0)], 192);
    const auto f = rig.tick(Choice(8));
    EXPECT_EQ(rig.s.keyPhase[GridCell(13, 0)], 0);
    EXPECT_EQ(f.bytes[kMonoSlot[GridCell(13, 0)]], 0);
    Rig rgb;
    rgb.s.keyPhase[0] = 250;
    rgb.tick(Choice(11));
    EXPECT_EQ(rgb.s.keyPhase[0], 0);
    EXPECT_EQ(rgb.s.keyHue[0], 32);
}

TEST(KeyboardLighting, BrightnessZeroSendsDarkFramesInEveryMode) {
    for (auto variant : {KeyboardVariant::Rgb, KeyboardVariant::SingleColour}) {
        const uint8_t modes = variant == KeyboardVariant::Rgb ? 16 : 17;
        for (uint8_t mode = 0; mode < modes; ++mode) {
            Rig rig{variant};
            rig.colours.bytes.fill(0xFF);
            rig.select(mode);
            for (int t = 0; t < 30; ++t) {
                const auto f = rig.tick(Choice(mode, 0, t % 2, t % 3 == 0));
                ASSERT_TRUE(f.sends()) << int(mode);
                EXPECT_TRUE(std::all_of(f.bytes.begin(), f.bytes.end(), [](uint8_t b) { return b == 0; }))
                    << "mode " << int(mode) << " tick " << t;
            }
        }
    }
}

TEST(KeyboardLighting, SlotsWithoutAKeyAreNeverWritten) {
    struct Case { KeyboardVariant variant; std::vector<uint8_t> modes; };
    const Case cases[] = {
        {KeyboardVariant::Rgb, {5, 6, 7, 8, 9, 10, 11, 12, 13, 15}},
        {KeyboardVariant::SingleColour, {1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 13, 14, 15, 16}},
    };
    for (const auto& c : cases) {
        const bool rgb = c.variant == KeyboardVariant::Rgb;
        const auto named = SlotsNamedBy(rgb ? kRgbSlot : kMonoSlot);
        for (uint8_t mode : c.modes) {
            Rig rig{c.variant};
            rig.colours.bytes.fill(0xFF);
            rig.select(mode);
            for (int t = 0; t < 200; ++t) {
                const auto f = rig.tick(Choice(mode, 4, 1, t % 2));
                for (size_t slot = 0; slot < kKeyCount; ++slot) {
                    if (named.count(slot)) continue;
                    const bool dark = rgb ? SlotColour(f, slot) == Rgb{} : f.bytes[slot] == 0;
                    ASSERT_TRUE(dark) << "mode " << int(mode) << " slot " << slot;
                }
            }
        }
    }
}

TEST(KeyboardLighting, SynchronisedTickRendersNothingButAdvancesTheColourCounter) {
    Rig rig;
    rig.s.phase = 50;
    const auto f = KeyboardTick({Choice(7), KeyboardVariant::Rgb, 0, nullptr}, rig.s, rig.random, true);
    EXPECT_FALSE(f.sends());
    EXPECT_EQ(rig.s.phase, 50);
    EXPECT_EQ(rig.s.hueStep, 1);
    EXPECT_FALSE(rig.tick(Choice(16)).sends());  // no RGB mode 16
}

TEST(KeyboardLighting, CustomLayersGoThroughTheSlotMaps) {
    Rig rig;
    rig.colours.setColourAt(2, kRgbSlot[44], {100, 0, 200});
    rig.colours.setColourAt(0, kRgbSlot[44], {0, 50, 0});
    auto f = rig.tick(Choice(15, 2), 2);
    EXPECT_EQ(SlotColour(f, kRgbSlot[44]), (Rgb{58, 0, 117}));
    EXPECT_EQ(f.preview[44].colour, PreviewValue({100, 0, 200}));
    f = rig.tick(Choice(15, 4), 9);  // a damaged layer byte shows layer 0
    EXPECT_EQ(SlotColour(f, kRgbSlot[44]), (Rgb{0, 49, 0}));

    Rig mono{KeyboardVariant::SingleColour};
    mono.colours.setLevelAt(1, kMonoSlot[44], 128);
    f = mono.tick(Choice(10, 2), 1);
    EXPECT_EQ(f.bytes[kMonoSlot[44]], (150 * 128) >> 8);
}

TEST(KeyboardLighting, SingleColourReportsAndWraps) {
    Rig rig{KeyboardVariant::SingleColour};
    for (uint8_t mode : {0, 1, 9, 10}) {
        const auto parts = PayloadsOf(rig.tick(Choice(mode, 2)));
        ASSERT_EQ(parts.count, 3u) << int(mode);
        EXPECT_EQ(parts.parts[0].size(), 56u);
        EXPECT_EQ(parts.parts[1].size(), 56u);
        EXPECT_EQ(parts.parts[2].size(), 14u);
    }
    EXPECT_EQ(PayloadsOf(rig.tick(Choice(2))).count, 1u);
    EXPECT_EQ(PayloadsOf(rig.tick(Choice(2))).parts[0].size(), 126u);
    EXPECT_EQ(rig.tick(Choice(0, 2)).bytes[125], 150);

    // The running light backwards from 0 restarts at the route's last step, 109.
    Rig run{KeyboardVariant::SingleColour};
    run.tick(Choice(16, 4, 0));
    EXPECT_EQ(run.s.runPos, 109);
    run.tick(Choice(16, 4, 0));
    EXPECT_EQ(run.s.runPos, 108);
    EXPECT_EQ(run.s.keyLevel[kMonoRunPath[109]], 234);
    run.s.runPos = 110;
    run.tick(Choice(5, 4, 1));
    EXPECT_EQ(run.s.runPos, 0);
}

TEST(KeyboardLighting, SingleColourRingsAndFlashColumns) {
    Rig rig{KeyboardVariant::SingleColour};
    rig.tick(Choice(13, 4, 1));
    EXPECT_EQ(rig.s.phase, 4);
    Rig back{KeyboardVariant::SingleColour};
    auto f = back.tick(Choice(13, 4, 0));
    EXPECT_EQ(back.s.phase, 190);
    // Ring 0 is position 51 (path index 50); its level is the red of its wheel colour.
    const uint8_t key = kMonoPath[kPathIndexOf[51]];
    EXPECT_EQ(f.bytes[kMonoSlot[key]], KeyLevel(255, kHueWheel[190].r));
    const uint8_t ring3 = kMonoPath[kPathIndexOf[7]];
    EXPECT_EQ(f.bytes[kMonoSlot[ring3]], KeyLevel(255, Wheel(190 + 63).r));

    Rig flash{KeyboardVariant::SingleColour};
    f = flash.tick(Choice(14, 4, 1));
    // Column 2's first entry, position 22, takes flash192[1 + 14].
    EXPECT_EQ(f.bytes[kMonoSlot[22]], KeyLevel(255, kFlash192[15]));
}

TEST(KeyboardLighting, SingleColourRippleReseedsAtBothEnds) {
    Rig rig{KeyboardVariant::SingleColour};
    for (auto& plane : rig.s.ripple) plane[1] = 1;
    rig.s.ripple[kUpLeft][22] = 64;
    rig.tick(Choice(12));
    // Column 22 ORs to exactly 64: all four planes get bit 6 there, then everything
    // spreads one step.
    EXPECT_EQ(rig.s.ripple[kDownRight][22], 128);
    EXPECT_EQ(rig.s.ripple[kDownLeft][21], 64);
    EXPECT_EQ(rig.s.ripple[kDownLeft][1], 2);
    EXPECT_EQ(rig.s.ripple[kUpLeft][21] | rig.s.ripple[kUpLeft][22], 64 | 32);
}

// A key position without an LED is never left alone by a tick, so its preview never keeps an
// earlier mode's colour: the static modes light it with the rest, the others show it unlit.
TEST(KeyboardLighting, PositionsWithoutAnLedNeverKeepAnEarlierPreview) {
    for (auto variant : {KeyboardVariant::Rgb, KeyboardVariant::SingleColour}) {
        const bool rgb = variant == KeyboardVariant::Rgb;
        const auto& slots = rgb ? kRgbSlot : kMonoSlot;
        const uint8_t modes = rgb ? 16 : 17;
        size_t unlitPositions = 0;
        for (uint8_t slot : slots) unlitPositions += IsKey(slot) ? 0 : 1;
        ASSERT_GT(unlitPositions, 0u);
        for (uint8_t mode = 0; mode < modes; ++mode) {
            Rig rig{variant};
            rig.colours.bytes.fill(0xFF);
            rig.select(mode);
            for (int t = 0; t < 20; ++t) {
                const auto f = rig.tick(Choice(mode, 4, 1, t % 2));
                if (!f.sends()) continue;
                for (size_t position = 0; position < kKeyCount; ++position)
                    ASSERT_TRUE(IsKey(slots[position]) || f.preview[position].painted)
                        << (rgb ? "rgb" : "mono") << " mode " << int(mode) << " position " << position;
            }
        }
    }
    // After the static colour lit it, a running light shows the position unlit.
    Rig rig;
    size_t position = 0;
    while (IsKey(kRgbSlot[position])) ++position;
    ASSERT_GT(rig.tick(Choice(4)).preview[position].alpha, 0);
    rig.select(9);
    const auto f = rig.tick(Choice(9));
    EXPECT_TRUE(f.preview[position].painted);
    EXPECT_EQ(f.preview[position].alpha, 0);
}
