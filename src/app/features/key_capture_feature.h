// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Input capture for the editors: an editor asks through captureRequested, the capture
// service (ui::InputCapture, one at a time) is installed for it, and what it takes arrives
// as inputCaptured with the target that asked; captureEnds (the window deactivated, a page
// or device tab changed, the editor done) removes it.

#include <memory>

#include "app/feature.h"
#include "runtime/app_events.h"
#include "ui/input_capture.h"

namespace orvane::app {

/// The capture mode each target installs (ui::capture_mode).
int CaptureModeOf(runtime::CaptureTarget target);

class KeyCaptureFeature final : public Feature {
public:
    void install(FeatureContext& context) override;
    const ui::InputCapture* capture() const { return capture_.get(); }

private:
    std::unique_ptr<ui::InputCapture> capture_;
    runtime::CaptureTarget target_ = runtime::CaptureTarget::KeyboardKey;
};

}  // namespace orvane::app
