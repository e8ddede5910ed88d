// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The four lighting animation workers and what other threads tell them. Each run*()
// is a worker body: it renders from the device's lighting record, sends the frame with
// command 18 and hands the preview cells to a sink, paced by the tick timing of its
// device, until its stop token fires. No Qt: the program plugs these bodies into its
// worker slots, `orvanectl stream` into plain threads.
//
// A worker with nothing to render sleeps until changed() (or a stop) instead of polling;
// every writer of what the workers read calls changed() after writing.

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <stop_token>

#include "device/protocol/connection.h"
#include "keyboard/keyboard_model.h"
#include "lighting/animation_signal.h"
#include "lighting/outside_frames.h"
#include "lighting/pacing.h"
#include "lighting/sync_effects.h"
#include "lighting/triggers.h"
#include "mouse/mouse_model.h"
#include "mousepad/pad_model.h"

namespace orvane::lighting {

enum class AnimationWorker : uint8_t { Keyboard, Mouse, Pad, Synchronised };
enum class IdleEvent : uint8_t { Sleeping, Woken };

struct AnimationOptions {
    /// How long each device worker sends nothing to its device after it starts; it renders
    /// its effect for the preview meanwhile.
    std::chrono::milliseconds keyboardStartWait{kKeyboardStartWaitMs};
    std::chrono::milliseconds mouseStartWait{kMouseStartWaitMs};
    std::chrono::milliseconds padStartWait{kPadStartWaitMs};
    /// An idle worker also looks again after this long, for writers that change a record
    /// without calling changed(). None: it wakes only on changed() and stop.
    std::optional<std::chrono::milliseconds> idleRecheck{std::chrono::milliseconds(1000)};
    /// Told each time a worker goes idle and each time it wakes from that (tests).
    std::function<void(AnimationWorker, IdleEvent)> idleHook;
    /// Told on the worker's thread after a frame from outside reached its device whole
    /// (benchmarks of the delay from a client to the device).
    std::function<void(LightingDevice, const OutsideFrame&)> outsideSentHook;
};

/// Where the preview cells of each frame go; called on the worker's thread, must not block.
class PreviewSink {
public:
    virtual ~PreviewSink() = default;
    virtual void show(LightingDevice device, std::span<const PreviewCell> cells) = 0;
};

struct AnimationDevices {
    protocol::DeviceConnection& keyboard;
    protocol::DeviceConnection& mouse;
    protocol::DeviceConnection& pad;
    keyboard::KeyboardModel& keyboardModel;
    mouse::MouseModel& mouseModel;
    mousepad::PadModel& padModel;
};

/// Frames sent to one device by its own worker and by the synchronised one.
struct FrameCounters {
    std::atomic<uint64_t> sent{0};      ///< frames attempted
    std::atomic<uint64_t> accepted{0};  ///< frames whose every report the device took
    std::atomic<uint64_t> reports{0};   ///< reports the attempted frames needed
};

class AnimationEngine {
public:
    explicit AnimationEngine(AnimationDevices devices, AnimationOptions options = {});
    AnimationEngine(const AnimationEngine&) = delete;
    AnimationEngine& operator=(const AnimationEngine&) = delete;

    void runKeyboard(std::stop_token stop);
    void runMouse(std::stop_token stop);
    void runPad(std::stop_token stop);
    void runSynchronised(std::stop_token stop);

    // --- from other threads ----------------------------------------------------------------
    /// The mouse's click notification lights both flash effects.
    ReactiveTriggers triggers;
    /// A mode selection (or the mouse's direction change): the device's animation state is
    /// reset before its next tick.
    void requestReset(LightingDevice device);
    /// The mousepad ripple's first trigger (its page shows ripple mode).
    void setPadFirstTrigger();
    /// Something the workers read has changed: idle workers look again.
    void changed();

    /// Same mode, first step: bytes 1-8 of the source's record go into the two other
    /// records and the synchronised record (CopyLightingChoice). The caller refreshes and
    /// saves the others, then calls startSynchronised(); nothing when not `synchronised`.
    SameModeOutcome copyForSameMode(LightingDevice source);
    /// Sets the sync flag of all three devices, connected or not.
    void startSynchronised();
    /// A lighting change on one device's page.
    void endSynchronised(LightingDevice device);
    /// A lighting mode selection on any page.
    void endAllSynchronised();
    SyncLightingRecord syncRecord() const;

    /// Frames from outside the program (an SDK client): while a device is driven so, its
    /// worker sends the newest frame at the link's pace instead of its own effect, and the
    /// synchronised effect leaves it out. putOutsideFrame begins it; endOutside returns the
    /// device to its stored effect, started afresh.
    void putOutsideFrame(LightingDevice device, std::vector<uint8_t> payload);
    void beginOutside(LightingDevice device);
    void endOutside(LightingDevice device);
    bool drivenFromOutside(LightingDevice device) const { return outside_.driven(device); }
    const OutsideFrames& outsideFrames() const { return outside_; }

    /// Set before the workers start; null: no previews.
    void setPreviewSink(PreviewSink* sink) { preview_ = sink; }
    const FrameCounters& counters(LightingDevice device) const { return counters_[size_t(device)]; }

private:
    // The device parts of the one worker loop (animation_devices.cpp).
    struct KeyboardBody;
    struct MouseBody;
    struct PadBody;
    enum class Tick : uint8_t { Sent, Idle, Skipped, Paused };
    template <class Body>
    void runWorker(std::stop_token stop, Body& body);

    protocol::DeviceConnection& connection(LightingDevice device) const;
    /// Sleeps until changed() or stop; false when stopped.
    bool idle(std::stop_token stop, AnimationWorker worker, uint64_t seen);
    bool takeReset(LightingDevice device);
    /// Sends one payload (or the keyboard's self-built reports) and counts it.
    void send(LightingDevice device, std::span<const uint8_t> payload);
    void sendKeyboard(const KeyboardFrame& frame);
    void showPreview(LightingDevice device, std::span<const PreviewCell> cells);
    /// A worker's tick while its device is driven from outside; false when stopped.
    bool sendOutside(std::stop_token stop, LightingDevice device);
    /// Wakes the device's worker while it is driven from outside and nothing else: a frame
    /// a client sends wakes one worker, not all four.
    void notifyOutside(LightingDevice device);

    AnimationDevices devices_;
    AnimationOptions options_;
    ChangeSignal signal_;
    PreviewSink* preview_ = nullptr;
    std::array<std::atomic<bool>, 3> resetRequested_{};
    std::atomic<bool> padFirstTrigger_{false};
    mutable std::mutex syncMutex_;
    SyncLightingRecord sync_;
    std::array<FrameCounters, 3> counters_;
    OutsideFrames outside_;
    std::array<ChangeSignal, 3> outsideSignal_;
};

}  // namespace orvane::lighting
