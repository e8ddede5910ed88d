// SPDX-License-Identifier: GPL-3.0-or-later
// Render cost per frame of every lighting effect family: the keyboard's RGB and
// single-colour effects, the mouse's, the mousepad's and the synchronised effect over all
// three devices. Target: under 2 µs for an RGB keyboard frame.

#include <benchmark/benchmark.h>

#include "lighting/keyboard_engine.h"
#include "lighting/mouse_effects.h"
#include "lighting/pad_effects.h"
#include "lighting/sync_effects.h"

using namespace orvane::lighting;

namespace {

LightingChoice Choice(int64_t mode, int64_t seven) { return {uint8_t(mode), 4, 0, 1, uint8_t(seven), {255, 128, 64}}; }

void KeyboardFrames(benchmark::State& state, KeyboardVariant variant) {
    orvane::keyboard::KeyColourMap colours;
    colours.bytes.fill(0x80);
    const KeyboardInputs in{Choice(state.range(0), state.range(1)), variant, 0, &colours};
    KeyboardEngineState s;
    SelectKeyboardMode(s, variant, in.choice.mode);
    SeededRandom random;
    for (auto _ : state) {
        auto f = KeyboardTick(in, s, random, false);
        benchmark::DoNotOptimize(f);
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_RgbKeyboardFrame(benchmark::State& state) { KeyboardFrames(state, KeyboardVariant::Rgb); }
// {mode, seven-colour}: static, breathing, column wave, colour cycle, path wave, ripple,
// running light, staggered steps, twinkle, per-key breathing, custom.
BENCHMARK(BM_RgbKeyboardFrame)
    ->ArgNames({"mode", "seven"})
    ->Args({4, 0})->Args({5, 1})->Args({6, 0})->Args({6, 1})->Args({7, 0})->Args({8, 1})->Args({9, 1})
    ->Args({10, 1})->Args({11, 1})->Args({12, 1})->Args({13, 1})->Args({15, 0});

void BM_SingleColourKeyboardFrame(benchmark::State& state) { KeyboardFrames(state, KeyboardVariant::SingleColour); }
BENCHMARK(BM_SingleColourKeyboardFrame)
    ->ArgNames({"mode", "seven"})
    ->Args({0, 0})->Args({1, 0})->Args({2, 0})->Args({3, 0})->Args({4, 0})->Args({5, 0})->Args({6, 0})
    ->Args({7, 0})->Args({10, 0})->Args({12, 0})->Args({13, 0})->Args({14, 0});

void BM_MouseFrame(benchmark::State& state) {
    std::atomic<bool> click{false};
    MouseInputs in{Choice(state.range(0), state.range(1)), 0, 0, &click};
    MouseAnimationState s;
    ResetMouseAnimation(s, in.choice);
    for (auto _ : state) {
        in.nowMs += 10;
        auto f = RenderMouse(in, s);
        benchmark::DoNotOptimize(f);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MouseFrame)
    ->ArgNames({"mode", "seven"})
    ->Args({0, 0})->Args({1, 1})->Args({2, 0})->Args({2, 1})->Args({3, 0})->Args({4, 1})->Args({5, 1})->Args({6, 1});

void BM_PadFrame(benchmark::State& state) {
    std::atomic<bool> click{false};
    PadInputs in{Choice(state.range(0), state.range(1)), 0, &click};
    PadAnimationState s;
    ResetPadAnimation(s, in.choice);
    for (auto _ : state) {
        in.nowMs += 10;
        auto f = RenderPad(in, s);
        benchmark::DoNotOptimize(f);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PadFrame)
    ->ArgNames({"mode", "seven"})
    ->Args({0, 0})->Args({0, 1})->Args({1, 0})->Args({2, 1})->Args({3, 0})->Args({4, 1})->Args({5, 1})
    ->Args({6, 0})->Args({7, 1})->Args({8, 0});

void BM_SyncFrames(benchmark::State& state) {
    const LightingChoice choice = Choice(state.range(0), state.range(1));
    SyncState s;
    SeededRandom random;
    for (auto _ : state) {
        auto frames = RenderSync(choice, s, random, {true, true, true});
        benchmark::DoNotOptimize(frames);
    }
    state.SetItemsProcessed(state.iterations());
}
// All three devices in one cycle.
BENCHMARK(BM_SyncFrames)->ArgNames({"mode", "seven"})->Args({0, 0})->Args({1, 1})->Args({2, 0})->Args({2, 1})->Args({3, 0});

}  // namespace
