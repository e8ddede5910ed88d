// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/pages/button_page.h"

#include "mouse/button_editor.h"
#include "ui/pages/key_apply_job.h"

namespace orvane::ui::pages {

using device::DeviceKind;
using functions::EditorResult;

namespace {

QString ZoneName(int button) { return QStringLiteral("ms_key_%1_0").arg(button); }
QString CalloutName(int button) { return QStringLiteral("ms_key_%1").arg(button); }

}  // namespace

MouseButtonPage::MouseButtonPage(ControlLookup lookup, runtime::Runtime& runtime, KeyPageEnv env)
    : controls_(std::move(lookup)),
      runtime_(runtime),
      view_(controls_, "ms_key", "ms_tab_function", functions::kMouseCategories, runtime, std::move(env),
            runtime::CaptureTarget::MouseKey),
      editor_(runtime.mouse, view_,
              {mouse::SelectButtonForEdit, mouse::ChooseButtonCategory, mouse::ApplyButtonFunction,
               mouse::CaptureButtonKey, mouse::RestoreButtonDefault}) {
    // A button is reached through its callout "ms_key_N" and its zone "ms_key_N_0" alike.
    const auto onButton = [this](const Notification& n, int button) {
        if (button < 0 || button >= int(mouse::kButtonCount)) return;
        if (n.type == event::MouseEnter) hover(button, true);
        else if (n.type == event::MouseLeave) hover(button, false);
        else show(editor_.showKey(size_t(button)));
    };
    constexpr uint16_t kButtonEvents = event::kClick | event::kMouseEnter | event::kMouseLeave;
    bindings_.onFamily("ms_key_", int(mouse::kButtonCount), kButtonEvents, onButton);
    for (int i = 0; i < int(mouse::kButtonCount); ++i)
        bindings_.on(ZoneName(i), kButtonEvents, [onButton, i](const Notification& n) { onButton(n, i); });
    view_.panel().bind(bindings_, [this](int item) { show(editor_.chooseCategory(item)); },
                       [this] { show(editor_.store()); });
    bindings_.on("ms_key_butt_keydefalut", event::kClick, [this](const Notification&) { show(editor_.restoreDefault()); });
    bindings_.on("ms_key_butt_keysave", event::kClick, [this](const Notification&) { show(editor_.store()); });
    bindings_.on("ms_key_butt_prosave", event::kClick, [this](const Notification&) { apply(); });
}

void MouseButtonPage::prepare() {
    hideEditor();
    reloadMacros();
    view_.setApplyPending(false);
}

void MouseButtonPage::refresh() {
    hideEditor();
    refreshLabels();
}

void MouseButtonPage::hideEditor() {
    view_.hideEditor();
    markSelected();
}

int MouseButtonPage::editedButton() const {
    return view_.panel().editorShown() && editor_.state.selected ? int(editor_.state.key) : -1;
}

void MouseButtonPage::markSelected() {
    const int edited = editedButton();
    for (int i = 0; i < int(mouse::kButtonCount); ++i) {
        SetLook(controls_.find(ZoneName(i)), "selected", i == edited);
        SetLook(controls_.find(CalloutName(i)), "selected", i == edited);
    }
}

void MouseButtonPage::reloadMacros() {
    editor_.macroNames = runtime_.macroStore.ListMacros(macros::MacroSet::Mouse);
    view_.panel().fillMacros(editor_.macroNames);
    refreshLabels();
}

void MouseButtonPage::refreshLabels() {
    const auto labels = runtime_.mouse.read([this](const mouse::MouseData& d) {
        return mouse::RefreshButtonLabels(d.block.pages[mouse::ActiveKeyPage(d)], editor_.macroNames);
    });
    const auto translate = [this](std::string_view id) {
        return view_.env().translate(QString::fromUtf8(id.data(), qsizetype(id.size()))).toStdString();
    };
    for (size_t i = 0; i < labels.size(); ++i) {
        if (!labels[i]) continue;
        const QString raw = QString::fromStdString(labels[i]->text);
        const QString text = QString::fromStdString(functions::ShownName(*labels[i], translate));
        const QString name = CalloutName(int(i));
        controls_.setText(name, text);
        if (QWidget* w = controls_.find(name)) {
            w->setToolTip(text);
            // A language switch re-applies a single text id by itself; a macro name stays as
            // it is and a key combination is composed again by this function.
            const bool single = labels[i]->isTextId && labels[i]->modifiers == 0;
            const QVariant id = single ? QVariant(raw) : QVariant();
            w->setProperty("textId", id);
            w->setProperty("tipId", id);
        }
    }
}

void MouseButtonPage::hover(int button, bool down) {
    SetLook(controls_.find(ZoneName(button)), "down", down);
    SetLook(controls_.find(CalloutName(button)), "down", down);
}

void MouseButtonPage::captured(const functions::CapturedInput& input) {
    if (const auto result = editor_.captured(input)) show(*result);
}

void MouseButtonPage::apply() {
    SubmitKeyPageApply(runtime_, DeviceKind::Mouse, view_, "notice_applied_mouse");
}

void MouseButtonPage::show(const EditorResult& result) {
    view_.show(result, editor_.state, [this] { refreshLabels(); });
    markSelected();
}

}  // namespace orvane::ui::pages
