// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Renders a run of ticks from the reset state, without any device, as the lines of hex
// the devices would receive: what `orvanectl render` prints and the golden frames hold.

#include <optional>
#include <string>
#include <vector>

#include "lighting/frame.h"

namespace orvane::lighting {

enum class RenderTarget : uint8_t { Keyboard, MonoKeyboard, Mouse, Pad, Sync };

struct RenderRequest {
    RenderTarget target = RenderTarget::Keyboard;
    LightingChoice choice{0, 4, 0, 1, 0, {0xFF, 0x80, 0x40}};
    uint8_t layer = 0;
    unsigned frames = 0;
};

/// Parses "kb|kb1|ms|mp|sync --mode N [--brightness B] [--speed S] [--direction D]
/// [--seven 0|1] [--color RRGGBB] [--layer L] --frames K". On error returns nothing and
/// sets `error`.
std::optional<RenderRequest> ParseRenderRequest(const std::vector<std::string>& args, std::string& error);

/// One line of lower-case hex per command-18 payload, tick by tick: the keyboard's
/// self-built single-colour reports give three lines a tick, the synchronised effect three
/// (keyboard, mouse, pad); ticks that send nothing give no line. Randomness is seeded
/// with 1; the clock advances by each tick's timing; the custom layers hold a fixed
/// pattern (RGB: layer L, slot s = wheel colour 3s + 38L; single colour: level 2s + 50L).
std::vector<std::string> RenderLines(const RenderRequest& request);

std::string HexLine(std::span<const uint8_t> bytes);

}  // namespace orvane::lighting
