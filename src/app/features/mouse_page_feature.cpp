// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/mouse_page_feature.h"

#include "app/main_window.h"

namespace orvane::app {

using device::DeviceKind;

void MousePageFeature::install(FeatureContext& context) {
    rt_ = &context.runtime;
    window_ = &context.window;
    const auto lookup = context.window.lookup();
    dpi_ = std::make_unique<ui::pages::MouseDpiPage>(lookup, context.runtime);
    slots_ = std::make_unique<ui::pages::MouseSlotsPage>(lookup, context.runtime, *dpi_);
    dpi_->prepare();
    bind(context, "mouse performance", dpi_->bindings());
    bind(context, "mouse slots", slots_->bindings());

    runtime::AppEvents& events = context.runtime.events;
    subscriptions_ += events.deviceConnected.subscribe([this](const DeviceKind& kind) {
        if (kind != DeviceKind::Mouse) return;
        refresh();
        showPointerSettings();  // the lighting profile's (or the mouse's own) values
    });
    subscriptions_ += events.modelChanged.subscribe([this](const DeviceKind& kind) {
        if (kind == DeviceKind::Mouse) refresh();
    });
    subscriptions_ += events.profileLoaded.subscribe([this](const profiles::ListId& id, const profiles::ProfileResult&) {
        // The profile's pointer speed and wheel lines (after a reset: 10 and 3).
        if (id == profiles::ListId::MouseLighting) showPointerSettings();
    });
    subscriptions_ += events.flushTick.subscribe([this] { rt_->mouseSession().flush(); });
}

void MousePageFeature::refresh() {
    dpi_->refresh();
    slots_->refresh();
}

namespace {

// What each desktop backend can set; a page note says when one of the two stays unapplied
// (the values are still kept in the profile).
struct PointerReach {
    const char* backend;
    bool speed;
    bool wheelLines;
};
constexpr PointerReach kPointerReach[] = {
    {"gnome", true, false},  // GNOME has no wheel-lines setting
};

bool DesktopAppliesBoth(const std::string& backend) {
    for (const auto& r : kPointerReach)
        if (backend == r.backend) return r.speed && r.wheelLines;
    return false;  // the fallback ("none") and anything unknown apply nothing
}

}  // namespace

void MousePageFeature::showPointerSettings() {
    const auto data = rt_->mouse.snapshot();
    dpi_->showPointerSettings(data.pointerSpeed, data.wheelLines);
    dpi_->showPointerNote(!DesktopAppliesBoth(rt_->pointer.backendName()));
}

void MousePageFeature::showPerformance() {
    if (!rt_ || !rt_->connected(DeviceKind::Mouse)) return;
    window_->selectDevice(DeviceKind::Mouse);
    window_->selectTab(QStringLiteral("ms_rich_Op_tab"));
}

}  // namespace orvane::app
