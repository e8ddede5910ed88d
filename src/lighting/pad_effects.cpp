// SPDX-License-Identifier: GPL-3.0-or-later
// The mousepad's effects: wave, spectrum, breathing, static, sweep, ripple, column rainbow,
// fill and empty, flash on click.

#include "lighting/pad_effects.h"

#include "lighting/zone_effects.h"

namespace orvane::lighting {

namespace {

constexpr uint8_t kSweepTop = 15;
constexpr uint8_t kFillSteps = 14;

struct PadTick : ZoneEffects<kPadZones, const PadInputs, PadAnimationState, PadFrame> {
    void column(size_t g, auto&& each) {
        for (size_t k = 0; k < kPadColumns[g].count; ++k) each(kPadColumns[g].leds[k]);
    }

    /// Seven-colour breathing takes its colour from the wheel, ahead of the phase.
    void breathing() {
        stepBreath();
        const Rgb c = seven() ? Wheel(s.phase + 50) : user();
        breathe([&](size_t) { return c; });
    }

    void sweep() {
        if (!s.sweepDown) {
            if (++s.sweep >= kSweepTop) s.sweepDown = true;
        } else {
            if (--s.sweep <= -1) s.sweepDown = false;
        }
        for (size_t i = 0; i < kPadLedCount; ++i) {
            const int32_t led = int32_t(i);
            const bool on = fwd() ? s.sweep < led : led < s.sweep;
            if (on) lit(i, seven() ? Wheel(7 * i) : user());
            else dark(i);
        }
    }

    void columnRainbow() {
        s.phase = Step(s.phase, kWheelCycle, fwd());
        for (size_t g = 0; g < kPadColumnCount; ++g) {
            const Rgb c = Wheel(s.phase + 7 * g);
            column(g, [&](uint8_t i) { lit(i, c); });
        }
    }

    void fillAndEmpty() {
        unsigned topBit;
        if (s.emptying) {
            s.fillMask = uint16_t(s.fillMask >> 1);
            if (s.fillCounter++ == kFillSteps) {
                s.emptying = false;
                s.fillMask = 0x00FC;
                pause();
                return;
            }
            topBit = 7;
        } else {
            if (s.fillCounter == 0) {
                s.emptying = true;
                s.fillMask = 0x3F00;
                pause();
                return;
            }
            topBit = 15;
        }
        s.phase = Step(s.phase, kWheelCycle, false);
        unsigned r = s.phase;
        for (size_t g = 0; g < kPadColumnCount; ++g) {
            if ((s.fillMask >> (topBit - g)) & 1) {
                const Rgb c = seven() ? Wheel(r) : user();
                column(g, [&](uint8_t i) { lit(i, c); });
                r = (r + 20) % kWheelCycle;
            } else {
                column(g, [&](uint8_t i) { dark(i); });
            }
        }
        if (!s.emptying) {
            s.fillMask = uint16_t(s.fillMask << 1);
            --s.fillCounter;
        }
    }
    void pause() {
        f.size = 0;
        f.pauseMs = kPadFillPauseMs;
    }
};

}  // namespace

void ResetPadAnimation(PadAnimationState& s, const LightingChoice& choice) {
    s.phase = 0;
    s.level = {};
    s.colourIndex = {};
    s.trigger = {};
    if (choice.mode == 5) s.trigger[0] = true;
}

PadFrame RenderPad(const PadInputs& in, PadAnimationState& s) {
    PadFrame f;
    PadTick t{in, s, f};
    f.size = kPadFrameSize;
    switch (in.choice.mode) {
    case 0: t.wave(); break;
    case 1: t.spectrum(); break;
    case 2: f.size = kPadLongFrameSize; t.breathing(); break;
    case 3: f.size = kPadLongFrameSize; t.all(in.choice.colour); break;
    case 4: t.sweep(); break;
    case 5: t.ripple(); break;
    case 6: t.columnRainbow(); break;
    case 7: t.fillAndEmpty(); break;
    case 8: f.size = kPadLongFrameSize; t.flash(); break;
    default: f.size = 0; break;
    }
    return f;
}

}  // namespace orvane::lighting
