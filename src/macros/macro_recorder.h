// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Recording a macro from captured input. The page starts a recorder when recording starts
// and feeds it every event the capture service delivers; the recorder decides what becomes
// a row of the document and what delay the row before it gets:
//  - keys: a held key is one press and one release. Auto-repeat is dropped whether or not
//    the toolkit flags it: a press of a key already down, and a release followed by a
//    press of the same key with the same windowing-system time stamp (X11 repeats a held
//    key as such pairs). A release with a stamp therefore waits for the next event, or
//    for flushRelease(), before it becomes a row. A key that is not one of the 108
//    keyboard keys is ignored;
//  - mouse: only left, right and middle press and release, only with the click option, and
//    never the same event twice in a row; the wheel and pointer moves are never recorded;
//  - the delay is the time since the previous recorded event (or the start), at most
//    655350 ms, or 50 ms with the fixed-delay option; it belongs to the row before the new
//    one, and the newest row waits 0.

#include <cstdint>
#include <functional>
#include <optional>
#include <set>

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

    /// A key release waits to see whether a repeat press follows it.
    bool holdsRelease() const { return heldRelease_.has_value(); }
    /// No repeat press came: the waiting release becomes a row. true when a row was added.
    bool flushRelease(MacroDocument& document);

    /// Ends the recording. `endedBy` names what worked the stop control (a mouse button or
    /// a key); when the newest press was of that kind and was recorded, it and its release
    /// leave the document, and the row before them waits 0.
    void finish(MacroDocument& document, std::optional<functions::CapturedInput::Kind> endedBy);

    /// How long a caller lets a release wait for its repeat press: X11 sends the pair at
    /// once, so this only bounds how late the row of a real release appears.
    static constexpr int kRepeatWaitMs = 40;

private:
    /// A key or mouse button, for telling which rows belong to one press.
    struct Source {
        functions::CapturedInput::Kind kind;
        uint16_t key;
        functions::CapturedInput::Button button;
        friend bool operator==(const Source&, const Source&) = default;
    };
    static Source SourceOf(const functions::CapturedInput& event);

    bool feedKey(const functions::CapturedInput& event, MacroDocument& document);
    bool recordKey(const functions::CapturedInput& event, MacroDocument& document);
    bool append(ActionLine action, bool recordedMouse, const functions::CapturedInput& event, MacroDocument& document);

    RecordOptions options_;
    KeyResolver resolver_;
    int64_t lastTick_;
    std::set<uint16_t> keysDown_;
    std::optional<functions::CapturedInput> heldRelease_;
    std::optional<size_t> lastMouseRow_;
    /// The newest press seen, recorded or not, and the row it got while every row after
    /// it is its own release.
    std::optional<Source> lastPress_;
    std::optional<int> lastPressRow_;
};

}  // namespace orvane::macros
