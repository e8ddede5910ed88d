// SPDX-License-Identifier: GPL-3.0-or-later
// The single-colour keyboard's modes 0-16: 126-byte frames, one level per LED slot.
//
// Modes 12-14 are this keyboard's RGB-style effects. They are rendered here as
// single-colour frames (a 378-byte colour frame would be read by this keyboard as levels
// of the wrong slots): 12 is a ripple seeded at both ends of the grid, 13 concentric rings
// whose level is the red part of their wheel colour, 14 a column wave with flash levels.

#include "lighting/keyboard_effects.h"

namespace orvane::lighting::detail {

namespace {

constexpr size_t kMonoPathKeys = 110;
constexpr size_t kMonoWrapForward = 109;  ///< the running light's last step on this keyboard

struct MonoTick {
    const KeyboardInputs& in;
    KeyboardEngineState& s;
    MonoPainter paint;

    bool fwd() const { return in.choice.forward(); }

    void everySlot(uint8_t out, Rgb preview) {
        for (size_t i = 0; i < kMonoFrameSize; ++i) {
            paint.frame.bytes[i] = out;
            paint.frame.show(i, preview, out);
        }
    }
    void decayAndPaint(bool everyPosition) {
        auto one = [&](uint8_t key) {
            s.keyLevel[key] = Decay(s.keyLevel[key], false);
            paint.withLevel(key, s.keyLevel[key]);
        };
        if (everyPosition) {
            for (uint8_t p = 0; p < kKeyCount; ++p) one(p);
        } else {
            for (uint8_t key : kMonoPath)
                if (IsKey(key)) one(key);
        }
    }

    void breathing() {
        s.phase = uint8_t(s.phase + 1);
        if (s.phase >= kBreath128.size()) s.phase = 0;
        for (uint8_t p = 0; p < kKeyCount; ++p) paint.withLevel(p, kBreath128[s.phase]);
    }

    void columnWave() {
        s.phase = Step(s.phase, kWave96.size(), fwd());
        for (size_t c = 0; c < kGridColumns; ++c)
            for (size_t r = 0; r < kGridRows; ++r) paint.withLevel(GridCell(c, r), kWave96[(s.phase + 7 * c) % 96]);
    }

    void pathWave() {
        s.phase = Step(s.phase, kWave96.size(), fwd());
        for (size_t n = 0; n < kMonoPathKeys; ++n) paint.withLevel(kMonoPath[n], kWave96[(s.phase + 5 * n) % 96]);
    }

    void ripple() {
        RippleLevels(s, false, true);
        RippleAdvance(s.ripple);
        const uint8_t bits = ColumnBits(s.ripple, 9);
        if (bits == 1) SetColumnBits(s.ripple, 9, 0x03);
        else if (bits == 96) SetColumnBits(s.ripple, 9, 0x60);
        decayAndPaint(false);
    }

    void runningLight() {
        if (fwd()) {
            if (s.runPos > kMonoWrapForward) s.runPos = 0;
            else light(kMonoRunPath[s.runPos++]);
        } else {
            // The route's last step is 109: from 0 (or from past the route) restart there,
            // never at 110, which is past the end of the route.
            if (s.runPos == 0 || s.runPos > kMonoWrapForward) s.runPos = kMonoWrapForward;
            else light(kMonoRunPath[s.runPos--]);
        }
        decayAndPaint(false);
    }
    void light(uint8_t key) {
        if (IsKey(key)) s.keyLevel[key] = 254;
    }

    void flashCycle() {
        for (uint8_t key : kMonoPath) {
            if (!IsKey(key)) continue;
            uint8_t& ph = s.keyPhase[key];
            if (++ph >= kFlash192.size()) ph = 0;
            paint.withLevel(key, kFlash192[ph]);
        }
    }

    void twinkle() {
        for (unsigned i = 0; i < kTwinklesPerTick; ++i) {
            s.monoTwinklePos = Step(s.monoTwinklePos, kMonoWrapForward + 1, true);
            const uint8_t key = kMonoPath[kShuffle[s.monoTwinklePos]];
            if (IsKey(key)) s.keyLevel[key] = 255;
        }
        decayAndPaint(true);
    }

    void custom() {
        if (!in.colours) return;
        const size_t layer = in.layer < keyboard::kColourLayerCount ? in.layer : 0;
        for (uint8_t p = 0; p < kKeyCount; ++p)
            if (IsKey(kMonoSlot[p])) paint.withLevel(p, in.colours->levelAt(layer, kMonoSlot[p]));
    }

    void rippleBothEnds() {
        if (ColumnBits(s.ripple, 1) == 1) SetColumnBits(s.ripple, 1, 0x01);
        if (ColumnBits(s.ripple, kGridColumns - 1) == 64) SetColumnBits(s.ripple, kGridColumns - 1, 0x40);
        RippleLevels(s, false, false);
        RippleAdvance(s.ripple);
        decayAndPaint(false);
    }

    void rings() {
        s.phase = fwd() ? uint8_t((s.phase % kWheelCycle + 4) % kWheelCycle)
                        : uint8_t((s.phase % kWheelCycle + kWheelCycle - 2) % kWheelCycle);
        for (size_t n = 0; n < kRingCount; ++n) {
            const uint8_t level = Wheel(s.phase + 21 * n).r;
            for (uint8_t entry : kRings[n]) {
                if (!IsKey(entry) || kPathIndexOf[entry] == kNoCell) continue;
                paint.withLevel(kMonoPath[kPathIndexOf[entry]], level);
            }
        }
    }

    void flashColumns() {
        s.phase = Step(s.phase, kFlash192.size(), fwd());
        for (size_t c = 0; c < kGridColumns; ++c)
            for (size_t r = 0; r < kGridRows; ++r)
                paint.withLevel(kMonoColumns[c * kGridRows + r], kFlash192[(s.phase + 7 * c) % kFlash192.size()]);
    }
};

}  // namespace

void RenderMono(const KeyboardInputs& in, KeyboardEngineState& s, KeyboardFrame& f) {
    MonoTick t{in, s, {f, in.choice.level()}};
    f.size = kMonoFrameSize;
    switch (in.choice.mode) {
    case 0: f.ownReports = true; t.everySlot(t.paint.b, kMonoPreviewColour); break;
    case 1: f.ownReports = true; t.breathing(); break;
    case 2: t.columnWave(); break;
    case 3: t.pathWave(); break;
    case 4: t.ripple(); break;
    case 5: case 16: t.runningLight(); break;
    case 6: case 8: case 11: case 15: t.flashCycle(); break;
    case 7: t.twinkle(); break;
    case 9:
        f.ownReports = true;
        for (size_t p = 0; p < kKeyCount; ++p) f.show(p, {0, 0, 0}, t.paint.b);
        break;
    case 10: f.ownReports = true; t.custom(); break;
    case 12: t.rippleBothEnds(); break;
    case 13: t.rings(); break;
    case 14: t.flashColumns(); break;
    default: f.size = 0; break;
    }
}

}  // namespace orvane::lighting::detail
