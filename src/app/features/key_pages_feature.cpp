// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/key_pages_feature.h"

#include "app/main_window.h"

namespace orvane::app {

using device::DeviceKind;
using runtime::CaptureTarget;

void KeyPagesFeature::install(FeatureContext& context) {
    MainWindow* window = &context.window;
    const ui::pages::KeyPageEnv env{
        [window](const QString& id) { return window->language().text(id); },
        [window](const QString& text) { window->showMessage(text, false); },
    };
    const auto lookup = context.window.lookup();
    keyboard_ = std::make_unique<ui::pages::KeyboardKeyPage>(lookup, context.runtime, env);
    mouse_ = std::make_unique<ui::pages::MouseButtonPage>(lookup, context.runtime, env);
    keyboard_->prepare();
    mouse_->prepare();
    bind(context, "keyboard keys", keyboard_->bindings());
    bind(context, "mouse buttons", mouse_->bindings());
    // A key page comes up with its editor hidden, however its page was switched to.
    subscriptions_ += window->pageShown.subscribe([this](const ui::pages::PageRow* const& page) {
        if (QLatin1String(page->name) == QLatin1String("kb-keys")) keyboard_->hideEditor();
        if (QLatin1String(page->name) == QLatin1String("ms-buttons")) mouse_->hideEditor();
    });

    runtime::AppEvents& events = context.runtime.events;
    subscriptions_ += events.deviceConnected.subscribe([this](const DeviceKind& kind) {
        onPage(kind, [](auto& page) {
            page.refresh();
            page.deviceHoldsKeys();
        });
    });
    subscriptions_ += events.modelChanged.subscribe(
            [this](const DeviceKind& kind) { onPage(kind, [](auto& page) { page.refresh(); }); });
    subscriptions_ += events.profileLoaded.subscribe([this](const profiles::ListId& id, const profiles::ProfileResult&) {
        const auto& list = profiles::ListSpecOf(id);
        if (list.lighting) return;
        onPage(list.kind, [](auto& page) {
            page.refresh();
            page.deviceHoldsKeys();
        });
    });
    subscriptions_ += events.macrosChanged.subscribe([this](const DeviceKind& kind) {
        onPage(kind, [](auto& page) { page.macroSetChanged(); });
    });
    subscriptions_ += events.inputCaptured.subscribe([this](const CaptureTarget& target,
                                                            const functions::CapturedInput& input) {
        if (target == CaptureTarget::KeyboardKey) keyboard_->captured(input);
        if (target == CaptureTarget::MouseKey) mouse_->captured(input);
    });
    subscriptions_ += events.captureRequested.subscribe([this](const CaptureTarget& target, const bool&, const bool&) {
        // Another editor's capture replaces this page's.
        if (target != CaptureTarget::KeyboardKey) keyboard_->captureEnded();
        if (target != CaptureTarget::MouseKey) mouse_->captureEnded();
    });
    subscriptions_ += events.settingsChanged.subscribe([this](const runtime::Setting& setting) {
        if (setting != runtime::Setting::Language) return;  // the labels the pages wrote themselves
        keyboard_->renderLabels();
        mouse_->refreshLabels();
    });
    subscriptions_ += events.captureEnds.subscribe([this] {
        keyboard_->captureEnded();
        mouse_->captureEnded();
    });
}

}  // namespace orvane::app
