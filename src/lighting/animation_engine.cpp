// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's shared side: requests from other threads, same mode, the sync flags, and
// sending a frame.

#include "lighting/animation_engine.h"

#include <algorithm>

#include "device/protocol/commands.h"
#include "device/protocol/result.h"

namespace orvane::lighting {

namespace {

// Bytes 1-8 of a record: the lighting choice same mode copies.
template <class Record>
void PutChoice(Record& to, const Record& from) {
    std::copy_n(from.bytes.begin() + 1, 8, to.bytes.begin() + 1);
}

}  // namespace

AnimationEngine::AnimationEngine(AnimationDevices devices, AnimationOptions options)
    : devices_(devices), options_(std::move(options)) {}

protocol::DeviceConnection& AnimationEngine::connection(LightingDevice device) const {
    switch (device) {
    case LightingDevice::Keyboard: return devices_.keyboard;
    case LightingDevice::Mouse: return devices_.mouse;
    case LightingDevice::Pad: break;
    }
    return devices_.pad;
}

void AnimationEngine::requestReset(LightingDevice device) {
    resetRequested_[size_t(device)] = true;
    changed();
}

void AnimationEngine::setPadFirstTrigger() {
    padFirstTrigger_ = true;
    changed();
}

void AnimationEngine::changed() { signal_.notify(); }

bool AnimationEngine::takeReset(LightingDevice device) { return resetRequested_[size_t(device)].exchange(false); }

SameModeOutcome AnimationEngine::copyForSameMode(LightingDevice source) {
    keyboard::LightingRecord keyboardRecord = devices_.keyboardModel.read([](const auto& d) { return d.lighting; });
    mouse::MouseState mouseState = devices_.mouseModel.state();
    mousepad::PadState padState = devices_.padModel.state();
    SyncLightingRecord sync;
    const SameModeOutcome outcome =
        CopyLightingChoice(source, keyboardRecord, mouseState, padState, sync, devices_.keyboardModel.variant());
    if (!outcome.synchronised) return outcome;
    // Only bytes 1-8 of the other records change; what other threads wrote meanwhile into
    // the rest of them (the mouse's colour phase, say) stays.
    for (LightingDevice other : outcome.others) {
        switch (other) {
        case LightingDevice::Keyboard:
            devices_.keyboardModel.update([&](auto& d) { PutChoice(d.lighting, keyboardRecord); });
            break;
        case LightingDevice::Mouse:
            devices_.mouseModel.update([&](auto& d) { PutChoice(d.state, mouseState); });
            break;
        case LightingDevice::Pad:
            devices_.padModel.update([&](auto& d) { PutChoice(d.state, padState); });
            break;
        }
    }
    {
        std::lock_guard guard(syncMutex_);
        sync_ = sync;
    }
    changed();
    return outcome;
}

void AnimationEngine::startSynchronised() {
    for (auto* c : {&devices_.keyboard, &devices_.mouse, &devices_.pad}) c->syncLighting = true;
    changed();
}

void AnimationEngine::endSynchronised(LightingDevice device) {
    connection(device).syncLighting = false;
    changed();
}

void AnimationEngine::endAllSynchronised() {
    for (auto* c : {&devices_.keyboard, &devices_.mouse, &devices_.pad}) c->syncLighting = false;
    changed();
}

SyncLightingRecord AnimationEngine::syncRecord() const {
    std::lock_guard guard(syncMutex_);
    return sync_;
}

bool AnimationEngine::idle(std::stop_token stop, AnimationWorker worker, uint64_t seen) {
    if (options_.idleHook) options_.idleHook(worker, IdleEvent::Sleeping);
    const bool running = signal_.waitForChange(stop, seen, options_.idleRecheck);
    if (running && options_.idleHook) options_.idleHook(worker, IdleEvent::Woken);
    return running;
}

void AnimationEngine::send(LightingDevice device, std::span<const uint8_t> payload) {
    auto& counters = counters_[size_t(device)];
    ++counters.sent;
    counters.reports += (payload.size() + protocol::kChunkSize - 1) / protocol::kChunkSize;
    if (protocol::WriteLightingFrame(connection(device), payload) == protocol::kOk) ++counters.accepted;
}

void AnimationEngine::sendKeyboard(const KeyboardFrame& frame) {
    if (!frame.ownReports) {
        send(LightingDevice::Keyboard, frame.payload());
        return;
    }
    // The single-colour modes that build their reports themselves: one report per part at
    // its offset in the frame, stopping at the first that fails or is refused.
    auto& counters = counters_[size_t(LightingDevice::Keyboard)];
    ++counters.sent;
    const FramePayloads parts = PayloadsOf(frame);
    counters.reports += parts.count;
    for (size_t i = 0; i < parts.count; ++i) {
        const auto part = parts.parts[i];
        const auto offset = uint16_t(part.data() - frame.bytes.data());
        if (protocol::ChunkedTransfer(devices_.keyboard, protocol::kWriteLightingFrame, offset, part.size(),
                                      part.data(), nullptr) != protocol::kOk)
            return;
    }
    ++counters.accepted;
}

void AnimationEngine::putOutsideFrame(LightingDevice device, std::vector<uint8_t> payload) {
    if (outside_.put(device, {std::move(payload), std::chrono::steady_clock::now()})) changed();
    notifyOutside(device);
}

void AnimationEngine::beginOutside(LightingDevice device) {
    outside_.begin(device);
    changed();
    notifyOutside(device);
}

void AnimationEngine::endOutside(LightingDevice device) {
    if (!outside_.end(device)) return;
    requestReset(device);
    notifyOutside(device);
}

void AnimationEngine::notifyOutside(LightingDevice device) { outsideSignal_[size_t(device)].notify(); }

bool AnimationEngine::sendOutside(std::stop_token stop, LightingDevice device) {
    ChangeSignal& signal = outsideSignal_[size_t(device)];
    const uint64_t seen = signal.generation();
    std::optional<OutsideFrame> frame = connection(device).connected ? outside_.take(device) : std::nullopt;
    if (!frame) return signal.waitForChange(stop, seen, options_.idleRecheck);
    const uint64_t acceptedBefore = counters_[size_t(device)].accepted;
    send(device, frame->payload);
    if (options_.outsideSentHook && counters_[size_t(device)].accepted != acceptedBefore)
        options_.outsideSentHook(device, *frame);
    return !stop.stop_requested();
}

void AnimationEngine::showPreview(LightingDevice device, std::span<const PreviewCell> cells) {
    if (preview_) preview_->show(device, cells);
}

}  // namespace orvane::lighting
