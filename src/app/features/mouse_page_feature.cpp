// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/mouse_page_feature.h"

#include <QAbstractButton>

#include "app/main_window.h"

namespace orvane::app {

using device::DeviceKind;

void MousePageFeature::install(FeatureContext& context) {
    rt_ = &context.runtime;
    window_ = &context.window;
    const auto lookup = context.window.lookup();
    dpi_ = std::make_unique<ui::pages::MouseDpiPage>(lookup, context.runtime);
    slots_ = std::make_unique<ui::pages::MouseSlotsPage>(lookup, context.runtime, *dpi_);
    subPages_ = std::make_unique<ui::pages::SubPages>(lookup, ui::pages::kMouseSubPages);
    dpi_->prepare();
    bind(context, Owner::MouseDpi, dpi_->bindings());
    bind(context, Owner::MouseSlots, slots_->bindings());

    // A sub-page option: the common step first (an editor with unsaved macro edits keeps
    // its page), then the page switch.
    auto option = [this](const ui::Notification& n) {
        auto* button = qobject_cast<QAbstractButton*>(n.control.data());
        if (button && !button->isChecked()) return;  // the option that lost the selection
        if (window_->finishSelectionChange(n.sender)) subPages_->select(n.sender);
    };
    for (const char* name : {"ms_deng_Op_tab", "ms_key_Op_tab", "ms_rich_Op_tab", "ms_cursor_Op_tab"})
        subPageOptions_.on(name, ui::event::kSelectChanged, option);
    bind(context, Owner::MouseSubPages, subPageOptions_);
    // The macro option routes to the macro editor's owner; the page switch is this page's.
    macroOption_.on("ms_macro_Op_tab", ui::event::kSelectChanged, option);
    bind(context, Owner::Macros, macroOption_);

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
    if (QWidget* note = window_->control(QStringLiteral("ms_pointer_not_applied")))
        note->setVisible(!DesktopAppliesBoth(rt_->pointer.backendName()));
}

void MousePageFeature::showPerformance() {
    if (!rt_ || !rt_->connected(DeviceKind::Mouse)) return;
    window_->selectTab(QStringLiteral("ms_tab"));
    const QString performance = QStringLiteral("ms_rich_Op_tab");
    auto* option = window_->control<QAbstractButton>(performance);
    if (option && !option->isChecked()) option->setChecked(true);  // notifies; the routing switches
    else subPages_->select(performance);
}

}  // namespace orvane::app
