// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/key_capture_feature.h"

#include "runtime/runtime.h"

namespace orvane::app {

using runtime::CaptureTarget;

int CaptureModeOf(CaptureTarget target) {
    switch (target) {
    case CaptureTarget::KeyboardKey: return ui::capture_mode::kKeyboardKey;
    case CaptureTarget::KeyboardMacro: return ui::capture_mode::kKeyboardMacro;
    case CaptureTarget::MouseKey: return ui::capture_mode::kMouseKey;
    case CaptureTarget::MouseMacro: return ui::capture_mode::kMouseMacro;
    }
    return 0;
}

void KeyCaptureFeature::install(FeatureContext& context) {
    runtime::AppEvents& events = context.runtime.events;
    capture_ = std::make_unique<ui::InputCapture>(
        [this, &events](const functions::CapturedInput& input) { events.inputCaptured.emit(target_, input); });
    subscriptions_ += events.captureRequested.subscribe([this](const CaptureTarget& target, const bool& keys,
                                                               const bool& mouse) {
        // Installing replaces whatever captured before; asking for nothing ends the
        // requester's own capture only (another editor may have replaced it meanwhile).
        if (!keys && !mouse) {
            if (target == target_) capture_->removeAll();
            return;
        }
        target_ = target;
        capture_->install(CaptureModeOf(target), keys, mouse);
    });
    subscriptions_ += events.captureEnds.subscribe([this] { capture_->removeAll(); });
}

}  // namespace orvane::app
