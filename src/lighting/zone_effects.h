// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The effects the mouse and the mousepad share, written once over the zones of a ZoneDevice:
// static, spectrum, wave, ripple, flash on click and the breath of breathing. A device's
// renderer derives its tick from ZoneEffects and adds the effects only it has (and each
// breathing's colours). Pure: no I/O, no sleeping.

#include <algorithm>
#include <atomic>
#include <cstdint>

#include "lighting/device_tables.h"
#include "lighting/frame.h"

namespace orvane::lighting {

inline constexpr unsigned kFlashMs = 99;        ///< a flash lasts until more than this has passed
inline constexpr uint8_t kFlashColourStep = 14;  ///< hue wheel positions per click

// Internal linkage: each renderer's copy is its own, so the compiler inlines the effects into
// the renderer's switch as it did when they were written there (a frame costs tens of ns).
namespace {

/// A ripple level one frame later: the higher the level, the faster it fades.
constexpr uint8_t RippleFade(uint8_t v, const std::array<uint8_t, 5>& fade) {
    if (v >= 128) return uint8_t(v - fade[0]);
    if (v >= 64) return uint8_t(v - fade[1]);
    if (v >= 32) return uint8_t(v - fade[2]);
    if (v >= 17) return uint8_t(v - fade[3]);
    if (v >= 1) return uint8_t(v - fade[4]);
    return 0;
}

/// One tick of a device D (a ZoneDevice). Inputs has `choice`, `nowMs` and `click`; State
/// has the phase, the ripple's level, colourIndex, colourCounter and trigger ring, and the
/// flash state.
template <const auto& D, class Inputs, class State, class FrameT>
struct ZoneEffects {
    Inputs& in;
    State& s;
    FrameT& f;
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
    void zone(size_t z, Rgb out, Rgb unscaled, uint8_t alpha) {
        // A flag, not `zones == nullptr`: comparing an address is no constant expression in
        // sanitizer builds.
        if constexpr (D.ledIsZone) led(z, out, unscaled, alpha);
        else for (uint8_t i : (*D.zones)[z]) led(i, out, unscaled, alpha);
    }
    void all(Rgb c) {
        for (size_t i = 0; i < D.ledCount; ++i) lit(i, c);
    }

    void spectrum() {
        s.phase = Step(s.phase, kWheelCycle, fwd());
        all(kHueWheel[s.phase]);
    }

    void wave() {
        if (seven()) {
            s.phase = Step(s.phase, kWheelCycle, fwd());
            for (size_t z = 0; z < D.kZoneCount; ++z) {
                const Rgb c = Wheel(s.phase + 7 * z);
                zone(z, Scale(c, level), c, level);
            }
            return;
        }
        s.phase = Step(s.phase, kWave96.size(), fwd());
        for (size_t z = 0; z < D.kZoneCount; ++z) {
            const size_t i = (s.phase + 10 * z) % 96;
            zone(z, ScaleTwice(user(), level, kWave96[i]), user(), AlphaOf(level, kWave96[(i + D.waveAlphaLead) % 96]));
        }
    }

    void stepBreath() { s.phase = Step(s.phase, kBreath128.size(), fwd()); }
    /// Paints each zone with colourOf(zone) at the level of the breath's phase.
    void breathe(auto&& colourOf) {
        const uint8_t b = kBreath128[s.phase];
        for (size_t z = 0; z < D.kZoneCount; ++z) {
            const Rgb c = colourOf(z);
            zone(z, ScaleTwice(c, b, level), c, AlphaOf(level, b));
        }
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
        if (fwd()) std::rotate(t.begin(), t.begin() + 1, t.end());  // k + 1 -> k, 0 -> last
        else std::rotate(t.rbegin(), t.rbegin() + 1, t.rend());    // k -> k + 1, last -> 0
        for (size_t z = 0; z < D.kZoneCount; ++z) {
            s.level[z] = RippleFade(s.level[z], D.rippleFade);
            const Rgb c = seven() ? Wheel(s.colourIndex[z]) : user();
            zone(z, ScaleTwice(c, s.level[z], level), c, AlphaOf(level, s.level[z]));
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
            for (size_t i = 0; i < D.flashLedCount; ++i) lit(i, c);
        } else {
            for (size_t i = 0; i < D.flashLedCount; ++i) dark(i);
        }
    }
};

}  // namespace

}  // namespace orvane::lighting
