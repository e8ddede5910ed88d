// SPDX-License-Identifier: GPL-3.0-or-later
// The mouse's, the mousepad's and the synchronised lighting effects, same mode and the
// frame pacing numbers.

#include <gtest/gtest.h>

#include <algorithm>

#include "lighting/mouse_effects.h"
#include "lighting/pacing.h"
#include "lighting/pad_effects.h"
#include "lighting/sync_effects.h"
#include "unit/lighting_choice.h"

using namespace orvane::lighting;

namespace {

using orvane::testing::Choice;

template <class F>
Rgb Led(const F& f, size_t i) { return {f.bytes[3 * i], f.bytes[3 * i + 1], f.bytes[3 * i + 2]}; }

template <class F>
bool Dark(const F& f) { return std::all_of(f.bytes.begin(), f.bytes.end(), [](uint8_t b) { return b == 0; }); }

struct MouseRig {
    MouseAnimationState s;
    std::atomic<bool> click{false};
    MouseInputs in;
    explicit MouseRig(const LightingChoice& c) : in{c, 0, 0, &click} { ResetMouseAnimation(s, c); }
    MouseFrame tick(uint64_t nowMs = 0) {
        in.nowMs = nowMs;
        return RenderMouse(in, s);
    }
};

struct PadRig {
    PadAnimationState s;
    std::atomic<bool> click{false};
    LightingChoice choice;
    explicit PadRig(const LightingChoice& c) : choice(c) { ResetPadAnimation(s, c); }
    PadFrame tick(uint64_t nowMs = 0) { return RenderPad({choice, nowMs, &click}, s); }
};

}  // namespace

TEST(MouseLighting, StaticScalesByLevelPlusOne) {
    MouseRig rig(Choice(0, 1, 1, 0, {100, 50, 25}));
    const auto f = rig.tick();
    ASSERT_EQ(f.size, 60);
    for (size_t i = 0; i < kMouseLedCount; ++i) EXPECT_EQ(Led(f, i), (Rgb{35, 17, 8})) << i;
    EXPECT_EQ(f.preview[19].alpha, 90);
    EXPECT_EQ(f.preview[19].colour, PreviewValue({100, 50, 25}));
}

TEST(MouseLighting, BreathingBackwardsAdvancesTheColourSetAtPhaseZero) {
    MouseRig rig(Choice(1, 4, 0, 1));
    rig.tick();
    EXPECT_EQ(rig.s.phase, 127);
    EXPECT_EQ(rig.in.colourPhase, 0);
    for (int i = 0; i < 127; ++i) rig.tick();
    EXPECT_EQ(rig.s.phase, 0);
    EXPECT_EQ(rig.in.colourPhase, 1);
    for (int i = 0; i < 64; ++i) rig.tick();
    const auto f = rig.tick();  // phase 63: the top of the breath
    EXPECT_EQ(rig.s.phase, 63);
    EXPECT_EQ(Led(f, 0), ScaleTwice(kColourTable[8], 255, 255));
    EXPECT_EQ(Led(f, 13), ScaleTwice(kColourTable[8 + 6], 255, 255));
    EXPECT_EQ(f.preview[13].alpha, 254);
    rig.in.colourPhase = 200;  // a damaged byte 9 shows the first set
    EXPECT_EQ(Led(rig.tick(), 0), ScaleTwice(kColourTable[0], kBreath128[62], 255));
}

TEST(MouseLighting, WaveGroupsStepTenAlongTheWave) {
    MouseRig rig(Choice(2, 4, 1, 0, {255, 128, 64}));
    const auto f = rig.tick();
    // Group 0 at wave96[1] = 24: ((256·255) >> 8 = 255) · 25 >> 8 = 24.
    EXPECT_EQ(Led(f, 0), (Rgb{24, 12, 6}));
    EXPECT_EQ(Led(f, 19), (Rgb{24, 12, 6}));
    EXPECT_EQ(f.preview[0].alpha, (255 * kWave96[11]) >> 8);  // the next group's level
    EXPECT_EQ(Led(f, 2), ScaleTwice({255, 128, 64}, 255, kWave96[21]));
}

