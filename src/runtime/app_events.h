// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's typed events: what one feature tells the others without knowing them. Each
// is emitted on the window's thread; subscribers keep the Subscription (usually in a
// Subscriptions member) so that nothing calls them after they are gone.

#include <cstdint>
#include <string>

#include "device/models.h"
#include "functions/captured_input.h"
#include "profiles/profile_operations.h"
#include "runtime/events.h"

namespace orvane::runtime {

using device::DeviceKind;

/// Who asked for captured input: key assignment or the macro recorder of a device page.
enum class CaptureTarget : uint8_t { KeyboardKey, KeyboardMacro, MouseKey, MouseMacro };

/// A key or mouse event captured for an editor.
using functions::CapturedInput;

/// A program setting that other windows follow.
enum class Setting : uint8_t { Language, Background, SdkServer };

struct AppEvents {
    /// The device's connect work is done (its model holds what it read back).
    Event<DeviceKind> deviceConnected;
    /// The device went away (connected and sync flags already cleared).
    Event<DeviceKind> deviceGone;
    /// The device's model changed as a whole (a re-read, a slot switch, a profile load, same
    /// mode): its pages show it anew.
    Event<DeviceKind> modelChanged;
    /// Every second: changed settings records go to the devices.
    Event<> flushTick;
    /// A profile operation loaded a profile into a model (selection, import, reset).
    Event<profiles::ListId, profiles::ProfileResult> profileLoaded;
    /// A list's selection was changed outside its panel (an application came to the front
    /// or went): the list's panel shows the result as if it had made the selection.
    Event<profiles::ListId, profiles::ProfileResult> profileChosen;
    /// A page changed what the device's selected lighting profile keeps (lighting, DPI,
    /// report rate, pointer speed ...): the profile is saved.
    Event<DeviceKind> settingsEdited;
    /// Input captured for an editor.
    Event<CaptureTarget, CapturedInput> inputCaptured;
    /// The window was deactivated or the page changed: input capture and recording end.
    Event<> captureEnds;
    /// A device's macro set changed (added, renamed, deleted, saved): lists that offer
    /// macros read it again.
    Event<DeviceKind> macrosChanged;
    /// The language (texts are reloaded) or the background (Runtime::background) changed.
    Event<Setting> settingsChanged;
    /// Long device work started (true) or ended (false): the progress ring.
    Event<bool> progress;
    /// How far the long device work is (percent of the bytes it writes): the ring's arc.
    Event<int> progressValue;
    /// A message for the user, by text id ("message_text_21" ...): the window shows it.
    Event<std::string> message;
    /// A short confirmation by text id ("notice_applied_mouse" ...): the window shows it for
    /// a moment, without a box to close.
    Event<std::string> notice;
    /// An editor asks for input capture (keys, mouse events); the capture service installs
    /// it for that target and delivers through inputCaptured until captureEnds.
    Event<CaptureTarget, bool, bool> captureRequested;
};

}  // namespace orvane::runtime
