// The mouse's effects: static, breathing, wave, spectrum, ripple, flash on click, blink.

#include "lighting/mouse_effects.h"

namespace orvane::lighting {

namespace {

constexpr uint8_t kBreathingSets = 3;
constexpr unsigned kFlashMs = 99;
constexpr unsigned kFlashColourStep = 14;
constexpr size_t kFlashLeds = 15;
constexpr size_t kBlinkLeds = 10;

uint8_t MouseDecay(uint8_t v) {
    if (v >= 128) return uint8_t(v - 15);
    if (v >= 64) return uint8_t(v - 10);
    if (v >= 32) return uint8_t(v - 7);
    if (v >= 17) return uint8_t(v - 3);
    if (v >= 1) return uint8_t(v - 1);
    return 0;
}

struct MouseTick {
    MouseInputs& in;
    MouseAnimationState& s;
    MouseFrame& f;
    uint8_t level = in.choice.level();

    bool fwd() const { return in.choice.forward(); }
    bool seven() const { return in.choice.seven(); }
    Rgb user() const { return in.choice.colour; }

    void led(size_t i, Rgb out, Rgb unscaled, uint8_t alpha) {
        f.putRgb(i, out);
        f.show(i, unscaled, alpha);
    }
    void group(size_t g, Rgb out, Rgb unscaled, uint8_t alpha) {
        for (uint8_t i : kMouseGroups[g]) led(i, out, unscaled, alpha);
    }
    void all(Rgb c) {
        for (size_t i = 0; i < kMouseLedCount; ++i) led(i, Scale(c, level), c, level);
    }

    void breathing() {
        s.phase = Step(s.phase, kBreath128.size(), fwd());
        if (s.phase == 0) in.colourPhase = Step(in.colourPhase, kBreathingSets, true);
        // A colour phase past the three sets (a damaged record) shows the first set.
        const uint8_t set = in.colourPhase < kBreathingSets ? in.colourPhase : 0;
        const uint8_t b = kBreath128[s.phase];
        for (size_t g = 0; g < kMouseGroupCount; ++g) {
            const Rgb c = seven() ? kColourTable[8 * set + g] : user();
            group(g, ScaleTwice(c, b, level), c, AlphaOf(level, b));
        }
    }

    void wave() {
        if (seven()) {
            s.phase = Step(s.phase, kWheelCycle, fwd());
            for (size_t g = 0; g < kMouseGroupCount; ++g) {
                const Rgb c = Wheel(s.phase + 7 * g);
                group(g, Scale(c, level), c, level);
            }
            return;
        }
        s.phase = Step(s.phase, kWave96.size(), fwd());
        for (size_t g = 0; g < kMouseGroupCount; ++g) {
            const size_t i = (s.phase + 10 * g) % 96;
            group(g, ScaleTwice(user(), level, kWave96[i]), user(), AlphaOf(level, kWave96[(i + 10) % 96]));
        }
    }

    void spectrum() {
        s.phase = Step(s.phase, kWheelCycle, fwd());
        all(kHueWheel[s.phase]);
    }

    void ripple() {
        for (size_t k = 0; k < s.level.size(); ++k) {
            if (!s.trigger[k]) continue;
            s.level[k] = 255;
            if (seven()) {
                s.colourCounter = uint8_t(s.colourCounter + 11);
                s.colourIndex[k] = s.colourCounter;
            }
        }
        auto& t = s.trigger;
        if (fwd()) std::rotate(t.begin(), t.begin() + 1, t.end());  // k + 1 -> k, 0 -> 22
        else std::rotate(t.rbegin(), t.rbegin() + 1, t.rend());    // k -> k + 1, 22 -> 0
        for (size_t g = 0; g < kMouseGroupCount; ++g) {
            s.level[g] = MouseDecay(s.level[g]);
            const Rgb c = seven() ? Wheel(s.colourIndex[g]) : user();
            group(g, ScaleTwice(c, s.level[g], level), c, AlphaOf(level, s.level[g]));
        }
    }

    void flash() {
        if (in.click && in.click->exchange(false)) {
            s.flash = true;
            s.flashStartMs = in.nowMs;
            s.flashColour = uint8_t(s.flashColour + kFlashColourStep);
            if (s.flashColour > kWheelCycle - 1) s.flashColour = 0;
        }
        if (s.flash) {
            if (in.nowMs - s.flashStartMs > kFlashMs) s.flash = false;  // this frame is still lit
            const Rgb c = seven() ? kHueWheel[s.flashColour] : user();
            for (size_t i = 0; i < kFlashLeds; ++i) led(i, Scale(c, level), c, level);
        } else {
            for (size_t i = 0; i < kFlashLeds; ++i) led(i, {}, {}, 0);
        }
    }

    void blink() {
        s.phase = Step(s.phase, kColourTable.size(), true);
        f.size = kMouseBlinkFrameSize;
        if (s.blink) {
            s.blink = false;
            const Rgb c = seven() ? kColourTable[s.phase] : user();
            for (size_t i = 0; i < kBlinkLeds; ++i) led(i, Scale(c, level), c, level);
        } else {
            s.blink = true;
            for (size_t i = 0; i < kBlinkLeds; ++i) led(i, {}, {}, 0);
        }
    }
};

}  // namespace

void ResetMouseAnimation(MouseAnimationState& s, const LightingChoice& choice) {
    s.phase = 0;
    s.level = {};
    s.colourIndex = {};
    s.trigger = {};
    if (choice.mode == 4) s.trigger[choice.forward() ? 7 : 0] = true;
}

MouseFrame RenderMouse(MouseInputs& in, MouseAnimationState& s) {
    MouseFrame f;
    MouseTick t{in, s, f};
    f.size = kMouseFrameSize;
    switch (in.choice.mode) {
    case 0: t.all(in.choice.colour); break;
    case 1: t.breathing(); break;
    case 2: t.wave(); break;
    case 3: t.spectrum(); break;
    case 4: t.ripple(); break;
    case 5: t.flash(); break;
    case 6: case 7: t.blink(); break;
    default: f.size = 0; break;
    }
    return f;
}

}  // namespace orvane::lighting
