// SPDX-License-Identifier: GPL-3.0-or-later
// The engine counters are shared between modes and same mode copies another device's
// values unchanged, so every renderer must cope with any byte in its state and its
// choice: no read past a table (run under the sanitizers and library assertions), and
// every frame within its command-18 size.

#include <gtest/gtest.h>

#include <random>

#include "lighting/keyboard_engine.h"
#include "lighting/mouse_effects.h"
#include "lighting/pad_effects.h"
#include "lighting/sync_effects.h"

using namespace orvane::lighting;

namespace {

template <class T>
void Scramble(T& value, std::mt19937& gen) {
    auto* bytes = reinterpret_cast<uint8_t*>(&value);
    for (size_t i = 0; i < sizeof(T); ++i) bytes[i] = uint8_t(gen());
}

/// Any bytes, with both directions and both colour choices equally likely.
LightingChoice AnyChoice(uint8_t mode, std::mt19937& gen) {
    LightingChoice c{mode, uint8_t(gen()), uint8_t(gen()), 0, 0, {uint8_t(gen()), uint8_t(gen()), uint8_t(gen())}};
    c.direction = gen() % 2 ? uint8_t(gen()) : 0;
    c.sevenColour = gen() % 2 ? uint8_t(gen()) : 0;
    return c;
}

}  // namespace

TEST(LightingRobustness, KeyboardModesAcceptAnyLeftoverState) {
    std::mt19937 gen(6);
    orvane::keyboard::KeyColourMap colours;
    Scramble(colours, gen);
    SeededRandom random;
    for (auto variant : {KeyboardVariant::Rgb, KeyboardVariant::SingleColour})
        for (unsigned mode = 0; mode < 20; ++mode)
            for (int round = 0; round < 40; ++round) {
                KeyboardEngineState s;
                Scramble(s, gen);
                const KeyboardInputs in{AnyChoice(uint8_t(mode), gen), variant, uint8_t(gen()), &colours};
                for (int t = 0; t < 4; ++t) {
                    const auto f = KeyboardTick(in, s, random, false);
                    EXPECT_LE(f.size, variant == KeyboardVariant::Rgb ? kRgbFrameSize : kMonoFrameSize);
                }
            }
}

TEST(LightingRobustness, MousePadAndSyncAcceptAnyLeftoverState) {
    std::mt19937 gen(7);
    std::atomic<bool> click{true};
    SeededRandom random;
    for (unsigned mode = 0; mode < 12; ++mode)
        for (int round = 0; round < 40; ++round) {
            MouseAnimationState ms;
            PadAnimationState ps;
            SyncState ss;
            Scramble(ms, gen);
            Scramble(ps, gen);
            Scramble(ss, gen);
            for (auto& t : ms.trigger) t = gen() % 2;
            for (auto& t : ps.trigger) t = gen() % 2;
            ms.flash = ps.flash = gen() % 2;
            ms.blink = ps.sweepDown = gen() % 2;
            ps.emptying = gen() % 2;
            MouseInputs mi{AnyChoice(uint8_t(mode), gen), uint8_t(gen()), gen(), &click};
            const PadInputs pi{AnyChoice(uint8_t(mode), gen), gen(), &click};
            const auto sc = AnyChoice(uint8_t(mode % 6), gen);
            for (int t = 0; t < 4; ++t) {
                click = true;
                EXPECT_LE(RenderMouse(mi, ms).size, kMouseFrameSize);
                EXPECT_LE(RenderPad(pi, ps).size, kPadLongFrameSize);
                const auto f = RenderSync(sc, ss, random, {true, true, true}, t % 2 ? KeyboardVariant::Rgb : KeyboardVariant::SingleColour);
                EXPECT_LE(f.keyboard.size, kRgbFrameSize);
            }
        }
}
