// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard, mouse and mousepad workers: each device's own animation, one loop for all
// three (runWorker) around a body per device that knows its record, timing and frames.
//
// A tick: wait the tick delay of the stored choice; while the device is gone (or driven by
// the synchronised effect, for the devices that render nothing then) sleep until something
// changes; else read the record, start the effect afresh when asked, wait the effect's extra
// delay, render and send, and sleep until something changes when there is nothing to send.
//
// The device's start wait holds back only the sending: the worker ticks from the start and
// shows its frames on the preview, so the window shows the effect as soon as the device is
// there instead of dark cells for the first seconds. The device's first frame comes once
// the wait is over, from wherever the effect has got to.

#include <chrono>

#include "device/log.h"
#include "lighting/animation_engine.h"
#include "lighting/keyboard_engine.h"
#include "lighting/mouse_effects.h"
#include "lighting/pad_effects.h"
#include "lighting/random.h"

namespace orvane::lighting {

namespace {

using std::chrono::milliseconds;

uint64_t NowMs() {
    return uint64_t(std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now().time_since_epoch()).count());
}

uint32_t Seed() { return uint32_t(std::chrono::steady_clock::now().time_since_epoch().count()); }

}  // namespace

template <class Body>
void AnimationEngine::runWorker(std::stop_token stop, Body& body) {
    ChangeSignal::WakeOnTime();
    const protocol::DeviceConnection& link = connection(Body::kDevice);
    const auto firstSend = std::chrono::steady_clock::now() + body.startWait();
    const auto waiting = [&] { return std::chrono::steady_clock::now() < firstSend; };
    for (bool running = true; running;) {
        const uint64_t seen = signal_.generation();
        if (outside_.driven(Body::kDevice)) {
            // Frames from outside go to the device only, so they wait for the start wait too.
            running = waiting() ? ChangeSignal::SleepFor(stop, std::chrono::ceil<milliseconds>(
                                                                   firstSend - std::chrono::steady_clock::now()))
                                : sendOutside(stop, Body::kDevice);
            continue;
        }
        if (!(running = ChangeSignal::SleepMs(stop, body.tickMs()))) break;
        const bool synchronised = link.syncLighting;
        if (!link.connected || (synchronised && !Body::kTicksWhileSynchronised)) {
            running = idle(stop, Body::kWorker, seen);
            continue;
        }
        const uint32_t extraMs = body.prepare(takeReset(Body::kDevice), synchronised);
        if (!(running = ChangeSignal::SleepMs(stop, extraMs))) break;
        uint32_t pauseMs = 0;
        switch (body.render(synchronised, pauseMs, waiting())) {
        case Tick::Sent:
        case Tick::Skipped: break;
        case Tick::Idle: running = idle(stop, Body::kWorker, seen); break;
        case Tick::Paused: running = ChangeSignal::SleepMs(stop, pauseMs); break;
        }
    }
    device::Log(Body::kExitLog);
}

// The keyboard keeps its tick under the synchronised effect (the colour counter runs on) but
// renders nothing then.
struct AnimationEngine::KeyboardBody {
    static constexpr LightingDevice kDevice = LightingDevice::Keyboard;
    static constexpr AnimationWorker kWorker = AnimationWorker::Keyboard;
    static constexpr bool kTicksWhileSynchronised = true;
    static constexpr const char* kExitLog = "键盘灯光线程设定退出";

    AnimationEngine& engine;
    KeyboardEngineState state{};
    SeededRandom random{Seed()};
    keyboard::LightingRecord record{};
    keyboard::KeyColourMap colours{};
    uint8_t layer = 0;
    keyboard::KeyboardVariant variant{};
    LightingChoice choice{};

    milliseconds startWait() const { return engine.options_.keyboardStartWait; }
    uint32_t tickMs() {
        variant = engine.devices_.keyboardModel.variant();
        const LightingChoice timed =
            engine.devices_.keyboardModel.read([](const auto& d) { return LightingChoice::Of(d.lighting); });
        return KeyboardTiming(variant, timed.mode, timed.speed).tickMs;
    }
    uint32_t prepare(bool reset, bool synchronised) {
        engine.devices_.keyboardModel.read([&](const keyboard::KeyboardData& d) {
            record = d.lighting;
            layer = d.paint.layer();
            colours = d.colours;
        });
        choice = LightingChoice::Of(record);
        if (reset) SelectKeyboardMode(state, variant, choice.mode);
        return synchronised ? 0 : KeyboardTiming(variant, choice.mode, choice.speed).extraMs;
    }
    Tick render(bool synchronised, uint32_t&, bool previewOnly) {
        const KeyboardInputs inputs{choice, variant, layer, &colours};
        const KeyboardFrame frame = KeyboardTick(inputs, state, random, synchronised);
        if (synchronised) return Tick::Skipped;
        if (!frame.sends()) return Tick::Idle;
        if (!previewOnly) engine.sendKeyboard(frame);
        engine.showPreview(kDevice, frame.preview);
        return Tick::Sent;
    }
};

