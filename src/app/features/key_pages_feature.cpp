// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/key_pages_feature.h"

#include <QAbstractButton>
#include <QStackedWidget>

#include <array>

#include "app/main_window.h"

namespace orvane::app {

using device::DeviceKind;
using runtime::CaptureTarget;

namespace {
// Each keyboard sub-page option routes to the owner of its page (the options' names begin
// like their pages' controls); the pages themselves are ui::pages::kKeyboardSubPages.
struct OptionOwner {
    const char* name;
    Owner owner;
};
constexpr std::array<OptionOwner, 3> kKeyboardOptionOwners{{
    {"kb_deng_Op_tab", Owner::KeyboardLighting},
    {"kb_macro_Op_tab", Owner::Macros},
    {"kb_key_Op_tab", Owner::KeyboardKeys},
}};
}  // namespace

void KeyPagesFeature::install(FeatureContext& context) {
    window_ = &context.window;
    MainWindow* window = window_;
    const ui::pages::KeyPageEnv env{
        [window](const QString& id) { return window->language().text(id); },
        [window](const QString& text) { window->showMessage(text, false); },
    };
    const auto lookup = context.window.lookup();
    keyboard_ = std::make_unique<ui::pages::KeyboardKeyPage>(lookup, context.runtime, env);
    mouse_ = std::make_unique<ui::pages::MouseButtonPage>(lookup, context.runtime, env);
    keyboard_->prepare();
    mouse_->prepare();
    bind(context, Owner::KeyboardKeys, keyboard_->bindings());
    bind(context, Owner::MouseButtons, mouse_->bindings());
    subPages_ = std::make_unique<ui::pages::SubPages>(lookup, ui::pages::kKeyboardSubPages);
    for (size_t i = 0; i < kKeyboardOptionOwners.size(); ++i) {
        keyboardOptions_[i].on(kKeyboardOptionOwners[i].name, ui::event::kSelectChanged,
                               [this](const ui::Notification& n) { showKeyboardPage(n); });
        bind(context, kKeyboardOptionOwners[i].owner, keyboardOptions_[i]);
    }
    // A key page comes up with its editor hidden, however its page was switched to.
    pageWatch_ = std::make_unique<QObject>();
    const auto hideOnEntry = [&](const ui::pages::SubPageTable& table, auto* page) {
        if (auto* stack = window->control<QStackedWidget>(QLatin1String(table.stack)))
            QObject::connect(stack, &QStackedWidget::currentChanged, pageWatch_.get(), [page, key = table.keyPage](int shown) {
                if (shown == key) page->hideEditor();
            });
    };
    hideOnEntry(ui::pages::kKeyboardSubPages, keyboard_.get());
    hideOnEntry(ui::pages::kMouseSubPages, mouse_.get());

    runtime::AppEvents& events = context.runtime.events;
    subscriptions_ += events.deviceConnected.subscribe([this](const DeviceKind& kind) { refresh(kind); });
    subscriptions_ += events.modelChanged.subscribe([this](const DeviceKind& kind) { refresh(kind); });
    subscriptions_ += events.profileLoaded.subscribe([this](const profiles::ListId& id, const profiles::ProfileResult&) {
        if (id == profiles::ListId::KeyboardKeys) refresh(DeviceKind::Keyboard);
        if (id == profiles::ListId::MouseKeys) refresh(DeviceKind::Mouse);
    });
    subscriptions_ += events.macrosChanged.subscribe([this](const DeviceKind& kind) {
        if (kind == DeviceKind::Keyboard) keyboard_->reloadMacros();
        if (kind == DeviceKind::Mouse) mouse_->reloadMacros();
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

void KeyPagesFeature::refresh(DeviceKind kind) {
    if (kind == DeviceKind::Keyboard) keyboard_->refresh();
    if (kind == DeviceKind::Mouse) mouse_->refresh();
}

void KeyPagesFeature::showKeyboardPage(const ui::Notification& n) {
    auto* option = qobject_cast<QAbstractButton*>(n.control.data());
    if (option && !option->isChecked()) return;  // the option that lost the selection
    if (window_->finishSelectionChange(n.sender)) subPages_->select(n.sender);
}

}  // namespace orvane::app