TEST(MouseLighting, RippleTriggerTravelsRoundTheGroups) {
    MouseRig rig(Choice(4));
    EXPECT_TRUE(rig.s.trigger[7]);
    EXPECT_TRUE(Dark(rig.tick()));  // level[7] is lit, but only groups 0-6 are shown
    auto f = rig.tick();
    EXPECT_EQ(Led(f, 6), (Rgb{240, 240, 240}));
    EXPECT_EQ(Led(f, 13), (Rgb{240, 240, 240}));
    EXPECT_EQ(Led(f, 5), (Rgb{}));
    f = rig.tick();
    EXPECT_EQ(Led(f, 5), (Rgb{240, 240, 240}));
    EXPECT_EQ(Led(f, 6), (Rgb{225, 225, 225}));
    MouseRig back(Choice(4, 4, 0));
    EXPECT_TRUE(back.s.trigger[0]);
    EXPECT_EQ(Led(back.tick(), 19), (Rgb{240, 240, 240}));
    EXPECT_TRUE(back.s.trigger[1]);
}

TEST(MouseLighting, FlashOnClickLightsFifteenLedsForJustOverAHundredMs) {
    MouseRig rig(Choice(5, 4, 1, 1));
    auto f = rig.tick(500);
    EXPECT_EQ(f.size, 60);
    EXPECT_TRUE(Dark(f));
    rig.click = true;
    f = rig.tick(1000);
    EXPECT_FALSE(rig.click);
    EXPECT_EQ(rig.s.flashColour, 14);
    EXPECT_EQ(Led(f, 14), Scale(kHueWheel[14], 255));
    EXPECT_EQ(Led(f, 15), (Rgb{}));
    EXPECT_FALSE(Dark(rig.tick(1099)));
    EXPECT_FALSE(Dark(rig.tick(1100)));  // the flag clears, this frame still lit
    EXPECT_TRUE(Dark(rig.tick(1105)));
    rig.s.flashColour = 180;
    rig.click = true;
    rig.tick(2000);
    EXPECT_EQ(rig.s.flashColour, 0);  // past 191 back to 0
}

TEST(MouseLighting, BlinkSendsThirtyBytesEveryOtherFrameLit) {
    MouseRig rig(Choice(6, 4, 1, 1));
    auto f = rig.tick();
    EXPECT_EQ(f.size, 30);
    EXPECT_TRUE(Dark(f));
    f = rig.tick();
    EXPECT_EQ(Led(f, 9), Scale(kColourTable[2], 255));
    EXPECT_EQ(Led(f, 10), (Rgb{}));
    rig.s.phase = 125;
    rig.tick();
    EXPECT_EQ(rig.s.phase, 0);
}

TEST(MouseLighting, ModesEightAndAboveSendNothingAndBrightnessZeroIsDark) {
    for (uint8_t mode : {8, 9, 10, 255}) EXPECT_FALSE(MouseRig(Choice(mode)).tick().sends()) << int(mode);
    for (uint8_t mode = 0; mode < 8; ++mode) {
        MouseRig rig(Choice(mode, 0, 1, mode % 2));
        for (int t = 0; t < 40; ++t) {
            if (t % 5 == 0) rig.click = true;
            const auto f = rig.tick(uint64_t(t) * 20);
            ASSERT_TRUE(f.sends());
            EXPECT_TRUE(Dark(f)) << int(mode);
        }
    }
}

TEST(PadLighting, SweepBouncesBetweenMinusOneAndFifteen) {
    PadRig rig(Choice(4));
    std::vector<int32_t> counters;
    for (int i = 0; i < 33; ++i) {
        rig.tick();
        counters.push_back(rig.s.sweep);
    }
    std::vector<int32_t> expected;
    for (int v = 1; v <= 15; ++v) expected.push_back(v);
    for (int v = 14; v >= -1; --v) expected.push_back(v);
    expected.push_back(0);
    expected.push_back(1);
    EXPECT_EQ(counters, expected);

    PadRig fwd(Choice(4, 4, 1, 1));
    auto f = fwd.tick();  // counter 1: LEDs 2-14 lit
    EXPECT_EQ(Led(f, 1), (Rgb{}));
    EXPECT_EQ(Led(f, 2), Scale(kHueWheel[14], 255));
    EXPECT_EQ(f.size, 45);
    PadRig back(Choice(4, 4, 0));
    back.s.sweep = -1;
    back.s.sweepDown = false;
    EXPECT_TRUE(Dark(back.tick()));  // counter 0: no LED below it
    f = back.tick();
    EXPECT_EQ(Led(f, 0), (Rgb{255, 255, 255}));
    EXPECT_EQ(Led(f, 1), (Rgb{}));
}

