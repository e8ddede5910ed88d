// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/lighting_feature.h"

#include "app/main_window.h"

namespace orvane::app {

void LightingFeature::install(FeatureContext& context) {
    runtime::Runtime& rt = context.runtime;
    engine_ = &rt.lighting;
    MainWindow* window = &context.window;
    previews_ = std::make_unique<PreviewCoalescer>([window](size_t cell) { return window->previews()[cell]; });
    rt.lighting.setPreviewSink(previews_.get());

    using lighting::AnimationEngine;
    struct Worker {
        runtime::WorkerSlot slot;
        const char* name;
        void (AnimationEngine::*run)(std::stop_token);
    };
    for (const auto& w : {Worker{runtime::WorkerSlot::KeyboardLighting, "keyboard lighting", &AnimationEngine::runKeyboard},
                          Worker{runtime::WorkerSlot::MouseLighting, "mouse lighting", &AnimationEngine::runMouse},
                          Worker{runtime::WorkerSlot::MousepadLighting, "mousepad lighting", &AnimationEngine::runPad},
                          Worker{runtime::WorkerSlot::SynchronisedLighting, "synchronised lighting",
                                 &AnimationEngine::runSynchronised}})
        plug(context, w.slot, {w.name, [&rt, run = w.run](std::stop_token stop) { (rt.lighting.*run)(stop); }, {}});

    auto look = [&rt](const device::DeviceKind&) { rt.lighting.changed(); };
    subscriptions_ += rt.events.deviceConnected.subscribe(look);
    subscriptions_ += rt.events.deviceGone.subscribe(look);
    subscriptions_ += rt.events.modelChanged.subscribe(look);
}

LightingFeature::~LightingFeature() {
    if (engine_) engine_->setPreviewSink(nullptr);
}

}  // namespace orvane::app
