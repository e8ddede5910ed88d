// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runtime: everything the program runs on, without a window. It owns the three device
// connections (indexed by device kind), the device models, the run-time flags, the pointer
// settings, the profile store and its operations, the lighting engine, the application
// events, one device job queue per connection (plus one for desktop settings) and the
// worker set. The program, the command-line tool and the test rigs build it the same way:
// build it first, start it, stop it once (stop() is the one place that judges how the
// workers ended), destroy it last.
//
// Its device work (arrival, re-reads, flushes, slot switches) is here as plain functions of
// the runtime: they run on the thread that calls them (a monitor, a job queue) and save the
// selected profiles themselves when what they read came whole.

#include <array>
#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "appearance/background.h"
#include "device/hid/hid_backend.h"
#include "device/hotplug.h"
#include "device/models.h"
#include "device/onboard_slots.h"
#include "device/protocol/connection.h"
#include "device/protocol/result.h"
#include "keyboard/keyboard_model.h"
#include "lighting/animation_engine.h"
#include "macros/macro_store.h"
#include "mouse/mouse_model.h"
#include "mousepad/pad_model.h"
#include "platform/pointer_settings.h"
#include "profiles/profile_operations.h"
#include "profiles/profile_store.h"
#include "runtime/app_events.h"
#include "runtime/device_jobs.h"
#include "runtime/device_session.h"
#include "runtime/runtime_flags.h"
#include "runtime/workers.h"

namespace orvane::runtime {

class UiDispatcher;

struct RuntimeOptions {
    hid::Backend* backend = nullptr;
    /// The profile data folder; empty: $ORVANE_DATA_DIR or the documents' "KX".
    std::filesystem::path dataFolder;
    /// Where the shipped default files are; empty: beside the program or in its prefix.
    std::vector<std::filesystem::path> defaultFolders;
    /// Where the desktop pointer speed and wheel lines go; null: the running desktop's.
    std::unique_ptr<platform::PointerBackend> pointerBackend;
    platform::LogSink pointerLog;
    lighting::AnimationOptions animation;
    /// Job results and events reach the thread that built the runtime through its Qt event
    /// loop (the program, window tests). false: they are delivered on the job threads
    /// (command-line tool, tests without an event loop).
    bool deliverToCreatingThread = true;
    std::chrono::milliseconds stopBound = WorkerSet::kStopBound;
    /// false: no job threads; every job runs at once on the thread that submits it and
    /// reports right after (page tests without threads or devices).
    bool jobThreads = true;
    /// Watch udev for hidraw nodes coming and going, so the presence monitors look at once
    /// (real devices; the monitors' own scan stays as the fallback).
    bool hotplug = false;
};

class Runtime {
public:
    explicit Runtime(RuntimeOptions options);
    ~Runtime();
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

    protocol::DeviceConnection& connection(DeviceKind kind) const;
    /// Where the devices are found (hidapi or the emulator).
    hid::Backend& backend() const { return *backend_; }
    bool connected(DeviceKind kind) const;
    bool anyConnected() const;
    /// The device's job queue.
    JobRunner& jobs(DeviceKind kind);
    /// The queue of desktop settings (pointer speed, wheel lines): no device needed.
    JobRunner& desktopJobs();
    /// How workers reach the window's thread; null without delivery to it.
    UiDispatcher* dispatcher() const { return dispatcher_.get(); }

    /// Starts the plugged workers in slot order (see WorkerSet::startAll).
    void start(const std::function<void()>& afterSynchronisedLighting = {});
    /// Stops the workers (within the bound) and the job queues, then releases the devices
    /// in the order mousepad, mouse, keyboard. Later calls return the first outcome.
    StopOutcome stop();
    std::optional<StopOutcome> stopOutcome() const { return outcome_; }

    // ---- the device sessions: the one way anything changes a device or its profiles -------
    KeyboardSession& keyboardSession() { return *keyboardSession_; }
    MouseSession& mouseSession() { return *mouseSession_; }
    PadSession& padSession() { return *padSession_; }
    DeviceSession& session(DeviceKind kind);
    /// The keyboard's or the mouse's session (the devices with keys and macros).
    KeyDeviceSession& keySession(DeviceKind kind);