TEST(PadLighting, FillAndEmptyPausesASecondAtEachEnd) {
    PadRig rig(Choice(7));
    std::vector<int> pauses;
    auto f = rig.tick();
    EXPECT_EQ(Led(f, 0), (Rgb{255, 255, 255}));  // mask 0x1F80: only column 0
    EXPECT_EQ(Led(f, 1), (Rgb{}));
    for (int tick = 2; tick <= 70; ++tick) {
        f = rig.tick();
        if (f.pauseMs) {
            EXPECT_FALSE(f.sends());
            EXPECT_EQ(f.pauseMs, 1000u);
            pauses.push_back(tick);
        } else {
            EXPECT_EQ(f.size, 45);
        }
    }
    EXPECT_EQ(pauses, (std::vector<int>{15, 31, 46, 62}));
}

TEST(PadLighting, ColumnEffectsLightColumnsAndSkipColumnThree) {
    PadRig rig(Choice(6));
    const auto f = rig.tick();
    for (size_t g = 0; g < kPadColumnCount; ++g)
        for (size_t k = 0; k < kPadColumns[g].count; ++k)
            EXPECT_EQ(Led(f, kPadColumns[g].leds[k]), Scale(Wheel(1 + 7 * g), 255)) << g;
    // Fill and empty: the second lit column's colour is 20 further round the wheel.
    PadRig fill(Choice(7, 4, 1, 1));
    fill.s.fillMask = 0x00F8 << 1;  // after the shift: bits 7-3, columns 0-4
    const auto g = fill.tick();
    EXPECT_EQ(Led(g, 0), Scale(kHueWheel[191], 255));
    EXPECT_EQ(Led(g, 14), Scale(kHueWheel[(191 + 20) % 192], 255));
    // Column 3 is lit in the mask but has no LEDs; it still takes its step round the wheel.
    EXPECT_EQ(Led(g, 12), Scale(kHueWheel[(191 + 80) % 192], 255));
}

TEST(PadLighting, RippleFlashAndFrameSizes) {
    PadRig rig(Choice(5));
    EXPECT_TRUE(rig.s.trigger[0]);
    auto f = rig.tick();
    EXPECT_EQ(rig.s.level[0], 225);
    EXPECT_EQ(Led(f, 0), (Rgb{225, 225, 225}));
    EXPECT_TRUE(rig.s.trigger[14]);

    PadRig flash(Choice(8));
    EXPECT_EQ(flash.tick(0).size, 60);
    flash.click = true;
    f = flash.tick(10);
    EXPECT_EQ(Led(f, 14), (Rgb{255, 255, 255}));
    EXPECT_FALSE(Dark(flash.tick(200)));  // more than 99 ms: the flag clears, this frame still lit
    EXPECT_TRUE(Dark(flash.tick(210)));
    struct Size { uint8_t mode; uint16_t size; };
    for (auto [mode, size] : {Size{0, 45}, Size{1, 45}, Size{2, 60}, Size{3, 60}, Size{5, 45}, Size{6, 45}, Size{9, 0}})
        EXPECT_EQ(PadRig(Choice(mode)).tick().size, size) << int(mode);
}

TEST(SyncLighting, StaticColourOnEveryTargetAndNothingForTheOthers) {
    SyncState s;
    SeededRandom random;
    auto frames = RenderSync(Choice(0, 1, 1, 0, {100, 50, 25}), s, random, {false, true, true});
    EXPECT_FALSE(frames.keyboard.sends());
    EXPECT_EQ(frames.mouse.size, 60);
    EXPECT_EQ(frames.pad.size, 45);
    EXPECT_EQ(Led(frames.mouse, 19), (Rgb{35, 17, 8}));
    EXPECT_EQ(Led(frames.pad, 14), (Rgb{35, 17, 8}));
    EXPECT_EQ(SyncSleeps(0).keyboardMs, 6u);  // the absent keyboard's turn is slept instead
    frames = RenderSync(Choice(5), s, random, {true, true, true});
    EXPECT_FALSE(frames.keyboard.sends() || frames.mouse.sends() || frames.pad.sends());
}

