// SPDX-License-Identifier: GPL-3.0-or-later
// The mouse's effects: static, breathing, wave, spectrum, ripple, flash on click, blink.

#include "lighting/mouse_effects.h"

#include "lighting/zone_effects.h"

namespace orvane::lighting {

namespace {

constexpr uint8_t kBreathingSets = 3;
constexpr size_t kBlinkLeds = 10;

struct MouseTick : ZoneEffects<kMouseZones, MouseInputs, MouseAnimationState, MouseFrame> {
    /// Seven-colour breathing walks through three colour sets, one set per breath.
    void breathing() {
        stepBreath();
        if (s.phase == 0) in.colourPhase = Step(in.colourPhase, kBreathingSets, true);
        // A colour phase past the three sets (a damaged record) shows the first set.
        const uint8_t set = in.colourPhase < kBreathingSets ? in.colourPhase : 0;
        breathe([&](size_t group) { return seven() ? kColourTable[8 * set + group] : user(); });
    }

    void blink() {
        s.phase = Step(s.phase, kColourTable.size(), true);
        f.size = kMouseBlinkFrameSize;
        if (s.blink) {
            s.blink = false;
            const Rgb c = seven() ? kColourTable[s.phase] : user();
            for (size_t i = 0; i < kBlinkLeds; ++i) lit(i, c);
        } else {
            s.blink = true;
            for (size_t i = 0; i < kBlinkLeds; ++i) dark(i);
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