    // Shorthands of the sessions' work (a monitor's or a job queue's thread).
    ArrivalReport arrive(DeviceKind kind, const hid::InterfaceInfo& attributes) { return session(kind).arriveNow(attributes); }
    int32_t readBack(DeviceKind kind) { return session(kind).readBackNow(); }
    int32_t reloadMouseSlotZero() { return mouseSession().reloadSlotZeroNow(); }
    std::optional<int32_t> flush(DeviceKind kind) { return session(kind).flushNow(); }
    device::SlotSwitchResult selectSlot(DeviceKind kind, unsigned n) { return session(kind).selectSlotNow(n); }
    int32_t resetDefaults(DeviceKind kind) { return session(kind).resetDefaultsNow(); }
    bool saveSelected(DeviceKind kind, bool lighting) { return session(kind).saveNow(lighting); }

private:
    // Declared first: built before, and destroyed after, everything that uses them. The
    // destructor stops every thread before any member goes.
    std::chrono::milliseconds stopBound_;
    hid::Backend* backend_;
    bool hotplugWanted_ = false;
    std::array<std::unique_ptr<protocol::DeviceConnection>, 3> connections_;
    std::unique_ptr<UiDispatcher> dispatcher_;
    std::vector<DeviceJobQueue*> queues_;  ///< the threaded runners, to stop
    std::unique_ptr<JobRunner> desktopJobs_;
    std::optional<StopOutcome> outcome_;
    std::unique_ptr<device::UdevHotplugWatcher> hotplug_;

public:
    keyboard::KeyboardModel keyboard;
    mouse::MouseModel mouse;
    mousepad::PadModel pad;
    RuntimeFlags flags;
    platform::PointerSettings pointer;
    profiles::ProfileStore store;
    profiles::ProfileOperations operations;
    /// The keyboard's and mouse's macro sets and the cursor sequences (one lock for all).
    macros::MacroStore macroStore;
    lighting::AnimationEngine lighting;
    AppEvents events;
    /// The main window's background as chosen in this run (the window's thread only); told
    /// with settingsChanged(Setting::Background).
    appearance::SkinChangedParam background;
    /// The port the OpenRGB SDK server listens on in this run, none while it is off (the
    /// window's thread only); what orvanectl daemon-status tells.
    std::optional<uint16_t> sdkServerPort;

private:
    std::array<std::unique_ptr<JobRunner>, 3> jobs_;
    std::unique_ptr<KeyboardSession> keyboardSession_;
    std::unique_ptr<MouseSession> mouseSession_;
    std::unique_ptr<PadSession> padSession_;
    std::array<DeviceSession*, 3> sessions_{};      ///< by kind, in the order of the connections
    std::array<KeyDeviceSession*, 3> keySessions_{};  ///< the pad has none

public:
    WorkerSet workers;
};

/// The three device kinds, in the order of their connections.
inline constexpr std::array<DeviceKind, 3> kDeviceKinds{DeviceKind::Keyboard, DeviceKind::Mouse, DeviceKind::Mousepad};
constexpr size_t IndexOf(DeviceKind kind) { return size_t(kind) - 1; }

/// The lighting engine's name of each device kind, in the order of kDeviceKinds.
inline constexpr std::array<lighting::LightingDevice, 3> kLightingDevices{
        lighting::LightingDevice::Keyboard, lighting::LightingDevice::Mouse, lighting::LightingDevice::Pad};
constexpr lighting::LightingDevice LightingDeviceOf(DeviceKind kind) { return kLightingDevices[IndexOf(kind)]; }
constexpr DeviceKind KindOf(lighting::LightingDevice device) {
    for (size_t i = 0; i < kLightingDevices.size(); ++i)
        if (kLightingDevices[i] == device) return kDeviceKinds[i];
    return DeviceKind::Keyboard;
}

}  // namespace orvane::runtime
