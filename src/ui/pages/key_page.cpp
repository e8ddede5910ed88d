// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/pages/key_page.h"

#include <QPushButton>

#include <algorithm>
#include <utility>

#include "keyboard/key_editor.h"

namespace orvane::ui::pages {

using device::DeviceKind;
using functions::EditorResult;

KeyboardKeyPage::KeyboardKeyPage(ControlLookup lookup, runtime::Runtime& runtime, KeyPageEnv env)
    : controls_(std::move(lookup)),
      runtime_(runtime),
      view_(controls_, "kb_key", "kb_tab_function", functions::kKeyboardCategories, runtime, std::move(env),
            runtime::CaptureTarget::KeyboardKey),
      editor_(runtime.keyboard, view_,
              {keyboard::ShowKey, keyboard::ChooseCategory, keyboard::StoreKey, keyboard::CaptureKey,
               keyboard::RestoreDefault}) {
    bindings_.onFamily("kb_key_", int(keyboard::kKeyPositionCount), event::kClick,
                       [this](const Notification&, int position) { show(editor_.showKey(size_t(position))); });
    view_.panel().bind(bindings_, [this](int item) { show(editor_.chooseCategory(item)); },
                       [this] { show(editor_.store()); });
    bindings_.on("kb_key_butt_keydefalut", event::kClick, [this](const Notification&) { show(editor_.restoreDefault()); });
    bindings_.on("kb_key_butt_prosave", event::kClick, [this](const Notification&) { apply(); });
}

void KeyboardKeyPage::prepare() {
    hideEditor();
    reloadMacros();
    view_.setApplyPending(false);
}

void KeyboardKeyPage::refresh() {
    hideEditor();
    renderLabels();
}

void KeyboardKeyPage::hideEditor() { view_.hideEditor(); }

void KeyboardKeyPage::reloadMacros() {
    editor_.macroNames = runtime_.macroStore.ListMacros(macros::MacroSet::Keyboard);
    view_.panel().fillMacros(editor_.macroNames);
    renderLabels();
}

void KeyboardKeyPage::renderLabels() {
    const auto [labels, states] = runtime_.keyboard.read([this](const keyboard::KeyboardData& d) {
        return std::pair{keyboard::RenderKeyLabels(d, editor_.macroNames), keyboard::PositionStates(d)};
    });
    const auto translate = [this](std::string_view id) {
        return view_.env().translate(QString::fromUtf8(id.data(), qsizetype(id.size()))).toStdString();
    };
    // A key the keyboard does not have cannot be clicked; a key back at its own code looks
    // normal and carries its own name, even when its code has no label of its own.
    for (size_t p = 0; p < states.size(); ++p) {
        QWidget* key = controls_.find(QStringLiteral("kb_key_%1").arg(p));
        if (!key) continue;
        key->setEnabled(states[p].present);
        if (!states[p].ownCode) continue;
        SetLook(key, "remapped", false);
        const QString name = ownName(key);
        if (name.isEmpty()) continue;
        key->setProperty("tipId", name);
        key->setToolTip(view_.env().translate(name));
    }
    for (auto label : labels) {
        QWidget* key = controls_.find(QStringLiteral("kb_key_%1").arg(label.position));
        if (!key) continue;
        if (label.ownTextId.empty()) label.ownTextId = ownName(key).toStdString();
        key->setToolTip(QString::fromStdString(keyboard::KeyTooltip(label, translate)));
        // A key's own name follows a language switch by itself; a remapped key's tooltip is
        // composed and rendered again on the language setting.
        key->setProperty("tipId", label.remapped ? QVariant() : QVariant(QString::fromStdString(label.ownTextId)));
        SetLook(key, "remapped", label.remapped);
    }
    showRegionalStrip();
}

QString KeyboardKeyPage::ownName(const QWidget* key) {
    // The skin names a key the key list has no entry for (the ISO key) in "nameId".
    return key->property("nameId").toString();
}

void KeyboardKeyPage::showRegionalStrip() {
    QWidget* strip = controls_.find(QStringLiteral("kb_key_regional"));
    if (!strip) return;
    const auto keys = strip->findChildren<QPushButton*>();
    strip->setVisible(std::any_of(keys.begin(), keys.end(), [strip](const QPushButton* k) { return k->isEnabledTo(strip); }));
}

void KeyboardKeyPage::captured(const functions::CapturedInput& input) {
    if (const auto result = editor_.captured(input)) show(*result);
}

void KeyboardKeyPage::apply() {
    SubmitKeyPageApply(runtime_, DeviceKind::Keyboard, view_, "notice_applied_keyboard");
}

void KeyboardKeyPage::show(const EditorResult& result) {
    view_.show(result, editor_.state, [this] { renderLabels(); });
}

}  // namespace orvane::ui::pages