TEST(SyncLighting, WaveColumnsMeetOnAllThreeDevices) {
    SyncState s;
    SeededRandom random;
    const auto f = RenderSync(Choice(2, 4, 1, 0, {200, 100, 50}), s, random, {true, true, true});
    const Rgb column3 = ScaleTwice({200, 100, 50}, 255, kWave96[31]);
    EXPECT_EQ(Led(f.pad, 3), column3);
    for (uint8_t led : kMouseGroups[3]) EXPECT_EQ(Led(f.mouse, led), column3);
    EXPECT_EQ(Led(f.keyboard, kRgbSlot[GridCell(3, 1)]), column3);
    EXPECT_EQ(f.keyboard.preview[GridCell(3, 1)].alpha, (255 * kWave96[41]) >> 8);
    EXPECT_EQ(f.keyboard.size, 378);
}

TEST(SyncLighting, BreathingAfterTheWheelRestartsTheBreath) {
    SyncState s;
    s.phase = 150;  // left by the spectrum
    SeededRandom random(5);
    const auto f = RenderSync(Choice(1, 4, 1, 1), s, random, {true, true, true});
    EXPECT_EQ(s.phase, 0);
    EXPECT_NE(s.startColour, 0);
    EXPECT_TRUE(Dark(f.mouse));
    SyncState wave;
    wave.phase = 150;
    RenderSync(Choice(2, 4, 0), wave, random, {false, true, false});
    EXPECT_EQ(wave.phase, 95);
}

TEST(SyncLighting, SingleColourKeyboardGetsLevels) {
    SyncState s;
    SeededRandom random;
    const auto f = RenderSync(Choice(0, 4, 1, 0, {30, 200, 10}), s, random, {true, false, false},
                              KeyboardVariant::SingleColour);
    EXPECT_EQ(f.keyboard.size, 126);
    EXPECT_EQ(f.keyboard.bytes[0], 200);
    EXPECT_EQ(f.keyboard.bytes[126], 0);
}

TEST(SameMode, CopiesBytesOneToEightFromTheSource) {
    orvane::keyboard::LightingRecord kb;
    orvane::mouse::MouseState ms;
    orvane::mousepad::PadState pad;
    SyncLightingRecord sync;
    kb.bytes.fill(0xAA);
    pad.bytes.fill(0xBB);
    for (size_t i = 0; i < ms.bytes.size(); ++i) ms.bytes[i] = uint8_t(i);
    const auto out = CopyLightingChoice(LightingDevice::Mouse, kb, ms, pad, sync);
    EXPECT_EQ(out.others, (std::array{LightingDevice::Pad, LightingDevice::Keyboard}));
    EXPECT_EQ(kb.bytes[0], 0xAA);
    EXPECT_EQ(kb.bytes[9], 0xAA);
    EXPECT_EQ(pad.bytes[0], 0xBB);
    for (size_t i = 2; i <= 8; ++i) {
        EXPECT_EQ(kb.bytes[i], i);
        EXPECT_EQ(pad.bytes[i], i);
        EXPECT_EQ(sync.bytes[i - 1], i);
    }
    // The mouse's mode 1 is breathing: the keyboard's mode 5, the pad's mode 2.
    EXPECT_EQ(kb.bytes[1], 5);
    EXPECT_EQ(pad.bytes[1], 2);
    EXPECT_EQ(sync.choice().mode, 1);
    EXPECT_EQ(sync.choice().colour, (Rgb{6, 7, 8}));
    const auto fromPad = CopyLightingChoice(LightingDevice::Pad, kb, ms, pad, sync);
    EXPECT_EQ(fromPad.others, (std::array{LightingDevice::Mouse, LightingDevice::Keyboard}));
    EXPECT_EQ(CopyLightingChoice(LightingDevice::Keyboard, kb, ms, pad, sync).others,
              (std::array{LightingDevice::Mouse, LightingDevice::Pad}));
}

