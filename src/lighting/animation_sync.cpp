// SPDX-License-Identifier: GPL-3.0-or-later
// The synchronised worker: one effect over every device whose sync flag is set.

#include <chrono>

#include "device/log.h"
#include "lighting/animation_engine.h"
#include "lighting/random.h"

namespace orvane::lighting {

void AnimationEngine::runSynchronised(std::stop_token stop) {
    ChangeSignal::WakeOnTime();
    SyncState state;
    SeededRandom random(uint32_t(std::chrono::steady_clock::now().time_since_epoch().count()));
    for (bool running = true; running;) {
        const uint64_t seen = signal_.generation();
        const LightingChoice choice = syncRecord().choice();
        if (!(running = ChangeSignal::SleepMs(stop, SyncCycleMs(choice.speed)))) break;
        // A device driven from outside is left out until it returns to its stored effect.
        const SyncTargets targets{devices_.keyboard.syncLighting && !outside_.driven(LightingDevice::Keyboard),
                                  devices_.mouse.syncLighting && !outside_.driven(LightingDevice::Mouse),
                                  devices_.pad.syncLighting && !outside_.driven(LightingDevice::Pad)};
        // Nothing reaches a device when no synchronised one is connected, or when the copied
        // mode has no synchronised effect: wait for a change rather than cycle.
        const bool reachable = (targets.keyboard && devices_.keyboard.connected) ||
                               (targets.mouse && devices_.mouse.connected) || (targets.pad && devices_.pad.connected);
        const SyncFrames frames =
            reachable ? RenderSync(choice, state, random, targets, devices_.keyboardModel.variant()) : SyncFrames{};
        if (!reachable || !(frames.keyboard.sends() || frames.mouse.sends() || frames.pad.sends())) {
            running = idle(stop, AnimationWorker::Synchronised, seen);
            continue;
        }
        const SyncSkipSleeps sleeps = SyncSleeps(choice.mode);
        if (targets.keyboard) {
            sendKeyboard(frames.keyboard);
            showPreview(LightingDevice::Keyboard, frames.keyboard.preview);
        } else if (!(running = ChangeSignal::SleepMs(stop, sleeps.keyboardMs))) {
            break;
        }
        if (targets.mouse) {
            send(LightingDevice::Mouse, frames.mouse.payload());
            showPreview(LightingDevice::Mouse, frames.mouse.preview);
        } else if (!(running = ChangeSignal::SleepMs(stop, sleeps.mouseMs))) {
            break;
        }
        if (targets.pad) {
            send(LightingDevice::Pad, frames.pad.payload());
            showPreview(LightingDevice::Pad, frames.pad.preview);
        } else if (!(running = ChangeSignal::SleepMs(stop, sleeps.padMs))) {
            break;
        }
        running = ChangeSignal::SleepMs(stop, sleeps.afterSendMs);
    }
    device::Log("同步灯光线程设定退出");
}

}  // namespace orvane::lighting
