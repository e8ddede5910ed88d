// SPDX-License-Identifier: GPL-3.0-or-later
// A deterministic run of lighting ticks for the render command and the golden frames.

#include "lighting/render_session.h"

#include <charconv>

#include "device/hex.h"
#include "lighting/keyboard_engine.h"
#include "lighting/mouse_effects.h"
#include "lighting/pacing.h"
#include "lighting/pad_effects.h"
#include "lighting/sync_effects.h"

namespace orvane::lighting {

namespace {

constexpr unsigned kMaxFrames = 100000;

bool ParseNumber(const std::string& text, unsigned max, unsigned& out, int base = 10) {
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, out, base);
    return ec == std::errc() && p == end && !text.empty() && out <= max;
}

keyboard::KeyColourMap TestPatternLayers(RenderTarget target) {
    keyboard::KeyColourMap map;
    for (size_t layer = 0; layer < keyboard::kColourLayerCount; ++layer)
        for (size_t slot = 0; slot < kKeyCount; ++slot) {
            if (target == RenderTarget::MonoKeyboard) map.setLevelAt(layer, slot, uint8_t(2 * slot + 50 * layer));
            else map.setColourAt(layer, slot, Wheel(unsigned(3 * slot + 38 * layer)));
        }
    return map;
}

}  // namespace

std::string HexLine(std::span<const uint8_t> bytes) { return device::ToHex(bytes); }

std::optional<RenderRequest> ParseRenderRequest(const std::vector<std::string>& args, std::string& error) {
    if (args.empty()) {
        error = "missing device (kb, kb1, ms, mp or sync)";
        return std::nullopt;
    }
    RenderRequest r;
    const std::string& device = args[0];
    if (device == "kb") r.target = RenderTarget::Keyboard;
    else if (device == "kb1") r.target = RenderTarget::MonoKeyboard;
    else if (device == "ms") r.target = RenderTarget::Mouse;
    else if (device == "mp") r.target = RenderTarget::Pad;
    else if (device == "sync") r.target = RenderTarget::Sync;
    else {
        error = "unknown device " + device + " (kb, kb1, ms, mp or sync)";
        return std::nullopt;
    }
    bool haveMode = false, haveFrames = false;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& opt = args[i];
        if (i + 1 >= args.size()) {
            error = "missing value after " + opt;
            return std::nullopt;
        }
        const std::string& value = args[++i];
        unsigned v = 0;
        bool ok = true;
        if (opt == "--mode") ok = ParseNumber(value, 255, v), r.choice.mode = uint8_t(v), haveMode = true;
        else if (opt == "--brightness") ok = ParseNumber(value, 255, v), r.choice.brightness = uint8_t(v);
        else if (opt == "--speed") ok = ParseNumber(value, 255, v), r.choice.speed = uint8_t(v);
        else if (opt == "--direction") ok = ParseNumber(value, 255, v), r.choice.direction = uint8_t(v);
        else if (opt == "--seven") ok = ParseNumber(value, 1, v), r.choice.sevenColour = uint8_t(v);
        else if (opt == "--layer") ok = ParseNumber(value, 255, v), r.layer = uint8_t(v);
        else if (opt == "--frames") ok = ParseNumber(value, kMaxFrames, v), r.frames = v, haveFrames = true;
        else if (opt == "--color") {
            ok = value.size() == 6 && ParseNumber(value, 0xFFFFFF, v, 16);
            r.choice.colour = {uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
        } else {
            error = "unknown option " + opt;
            return std::nullopt;
        }
        if (!ok) {
            error = "bad value for " + opt + ": " + value;
            return std::nullopt;
        }
    }
    if (!haveMode || !haveFrames) {
        error = "--mode and --frames are required";
        return std::nullopt;
    }
    return r;
}

std::vector<std::string> RenderLines(const RenderRequest& request) {
    std::vector<std::string> lines;
    SeededRandom random(1);
    const LightingChoice& choice = request.choice;
    uint64_t nowMs = 0;
    std::atomic<bool> noClick{false};

    switch (request.target) {
    case RenderTarget::Keyboard:
    case RenderTarget::MonoKeyboard: {
        const auto variant = request.target == RenderTarget::Keyboard ? KeyboardVariant::Rgb : KeyboardVariant::SingleColour;
        const auto layers = TestPatternLayers(request.target);
        KeyboardEngineState state;
        SelectKeyboardMode(state, variant, choice.mode);
        const KeyboardInputs in{choice, variant, request.layer, &layers};
        for (unsigned i = 0; i < request.frames; ++i) {
            const auto frame = KeyboardTick(in, state, random, false);
            const auto payloads = PayloadsOf(frame);
            for (size_t p = 0; p < payloads.count; ++p) lines.push_back(HexLine(payloads.parts[p]));
        }
        break;
    }
    case RenderTarget::Mouse: {
        MouseAnimationState state;
        ResetMouseAnimation(state, choice);
        MouseInputs in{choice, 0, 0, &noClick};
        for (unsigned i = 0; i < request.frames; ++i) {
            const auto t = MouseTiming(choice.mode, choice.speed);
            nowMs += t.tickMs + t.extraMs;
            in.nowMs = nowMs;
            const auto frame = RenderMouse(in, state);
            if (frame.sends()) lines.push_back(HexLine(frame.payload()));
        }
        break;
    }
    case RenderTarget::Pad: {
        PadAnimationState state;
        ResetPadAnimation(state, choice);
        for (unsigned i = 0; i < request.frames; ++i) {
            const auto t = PadTiming(choice.mode, choice.speed);
            nowMs += t.tickMs + t.extraMs;
            const auto frame = RenderPad({choice, nowMs, &noClick}, state);
            if (frame.sends()) lines.push_back(HexLine(frame.payload()));
        }
        break;
    }
    case RenderTarget::Sync: {
        SyncState state;
        for (unsigned i = 0; i < request.frames; ++i) {
            const auto frames = RenderSync(choice, state, random, {true, true, true});
            for (auto payload : {frames.keyboard.payload(), frames.mouse.payload(), frames.pad.payload()})
                if (!payload.empty()) lines.push_back(HexLine(payload));
        }
        break;
    }
    }
    return lines;
}

}  // namespace orvane::lighting
