#include "app/features/key_pages_feature.h"

#include <QAbstractButton>
#include <QStackedWidget>

#include <array>

#include "app/main_window.h"

namespace orvane::app {

using device::DeviceKind;
using runtime::CaptureTarget;

namespace {
// The keyboard's sub-page options, the page of "kb_tab_switch" each shows and the owner
// its notifications route to (the options' names begin like their pages' controls).
struct KeyboardOption {
    const char* name;
    int page;
    Owner owner;
};
constexpr int kKeyboardKeyPage = 2;
constexpr std::array<KeyboardOption, 3> kKeyboardOptions{{
    {"kb_deng_Op_tab", 0, Owner::KeyboardLighting},
    {"kb_macro_Op_tab", 1, Owner::Macros},
    {"kb_key_Op_tab", kKeyboardKeyPage, Owner::KeyboardKeys},
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
    for (size_t i = 0; i < kKeyboardOptions.size(); ++i) {
        const KeyboardOption& option = kKeyboardOptions[i];
        keyboardOptions_[i].on(option.name, ui::event::kSelectChanged,
                               [this, page = option.page](const ui::Notification& n) { showKeyboardPage(n, page); });
        bind(context, option.owner, keyboardOptions_[i]);
    }

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

void KeyPagesFeature::showKeyboardPage(const ui::Notification& n, int page) {
    auto* option = qobject_cast<QAbstractButton*>(n.control.data());
    if (option && !option->isChecked()) return;  // the option that lost the selection
    if (!window_->finishSelectionChange(n.sender)) return;
    auto* pages = window_->control<QStackedWidget>(QStringLiteral("kb_tab_switch"));
    if (!pages || pages->currentIndex() == page) return;
    if (page == kKeyboardKeyPage) keyboard_->hideEditor();
    pages->setCurrentIndex(page);
}

}  // namespace orvane::app