struct AnimationEngine::MouseBody {
    static constexpr LightingDevice kDevice = LightingDevice::Mouse;
    static constexpr AnimationWorker kWorker = AnimationWorker::Mouse;
    static constexpr bool kTicksWhileSynchronised = false;
    static constexpr const char* kExitLog = "鼠标灯光线程设定退出";

    AnimationEngine& engine;
    MouseAnimationState state{};
    mouse::MouseState record{};
    LightingChoice choice{};

    milliseconds startWait() const { return engine.options_.mouseStartWait; }
    uint32_t tickMs() {
        const LightingChoice timed = LightingChoice::Of(engine.devices_.mouseModel.state());
        return MouseTiming(timed.mode, timed.speed).tickMs;
    }
    uint32_t prepare(bool reset, bool) {
        record = engine.devices_.mouseModel.state();
        choice = LightingChoice::Of(record);
        if (reset) ResetMouseAnimation(state, choice);
        return MouseTiming(choice.mode, choice.speed).extraMs;
    }
    Tick render(bool, uint32_t&, bool previewOnly) {
        const uint8_t colourPhase = record.at(mouse::MouseState::off::colourPhase);
        MouseInputs inputs{choice, colourPhase, NowMs(), &engine.triggers.mouseClick};
        const MouseFrame frame = RenderMouse(inputs, state);
        if (inputs.colourPhase != colourPhase)
            engine.devices_.mouseModel.update([&](mouse::MouseData& d) {
                d.state.set(mouse::MouseState::off::colourPhase, inputs.colourPhase);
            });
        if (!frame.sends()) return Tick::Idle;
        if (!previewOnly) engine.send(kDevice, frame.payload());
        engine.showPreview(kDevice, frame.preview);
        return Tick::Sent;
    }
};

struct AnimationEngine::PadBody {
    static constexpr LightingDevice kDevice = LightingDevice::Pad;
    static constexpr AnimationWorker kWorker = AnimationWorker::Pad;
    static constexpr bool kTicksWhileSynchronised = false;
    static constexpr const char* kExitLog = "鼠标垫灯光线程设定退出";

    AnimationEngine& engine;
    PadAnimationState state{};
    LightingChoice choice{};

    milliseconds startWait() const { return engine.options_.padStartWait; }
    uint32_t tickMs() {
        const LightingChoice timed = LightingChoice::Of(engine.devices_.padModel.state());
        return PadTiming(timed.mode, timed.speed).tickMs;
    }
    uint32_t prepare(bool reset, bool) {
        choice = LightingChoice::Of(engine.devices_.padModel.state());
        if (reset) ResetPadAnimation(state, choice);
        if (engine.padFirstTrigger_.exchange(false)) state.trigger[0] = true;
        return PadTiming(choice.mode, choice.speed).extraMs;
    }
    Tick render(bool, uint32_t& pauseMs, bool previewOnly) {
        const PadFrame frame = RenderPad({choice, NowMs(), &engine.triggers.padClick}, state);
        if (frame.pauseMs != 0) {
            pauseMs = frame.pauseMs;  // the fill effect's rest at each end
            return Tick::Paused;
        }
        if (!frame.sends()) return Tick::Idle;
        if (!previewOnly) engine.send(kDevice, frame.payload());
        engine.showPreview(kDevice, frame.preview);
        return Tick::Sent;
    }
};

void AnimationEngine::runKeyboard(std::stop_token stop) {
    KeyboardBody body{*this};
    runWorker(stop, body);
}

void AnimationEngine::runMouse(std::stop_token stop) {
    MouseBody body{*this};
    runWorker(stop, body);
}

void AnimationEngine::runPad(std::stop_token stop) {
    PadBody body{*this};
    runWorker(stop, body);
}

}  // namespace orvane::lighting
