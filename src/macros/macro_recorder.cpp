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

bool MacroRecorder::feed(const functions::CapturedInput& event, MacroDocument& document) {
    using Kind = functions::CapturedInput::Kind;
    if (event.kind == Kind::Key) {
        if (!options_.keyboard || event.autoRepeat) return false;
        if (event.pressed) {
            if (lastDownKey_ == event.linuxKey) return false;  // held key: the system repeats its press
            lastDownKey_ = event.linuxKey;
        } else if (lastDownKey_ == event.linuxKey) {
            lastDownKey_.reset();
        }
        const auto key = resolver_ ? resolver_(event.linuxKey, event.extended) : std::nullopt;
        if (!key || *key >= MacroKeys().size()) return false;
        return append(KeyAction(MacroKeys()[*key], event.pressed), false, event.timeMs, document);
    }
    if (!options_.mouseClick || event.kind != Kind::MouseButton) return false;
    const auto row = MouseEventRowOf(event.button, event.pressed);
    if (!row || *row >= kRecordedMouseRows || row == lastMouseRow_) return false;
    lastMouseRow_ = row;
    return append(MouseEventAction(*row), true, event.timeMs, document);
}

bool MacroRecorder::append(ActionLine action, bool recordedMouse, int64_t timeMs, MacroDocument& document) {
    const int64_t elapsed = std::clamp<int64_t>(timeMs - lastTick_, 0, kMaxDelayMs);
    lastTick_ = timeMs;
    const int delayMs = options_.fixedDelay ? kFixedRecordDelayMs : static_cast<int>(elapsed);
    return document.appendRecorded(std::move(action), recordedMouse, delayMs);
}

}  // namespace orvane::macros
