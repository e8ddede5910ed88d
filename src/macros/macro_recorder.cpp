#include "macros/macro_recorder.h"

#include <algorithm>

#include "functions/linux_keys.h"

namespace orvane::macros {

KeyResolver LinuxKeyResolver() {
    return [](uint32_t key, bool) -> std::optional<size_t> {
        if (key > UINT16_MAX) return std::nullopt;
        const auto entry = functions::KeyboardKeyByLinuxKey(static_cast<uint16_t>(key));
        if (!entry || *entry >= MacroKeys().size()) return std::nullopt;
        return entry;
    };
}

MacroRecorder::MacroRecorder(RecordOptions options, KeyResolver resolver, int64_t startMs)
    : options_(options), resolver_(std::move(resolver)), lastTick_(startMs) {}

bool MacroRecorder::feed(const CapturedEvent& event, MacroDocument& document) {
    if (event.source == CapturedEvent::Source::Key) {
        if (!options_.keyboard || event.autoRepeat) return false;
        if (event.pressed) {
            if (lastDownKey_ == event.key) return false;  // held key: the system repeats its press
            lastDownKey_ = event.key;
        } else if (lastDownKey_ == event.key) {
            lastDownKey_.reset();
        }
        const auto key = resolver_ ? resolver_(event.key, event.extended) : std::nullopt;
        if (!key || *key >= MacroKeys().size()) return false;
        return append(KeyAction(MacroKeys()[*key], event.pressed), false, event.timeMs, document);
    }
    if (!options_.mouseClick) return false;
    const auto row = MouseEventRowOf(event.mouse, event.pressed);
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
