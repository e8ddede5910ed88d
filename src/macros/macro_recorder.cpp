// SPDX-License-Identifier: GPL-3.0-or-later
#include "macros/macro_recorder.h"

#include <algorithm>

#include "functions/linux_keys.h"

namespace orvane::macros {

KeyResolver LinuxKeyResolver() {
    return [](uint16_t linuxKey, bool) -> std::optional<size_t> {
        const auto entry = functions::KeyboardKeyByLinuxKey(linuxKey);
        if (!entry || *entry >= MacroKeys().size()) return std::nullopt;
        return entry;
    };
}

MacroRecorder::MacroRecorder(RecordOptions options, KeyResolver resolver, int64_t startMs)
    : options_(options), resolver_(std::move(resolver)), lastTick_(startMs) {}

MacroRecorder::Source MacroRecorder::SourceOf(const functions::CapturedInput& event) {
    using Kind = functions::CapturedInput::Kind;
    if (event.kind == Kind::Key) return {Kind::Key, event.linuxKey, functions::CapturedInput::Button::None};
    return {event.kind, 0, event.button};
}

bool MacroRecorder::feed(const functions::CapturedInput& event, MacroDocument& document) {
    using Kind = functions::CapturedInput::Kind;
    const bool isPress = event.pressed && (event.kind == Kind::Key || event.kind == Kind::MouseButton);
    if (event.kind == Kind::Key && heldRelease_ && event.pressed && event.linuxKey == heldRelease_->linuxKey &&
        event.eventTime == heldRelease_->eventTime) {
        heldRelease_.reset();  // one step of auto-repeat: the key stays down
        return false;
    }
    bool added = flushRelease(document);
    if (isPress && !(event.kind == Kind::Key && (event.autoRepeat || keysDown_.count(event.linuxKey)))) {
        lastPress_ = SourceOf(event);
        lastPressRow_.reset();
    }
    if (event.kind == Kind::Key) return feedKey(event, document) || added;
    if (!options_.mouseClick || event.kind != Kind::MouseButton) return added;
    const auto row = MouseEventRowOf(event.button, event.pressed);
    if (!row || *row >= kRecordedMouseRows || row == lastMouseRow_) return added;
    lastMouseRow_ = row;
    return append(MouseEventAction(*row), true, event, document) || added;
}

bool MacroRecorder::feedKey(const functions::CapturedInput& event, MacroDocument& document) {
    if (!options_.keyboard || event.autoRepeat) return false;
    if (event.pressed) {
        if (!keysDown_.insert(event.linuxKey).second) return false;  // held: the system repeats its press
        return recordKey(event, document);
    }
    if (keysDown_.count(event.linuxKey) && event.eventTime != 0) {
        heldRelease_ = event;  // a repeat press may follow with the same stamp
        return false;
    }
    keysDown_.erase(event.linuxKey);
    return recordKey(event, document);
}

bool MacroRecorder::recordKey(const functions::CapturedInput& event, MacroDocument& document) {
    const auto key = resolver_ ? resolver_(event.linuxKey, event.extended) : std::nullopt;
    if (!key || *key >= MacroKeys().size()) return false;
    return append(KeyAction(MacroKeys()[*key], event.pressed), false, event, document);
}

bool MacroRecorder::flushRelease(MacroDocument& document) {
    if (!heldRelease_) return false;
    const functions::CapturedInput release = *heldRelease_;
    heldRelease_.reset();
    keysDown_.erase(release.linuxKey);
    return recordKey(release, document);
}

void MacroRecorder::finish(MacroDocument& document, std::optional<functions::CapturedInput::Kind> endedBy) {
    flushRelease(document);
    if (endedBy && lastPress_ && lastPress_->kind == *endedBy && lastPressRow_) document.dropRecordedTail(*lastPressRow_);
    lastPressRow_.reset();
}

bool MacroRecorder::append(ActionLine action, bool recordedMouse, const functions::CapturedInput& event,
                           MacroDocument& document) {
    const int64_t elapsed = std::clamp<int64_t>(event.timeMs - lastTick_, 0, kMaxDelayMs);
    const int delayMs = options_.fixedDelay ? kFixedRecordDelayMs : static_cast<int>(elapsed);
    const int row = document.size();
    if (!document.appendRecorded(std::move(action), recordedMouse, delayMs)) return false;
    lastTick_ = event.timeMs;
    // The rows of the newest press: its own, then only its release.
    if (lastPress_ && SourceOf(event) == *lastPress_) {
        if (event.pressed) lastPressRow_ = row;
    } else {
        lastPressRow_.reset();
    }
    return true;
}

}  // namespace orvane::macros
