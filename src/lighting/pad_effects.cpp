// The mousepad's effects: wave, spectrum, breathing, static, sweep, ripple, column rainbow,
// fill and empty, flash on click.

#include "lighting/pad_effects.h"

#include <algorithm>

namespace orvane::lighting {

namespace {

constexpr unsigned kFlashMs = 99;
constexpr uint8_t kSweepTop = 15;
constexpr uint8_t kFillSteps = 14;

uint8_t PadDecay(uint8_t v) {
    if (v >= 128) return uint8_t(v - 30);
    if (v >= 64) return uint8_t(v - 20);
    if (v >= 32) return uint8_t(v - 10);
    if (v >= 17) return uint8_t(v - 5);
    if (v >= 1) return uint8_t(v - 1);
    return 0;
}

struct PadTick {
    const PadInputs& in;
    PadAnimationState& s;
    PadFrame& f;
    uint8_t level = in.choice.level();

    bool fwd() const { return in.choice.forward(); }
    bool seven() const { return in.choice.seven(); }
    Rgb user() const { return in.choice.colour; }

    void led(size_t i, Rgb out, Rgb unscaled, uint8_t alpha) {
        f.putRgb(i, out);
        f.show(i, unscaled, alpha);
    }
    void lit(size_t i, Rgb c) { led(i, Scale(c, level), c, level); }
    void dark(size_t i) { led(i, {}, {}, 0); }
    void all(Rgb c) {
        for (size_t i = 0; i < kPadLedCount; ++i) lit(i, c);
    }
    void column(size_t g, auto&& each) {
        for (size_t k = 0; k < kPadColumns[g].count; ++k) each(kPadColumns[g].leds[k]);
    }

    void wave() {
        if (seven()) {
            s.phase = Step(s.phase, kWheelCycle, fwd());
            for (size_t i = 0; i < kPadLedCount; ++i) lit(i, Wheel(s.phase + 7 * i));
            return;
        }
        s.phase = Step(s.phase, kWave96.size(), fwd());
        for (size_t i = 0; i < kPadLedCount; ++i) {
            const uint8_t w = kWave96[(s.phase + 10 * i) % 96];
            led(i, ScaleTwice(user(), level, w), user(), AlphaOf(level, w));
        }
    }

    void spectrum() {
        s.phase = Step(s.phase, kWheelCycle, fwd());
        all(kHueWheel[s.phase]);
    }

    void breathing() {
        s.phase = Step(s.phase, kBreath128.size(), fwd());
        const Rgb c = seven() ? Wheel(s.phase + 50) : user();
        const uint8_t b = kBreath128[s.phase];
        for (size_t i = 0; i < kPadLedCount; ++i) led(i, ScaleTwice(c, b, level), c, AlphaOf(level, b));
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

    void ripple() {
        for (size_t k = 0; k < kPadLedCount; ++k) {
            if (!s.trigger[k]) continue;
            s.level[k] = 255;
            if (seven()) {
                s.colourCounter = uint8_t(s.colourCounter + 11);
                s.colourIndex[k] = s.colourCounter;
            }
        }
        auto& t = s.trigger;
        if (fwd()) std::rotate(t.begin(), t.begin() + 1, t.end());  // k + 1 -> k, 0 -> 14
        else std::rotate(t.rbegin(), t.rbegin() + 1, t.rend());    // k -> k + 1, 14 -> 0
        for (size_t i = 0; i < kPadLedCount; ++i) {
            s.level[i] = PadDecay(s.level[i]);
            const Rgb c = seven() ? Wheel(s.colourIndex[i]) : user();
            led(i, ScaleTwice(c, s.level[i], level), c, AlphaOf(level, s.level[i]));
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

    void flash() {
        if (in.click && in.click->exchange(false)) {
            s.flash = true;
            s.flashStartMs = in.nowMs;
            s.flashColour = uint8_t(s.flashColour + 14);
            if (s.flashColour > kWheelCycle - 1) s.flashColour = 0;
        }
        if (s.flash) {
            if (in.nowMs - s.flashStartMs > kFlashMs) s.flash = false;  // this frame is still lit
            all(seven() ? kHueWheel[s.flashColour] : user());
        } else {
            for (size_t i = 0; i < kPadLedCount; ++i) dark(i);
        }
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
