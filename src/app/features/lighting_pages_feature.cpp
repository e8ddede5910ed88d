// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/lighting_pages_feature.h"

#include "app/main_window.h"

namespace orvane::app {

using device::DeviceKind;

void LightingPagesFeature::install(FeatureContext& context) {
    runtime::Runtime& rt = context.runtime;
    MainWindow* window = &context.window;
    keyboard_ = std::make_unique<ui::pages::KeyboardLightingPage>(
        window->lookup(), rt, [window](const QString& id) { return window->language().text(id); });
    mouse_ = std::make_unique<ui::pages::MouseLightingPage>(window->lookup(), rt);
    keyboard_->prepare();
    mouse_->prepare();
    bind(context, "keyboard lighting", keyboard_->bindings());
    bind(context, "keyboard custom lighting", keyboard_->paintBindings());
    bind(context, "mouse lighting", mouse_->bindings());

    auto show = [this](const DeviceKind& kind) {
        if (kind == DeviceKind::Keyboard) keyboard_->refresh();
        else if (kind == DeviceKind::Mouse) mouse_->refresh();
        // The mouse's same-mode button depends on which keyboard is there.
        if (kind != DeviceKind::Mouse) mouse_->showSameMode();
    };
    subscriptions_ += rt.events.deviceConnected.subscribe(show);
    subscriptions_ += rt.events.modelChanged.subscribe(show);
    subscriptions_ += rt.events.deviceGone.subscribe([this](const DeviceKind&) { mouse_->showSameMode(); });
}

}  // namespace orvane::app
