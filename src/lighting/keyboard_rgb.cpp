// SPDX-License-Identifier: GPL-3.0-or-later
// The RGB keyboard's modes 0-15: 378-byte frames, three bytes per LED slot.

#include "lighting/keyboard_effects.h"

namespace orvane::lighting::detail {

namespace {

constexpr std::array<Rgb, 4> kFixedColours{{{90, 255, 155}, {255, 34, 184}, {49, 220, 173}, {62, 159, 128}}};
constexpr size_t kPathWaveKeys = 120;

struct RgbTick {
    const KeyboardInputs& in;
    KeyboardEngineState& s;
    RgbPainter paint;

    bool seven() const { return in.choice.seven(); }
    Rgb userOr(Rgb wheelColour) const { return seven() ? wheelColour : in.choice.colour; }

    /// Decays every key of `keys` once and paints it at its level.
    template <class Keys>
    void decayAndPaint(const Keys& keys, bool rgbRipple) {
        for (uint8_t key : keys) {
            if (!IsKey(key)) continue;
            s.keyLevel[key] = Decay(s.keyLevel[key], rgbRipple);
            paint.withLevel(key, userOr(kHueWheel[s.keyHue[key]]), s.keyLevel[key]);
        }
    }
    void lightKey(uint8_t key, uint8_t level, uint8_t hueAdvance) {
        if (!IsKey(key)) return;
        s.keyLevel[key] = level;
        s.hueStep = uint8_t(s.hueStep + hueAdvance);
        s.keyHue[key] = s.hueStep;
    }

    void breathing(RandomSource& random) {
        s.phase = uint8_t(s.phase + 1);
        if (s.phase >= 128) {
            s.phase = 0;
            s.breathHue = uint8_t(random.next() % 256);
        }
        const Rgb c = userOr(kHueWheel[s.breathHue]);
        for (uint8_t p = 0; p < kKeyCount; ++p) paint.withLevel(p, c, kBreath128[s.phase]);
    }

    void columnWave() {
        const bool fwd = in.choice.forward();
        if (seven()) s.phase = Step(s.phase, kWheelCycle, fwd);
        else s.phase = Step(s.phase, kWave96.size(), fwd);
        for (size_t c = 0; c < kGridColumns; ++c) {
            for (size_t e = 0; e < 7; ++e) {
                const uint8_t key = kColumns[c * 7 + e];
                if (seven()) paint.full(key, Wheel(s.phase + 7 * c));
                else paint.withLevel(key, in.choice.colour, kWave96[(s.phase + 10 * c) % 96]);
            }
        }
    }

    void colourCycle() {
        s.phase = Step(s.phase, kWheelCycle, in.choice.forward());
        for (uint8_t p = 0; p < kKeyCount; ++p) paint.full(p, kHueWheel[s.phase]);
    }

    void pathWave() {
        const bool fwd = in.choice.forward();
        // The single-colour wave counts its phase over 92 steps, not the wave's 96.
        s.phase = Step(s.phase, seven() ? kWheelCycle : 92, fwd);
        for (size_t n = 0; n < kPathWaveKeys; ++n) {
            if (seven()) paint.full(kPath[n], Wheel(s.phase + 5 * n));
            else paint.withLevel(kPath[n], in.choice.colour, kWave96[(s.phase + 5 * n) % 96]);
        }
    }

    void ripple() {
        const uint8_t bits = ColumnBits(s.ripple, 9);
        if (bits == 1) for (auto& plane : s.ripple) plane[9] = 1;
        else if (bits == 64) SetColumnBits(s.ripple, 9, 64);
        RippleLevels(s, seven(), false);
        RippleAdvance(s.ripple);
        decayAndPaint(kPath, true);
    }

    void runningLight() {
        constexpr uint8_t kLast = kRunPath.size() - 1;  // 116
        if (in.choice.forward()) {
            if (s.runPos > kLast) s.runPos = 0;
            else lightKey(kRunPath[s.runPos++], 254, 13);
        } else {
            // A position past the route (left by another effect) restarts at its end.
            if (s.runPos == 0 || s.runPos > kLast) s.runPos = kLast;
            else lightKey(kRunPath[s.runPos--], 254, 13);
        }
        decayAndPaint(kPath, false);
    }

    void staggeredSteps() {
        for (uint8_t key : kPath) {
            if (!IsKey(key)) continue;
            uint8_t& ph = s.keyPhase[key];
            if (++ph >= kFlash192.size()) {
                ph = 0;
                s.keyHue[key] = uint8_t((s.keyHue[key] + 32) % kWheelCycle);
            }
            paint.withLevel(key, userOr(kHueWheel[s.keyHue[key]]), kFlash192[ph]);
        }
    }

    void twinkle() {
        for (unsigned i = 0; i < kTwinklesPerTick; ++i) {
            s.twinklePos = Step(s.twinklePos, kShuffle.size(), true);
            lightKey(kPath[kShuffle[s.twinklePos]], 255, 10);
        }
        for (uint8_t p = 0; p < kKeyCount; ++p) {
            s.keyLevel[p] = Decay(s.keyLevel[p], false);
            paint.withLevel(p, userOr(kHueWheel[s.keyHue[p]]), s.keyLevel[p]);
        }
    }

    void perKeyBreathing() {
        for (uint8_t key : kPath) {
            if (!IsKey(key)) continue;
            uint8_t& lv = s.keyLevel[key];
            if (++lv >= kFlash192.size()) {
                lv = 0;
                s.hueStep = uint8_t(s.hueStep + 7);
                s.keyHue[key] = s.hueStep;
            }
            paint.withLevel(key, seven() ? kHueWheel2[s.keyHue[key]] : in.choice.colour, kFlash192[lv]);
        }
    }

    void off() {
        for (size_t p = 0; p < kKeyCount; ++p) paint.frame.show(p, {0, 0, 0}, paint.b);
    }

    void custom() {
        if (!in.colours) return;
        const size_t layer = in.layer < keyboard::kColourLayerCount ? in.layer : 0;
        for (uint8_t p = 0; p < kKeyCount; ++p)
            if (IsKey(kRgbSlot[p])) paint.full(p, in.colours->colourAt(layer, kRgbSlot[p]));
    }
};

}  // namespace

void RenderRgb(const KeyboardInputs& in, KeyboardEngineState& s, RandomSource& random, KeyboardFrame& f) {
    RgbTick t{in, s, {f, in.choice.level()}};
    f.size = kRgbFrameSize;
    switch (in.choice.mode) {
    case 0: case 1: case 2: case 3: t.paint.everySlotDirect(kFixedColours[in.choice.mode]); break;
    case 4: t.paint.everySlotDirect(in.choice.colour); break;
    case 5: t.breathing(random); break;
    case 6: t.columnWave(); break;
    case 7: t.colourCycle(); break;
    case 8: t.pathWave(); break;
    case 9: t.ripple(); break;
    case 10: t.runningLight(); break;
    case 11: t.staggeredSteps(); break;
    case 12: t.twinkle(); break;
    case 13: t.perKeyBreathing(); break;
    case 14: t.off(); break;
    case 15: t.custom(); break;
    default: f.size = 0; break;
    }
}

}  // namespace orvane::lighting::detail