TEST(SameMode, EveryDeviceGetsItsOwnModeOfTheSourcesEffect) {
    struct Case {
        LightingDevice source;
        uint8_t sourceMode;
        uint8_t syncMode, keyboardMode, mouseMode, padMode;
    };
    for (const Case& c : {Case{LightingDevice::Pad, 0, 2, 6, 2, 0},     // the pad's wave
                          Case{LightingDevice::Pad, 1, 3, 7, 3, 1},     // spectrum: the keyboard's colour cycle
                          Case{LightingDevice::Pad, 3, 0, 4, 0, 3},     // static
                          Case{LightingDevice::Mouse, 2, 2, 6, 2, 0},   // the mouse's wave
                          Case{LightingDevice::Keyboard, 5, 1, 5, 1, 2}}) {  // the keyboard's breathing
        SCOPED_TRACE(::testing::Message() << int(c.source) << " mode " << int(c.sourceMode));
        orvane::keyboard::LightingRecord kb;
        orvane::mouse::MouseState ms;
        orvane::mousepad::PadState pad;
        SyncLightingRecord sync;
        (c.source == LightingDevice::Keyboard ? kb.bytes[1] : c.source == LightingDevice::Mouse ? ms.bytes[1] : pad.bytes[1]) =
            c.sourceMode;
        ASSERT_TRUE(CopyLightingChoice(c.source, kb, ms, pad, sync).synchronised);
        EXPECT_EQ(sync.choice().mode, c.syncMode);
        EXPECT_EQ(kb.bytes[1], c.keyboardMode);
        EXPECT_EQ(ms.bytes[1], c.mouseMode);
        EXPECT_EQ(pad.bytes[1], c.padMode);
    }
    // A mode without a synchronised effect (the pad's ripple) changes nothing.
    orvane::keyboard::LightingRecord kb;
    orvane::mouse::MouseState ms;
    orvane::mousepad::PadState pad;
    SyncLightingRecord sync;
    pad.bytes[1] = 5;
    kb.bytes[1] = 9;
    EXPECT_FALSE(CopyLightingChoice(LightingDevice::Pad, kb, ms, pad, sync).synchronised);
    EXPECT_EQ(kb.bytes[1], 9);
    EXPECT_EQ(ms.bytes[1], 0);
}

TEST(FramePacing, TickDelaysAndExtraSleeps) {
    using orvane::keyboard::KeyboardVariant;
    struct Case { TickTiming got; uint32_t tick; uint32_t extra; };
    const Case cases[] = {
        {KeyboardTiming(KeyboardVariant::Rgb, 7, 0), 9, 0},
        {KeyboardTiming(KeyboardVariant::Rgb, 7, 4), 65, 0},
        {KeyboardTiming(KeyboardVariant::Rgb, 7, 14), 65, 0},  // a pad speed copied by same mode
        {KeyboardTiming(KeyboardVariant::Rgb, 9, 1), 21, 40},
        {KeyboardTiming(KeyboardVariant::Rgb, 12, 2), 35, 100},
        {KeyboardTiming(KeyboardVariant::SingleColour, 4, 3), 45, 40},
        {KeyboardTiming(KeyboardVariant::SingleColour, 7, 0), 9, 100},
        {KeyboardTiming(KeyboardVariant::SingleColour, 13, 0), 9, 10},
        {MouseTiming(0, 0), 3, 0},
        {MouseTiming(4, 4), 51, 50},
        {MouseTiming(6, 1), 15, 200},
        {MouseTiming(8, 1), 15, 200},
        {PadTiming(0, 14), 65, 0},
        {PadTiming(4, 2), 17, 120},
        {PadTiming(5, 0), 9, 50},
        {PadTiming(7, 4), 25, 70},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.got.tickMs, c.tick);
        EXPECT_EQ(c.got.extraMs, c.extra);
    }
    EXPECT_EQ(SyncCycleMs(3), 12u);
    EXPECT_EQ(SyncSleeps(3).keyboardMs, 9u);
    EXPECT_EQ(SyncSleeps(3).afterSendMs, 6u);
    EXPECT_EQ(SyncSleeps(1).keyboardMs, 8u);
    EXPECT_EQ(SyncSleeps(0).afterSendMs, 5u);
    EXPECT_EQ(SyncSleeps(7).mouseMs, 0u);
}
