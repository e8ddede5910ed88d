// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard, mouse and mousepad workers: each device's own animation.

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

bool Sleep(std::stop_token stop, uint32_t ms) { return ChangeSignal::SleepFor(stop, milliseconds(ms)); }

}  // namespace

void AnimationEngine::runKeyboard(std::stop_token stop) {
    ChangeSignal::WakeOnTime();
    KeyboardEngineState state;
    SeededRandom random(Seed());
    keyboard::LightingRecord record;
    keyboard::KeyColourMap colours;
    uint8_t layer = 0;
    const auto readRecord = [&] {
        devices_.keyboardModel.read([&](const keyboard::KeyboardData& d) {
            record = d.lighting;
            layer = d.paint.layer();
            colours = d.colours;
        });
    };
    for (bool running = Sleep(stop, uint32_t(options_.keyboardStartWait.count())); running;) {
        const uint64_t seen = signal_.generation();
        const auto variant = devices_.keyboardModel.variant();
        const LightingChoice timed = devices_.keyboardModel.read([](const auto& d) { return LightingChoice::Of(d.lighting); });
        const TickTiming timing = KeyboardTiming(variant, timed.mode, timed.speed);
        if (!(running = Sleep(stop, timing.tickMs))) break;
        if (!devices_.keyboard.connected) {
            running = idle(stop, AnimationWorker::Keyboard, seen);
            continue;
        }
        readRecord();
        const LightingChoice choice = LightingChoice::Of(record);
        if (takeReset(LightingDevice::Keyboard)) SelectKeyboardMode(state, variant, choice.mode);
        // Under the synchronised effect the keyboard keeps its tick (the colour counter runs
        // on) but renders nothing.
        const bool synchronised = devices_.keyboard.syncLighting;
        if (!synchronised && !(running = Sleep(stop, KeyboardTiming(variant, choice.mode, choice.speed).extraMs))) break;
        const KeyboardInputs inputs{choice, variant, layer, &colours};
        const KeyboardFrame frame = KeyboardTick(inputs, state, random, synchronised);
        if (synchronised) continue;
        if (!frame.sends()) {
            running = idle(stop, AnimationWorker::Keyboard, seen);
            continue;
        }
        sendKeyboard(frame);
        showPreview(LightingDevice::Keyboard, frame.preview);
    }
    device::Log("键盘灯光线程设定退出");
}

void AnimationEngine::runMouse(std::stop_token stop) {
    ChangeSignal::WakeOnTime();
    MouseAnimationState state;
    for (bool running = Sleep(stop, uint32_t(options_.mouseStartWait.count())); running;) {
        const uint64_t seen = signal_.generation();
        const LightingChoice timed = LightingChoice::Of(devices_.mouseModel.state());
        if (!(running = Sleep(stop, MouseTiming(timed.mode, timed.speed).tickMs))) break;
        if (!devices_.mouse.connected || devices_.mouse.syncLighting) {
            running = idle(stop, AnimationWorker::Mouse, seen);
            continue;
        }
        const mouse::MouseState record = devices_.mouseModel.state();
        const LightingChoice choice = LightingChoice::Of(record);
        if (takeReset(LightingDevice::Mouse)) ResetMouseAnimation(state, choice);
        if (!(running = Sleep(stop, MouseTiming(choice.mode, choice.speed).extraMs))) break;
        const uint8_t colourPhase = record.at(mouse::MouseState::off::colourPhase);
        MouseInputs inputs{choice, colourPhase, NowMs(), &triggers.mouseClick};
        const MouseFrame frame = RenderMouse(inputs, state);
        if (inputs.colourPhase != colourPhase)
            devices_.mouseModel.update([&](mouse::MouseData& d) {
                d.state.set(mouse::MouseState::off::colourPhase, inputs.colourPhase);
            });
        if (!frame.sends()) {
            running = idle(stop, AnimationWorker::Mouse, seen);
            continue;
        }
        send(LightingDevice::Mouse, frame.payload());
        showPreview(LightingDevice::Mouse, frame.preview);
    }
    device::Log("鼠标灯光线程设定退出");
}

void AnimationEngine::runPad(std::stop_token stop) {
    ChangeSignal::WakeOnTime();
    PadAnimationState state;
    for (bool running = Sleep(stop, uint32_t(options_.padStartWait.count())); running;) {
        const uint64_t seen = signal_.generation();
        const LightingChoice timed = LightingChoice::Of(devices_.padModel.state());
        if (!(running = Sleep(stop, PadTiming(timed.mode, timed.speed).tickMs))) break;
        if (!devices_.pad.connected || devices_.pad.syncLighting) {
            running = idle(stop, AnimationWorker::Pad, seen);
            continue;
        }
        const LightingChoice choice = LightingChoice::Of(devices_.padModel.state());
        if (takeReset(LightingDevice::Pad)) ResetPadAnimation(state, choice);
        if (padFirstTrigger_.exchange(false)) state.trigger[0] = true;
        if (!(running = Sleep(stop, PadTiming(choice.mode, choice.speed).extraMs))) break;
        const PadFrame frame = RenderPad({choice, NowMs(), &triggers.padClick}, state);
        if (frame.pauseMs != 0) {
            running = Sleep(stop, frame.pauseMs);  // the fill effect's rest at each end
            continue;
        }
        if (!frame.sends()) {
            running = idle(stop, AnimationWorker::Pad, seen);
            continue;
        }
        send(LightingDevice::Pad, frame.payload());
        showPreview(LightingDevice::Pad, frame.preview);
    }
    device::Log("鼠标垫灯光线程设定退出");
}

}  // namespace orvane::lighting
