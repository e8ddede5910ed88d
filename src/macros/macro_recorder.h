// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Recording a macro from captured input. The page starts a recorder when recording starts
// and feeds it every event the capture service delivers; the recorder decides what becomes
// a row of the document and what delay the row before it gets:
//  - keys: auto-repeat is dropped (and a second press of the key last pressed); a key
//    that is not one of the 108 keyboard keys is ignored;
//  - mouse: only left, right and middle press and release, only with the click option, and
//    never the same event twice in a row; the wheel and pointer moves are never recorded;
//  - the delay is the time since the previous recorded event (or the start), at most
//    655350 ms, or 50 ms with the fixed-delay option; it belongs to the row before the new
//    one, and the newest row waits 0.

#include <cstdint>
#include <functional>
#include <optional>

#include "functions/captured_input.h"
#include "macros/action_tables.h"
#include "macros/macro_document.h"

namespace orvane::macros {

/// The record options of the editor ("kb_macro_keyboard_event", "kb_macro_mouse_click",
/// "kb_macro_mouse_roller", "kb_macro_mouse_move", "kb_macro_check_time").
struct RecordOptions {
    bool keyboard = true;
    bool mouseClick = false;
    bool mouseWheel = false;
    bool mouseMove = false;
    bool fixedDelay = false;
    /// What the capture service is asked for.
    bool wantKeyboard() const { return keyboard; }
    bool wantMouse() const { return mouseClick || mouseWheel || mouseMove; }
};

/// Maps a captured key to the keyboard key a macro presses (its index in MacroKeys());
/// nullopt for keys no macro can press.
using KeyResolver = std::function<std::optional<size_t>(uint16_t linuxKey, bool extended)>;
/// The resolver of the capture service's keys: Linux key codes through the function-code
/// table (functions::KeyboardKeyByLinuxKey); media and system keys are no macro keys.
KeyResolver LinuxKeyResolver();

inline constexpr int kFixedRecordDelayMs = 50;

class MacroRecorder {
public:
    MacroRecorder(RecordOptions options, KeyResolver resolver, int64_t startMs);

    /// Records the event into the document when it is one to record; true when a row was
    /// added.
    bool feed(const functions::CapturedInput& event, MacroDocument& document);

    const RecordOptions& options() const { return options_; }

private:
    bool append(ActionLine action, bool recordedMouse, int64_t timeMs, MacroDocument& document);

    RecordOptions options_;
    KeyResolver resolver_;
    int64_t lastTick_;
    std::optional<uint16_t> lastDownKey_;
    std::optional<size_t> lastMouseRow_;
};

}  // namespace orvane::macros
