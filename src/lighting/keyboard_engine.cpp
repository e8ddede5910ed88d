// SPDX-License-Identifier: GPL-3.0-or-later
// Keyboard engine: reset and start states, the ripple planes, level decay and the tick.

#include "lighting/keyboard_engine.h"

#include "lighting/keyboard_effects.h"

namespace orvane::lighting {

namespace detail {

uint8_t Decay(uint8_t level, bool rgbRipple) {
    struct Step { uint8_t from; uint8_t rgbRipple; uint8_t other; };
    // Levels from `from` upwards lose this much; 1-8 drop to 0.
    static constexpr Step kSteps[] = {{128, 40, 20}, {64, 30, 10}, {32, 10, 8}, {17, 8, 5}, {9, 0, 4}};
    for (const auto& st : kSteps)
        if (level >= st.from) return uint8_t(level - (rgbRipple ? st.rgbRipple : st.other));
    return 0;
}

bool AnyRippleBit(const RipplePlanes& p, size_t column, size_t row) {
    return (ColumnBits(p, column) >> row) & 1;
}

uint8_t ColumnBits(const RipplePlanes& p, size_t column) {
    return p[0][column] | p[1][column] | p[2][column] | p[3][column];
}

void SetColumnBits(RipplePlanes& p, size_t column, uint8_t bits) {
    for (auto& plane : p) plane[column] |= bits;
}

void RippleLevels(KeyboardEngineState& s, bool sevenColour, bool clearOthers) {
    for (size_t c = 0; c < kGridColumns; ++c) {
        const uint8_t bits = ColumnBits(s.ripple, c);
        for (size_t r = 0; r < kGridRows; ++r) {
            const uint8_t key = GridCell(c, r);
            if (!IsKey(key)) continue;
            if ((bits >> r) & 1) {
                s.keyLevel[key] = 254;
                if (sevenColour) {
                    s.hueStep = uint8_t(s.hueStep + 13);
                    s.keyHue[key] = s.hueStep;
                }
            } else if (clearOthers) {
                s.keyLevel[key] = 0;
            }
        }
    }
}

void RippleAdvance(RipplePlanes& p) {
    auto up = [](uint8_t v) { return uint8_t(v >> 1); };
    auto down = [](uint8_t v) { return uint8_t(v << 1); };
    // Leftward planes: column c takes over column c + 1, which keeps its own bits shifted.
    auto spreadLeft = [](std::array<uint8_t, kGridColumns>& col, auto shift) {
        col[0] = shift(col[0]);
        for (size_t c = 0; c + 1 < kGridColumns; ++c) {
            col[c] |= col[c + 1];
            col[c + 1] = shift(col[c + 1]);
        }
    };
    // Rightward planes: column c + 1 takes over column c, which keeps its own bits shifted.
    auto spreadRight = [](std::array<uint8_t, kGridColumns>& col, auto shift) {
        col[kGridColumns - 1] = shift(col[kGridColumns - 1]);
        for (size_t c = kGridColumns - 1; c-- > 0;) {
            col[c + 1] |= col[c];
            col[c] = shift(col[c]);
        }
    };
    spreadLeft(p[kUpLeft], up);
    spreadLeft(p[kDownLeft], down);
    spreadRight(p[kUpRight], up);
    spreadRight(p[kDownRight], down);
}

}  // namespace detail

void ResetAnimationState(KeyboardEngineState& s) {
    s.phase = 0;
    s.keyLevel.fill(0);
    s.keyHue.fill(0);
    s.ripple = {};
}

namespace {

/// The staggered start phases down one column: the column's first value, then −35 per row,
/// or −98 where −35 would land in the dark end (192 and above) of the flash curve.
uint8_t ColumnStartPhase(size_t column) {
    const uint8_t v = uint8_t(-8 * int(column) - 99);
    return v >= 192 ? uint8_t(94 - 8 * int(column)) : v;
}
uint8_t NextRowPhase(uint8_t v) {
    const uint8_t w = uint8_t(v - 35);
    return w >= 192 ? uint8_t(v - 98) : w;
}

template <class Cell>
void StaggeredColumns(Cell&& cellAt, auto&& write) {
    for (size_t c = 0; c < kGridColumns; ++c) {
        uint8_t v = ColumnStartPhase(c);
        for (size_t r = 0; r < kGridRows; ++r) {
            const uint8_t key = cellAt(c, r);
            if (IsKey(key)) write(key, v, c);
            v = NextRowPhase(v);
        }
    }
}

}  // namespace

void ApplyStartState(KeyboardEngineState& s, KeyboardVariant variant, uint8_t mode) {
    using detail::SetColumnBits;
    if (variant == KeyboardVariant::Rgb) {
        switch (mode) {
        case 9: SetColumnBits(s.ripple, 9, 1 << 6); break;
        case 11:
            StaggeredColumns(GridCell, [&](uint8_t key, uint8_t v, size_t c) {
                s.keyPhase[key] = v;
                s.keyHue[key] = uint8_t(7 * c);
            });
            break;
        case 13:
            for (size_t i = 0; i < kGrid.size(); ++i) {
                if (!IsKey(kGrid[i])) continue;
                s.keyLevel[kGrid[i]] = kStartLevels[i];
                s.keyHue[kGrid[i]] = uint8_t(7 * (i / kGridRows));
            }
            break;
        default: break;
        }
        return;
    }
    switch (mode) {
    case 4: SetColumnBits(s.ripple, 9, 1 << 6); break;
    case 6:
        StaggeredColumns([](size_t c, size_t r) { return kMonoColumns[c * kGridRows + r]; },
                         [&](uint8_t key, uint8_t v, size_t) { s.keyPhase[key] = v; });
        break;
    case 7: {
        uint8_t v = 0;
        for (uint8_t index : kShuffle) {
            v = uint8_t(v + 7);
            if (v >= 112) v = uint8_t(v - 112);
            const uint8_t key = kMonoPath[index];
            if (IsKey(key)) s.keyPhase[key] = v;
        }
        break;
    }
    case 8:
    case 11:
        for (size_t i = 0; i < kGrid.size(); ++i)
            if (IsKey(kGrid[i])) s.keyPhase[kGrid[i]] = kStartLevels[i];
        break;
    case 12:
        for (size_t c = 0; c < kGridColumns; c += 2) SetColumnBits(s.ripple, c, 1);
        break;
    default: break;
    }
}

FramePayloads PayloadsOf(const KeyboardFrame& f) {
    FramePayloads out;
    if (!f.sends()) return out;
    if (!f.ownReports) {
        out.parts[out.count++] = f.payload();
        return out;
    }
    for (size_t at = 0; at < f.size; at += kMonoReportChunk)
        out.parts[out.count++] = f.payload().subspan(at, std::min(kMonoReportChunk, f.size - at));
    return out;
}

KeyboardFrame RenderKeyboard(const KeyboardInputs& in, KeyboardEngineState& s, RandomSource& random) {
    KeyboardFrame f;
    const bool rgb = in.variant == KeyboardVariant::Rgb;
    if (rgb) detail::RenderRgb(in, s, random, f);
    else detail::RenderMono(in, s, f);
    // A position without an LED that the effect leaves alone shows unlit: its preview would
    // otherwise keep the colour of an earlier mode (the static modes paint every position).
    const auto& slots = rgb ? kRgbSlot : kMonoSlot;
    for (size_t position = 0; position < kKeyCount; ++position)
        if (!IsKey(slots[position]) && !f.preview[position].painted)
            f.preview[position] = {.colour = 0, .alpha = 0, .painted = true};
    return f;
}

KeyboardFrame KeyboardTick(const KeyboardInputs& in, KeyboardEngineState& s, RandomSource& random,
                           bool syncLighting) {
    if (syncLighting) {
        s.hueStep = uint8_t(s.hueStep + 1);
        return {};
    }
    KeyboardFrame f = RenderKeyboard(in, s, random);
    s.hueStep = uint8_t(s.hueStep + 1);
    return f;
}

}  // namespace orvane::lighting
