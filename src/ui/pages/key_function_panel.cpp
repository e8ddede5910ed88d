// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/pages/key_function_panel.h"

#include <QComboBox>
#include <QLineEdit>

#include "functions/capture_keys.h"
#include "functions/linux_keys.h"
#include "ui/key_layout.h"

namespace orvane::ui::pages {

using functions::EditorControls;
using functions::kEditorCombos;
using functions::kEditorEdits;

namespace {
constexpr std::string_view kRepeatPanelSuffix = "_26";
constexpr std::string_view kPlayModeSuffix = "_fct_combo_24";
constexpr std::string_view kMacroSuffix = "_fct_combo_23";
constexpr std::string_view kCategorySuffix = "_fct_combo";
constexpr std::string_view kCursorSuffix = "_fct_combo_25";

QString Str(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }
}  // namespace

KeyFunctionPanel::KeyFunctionPanel(const PageControls& controls, const char* prefix, const char* tabPrefix,
                                   functions::Categories categories, Translate translate)
    : controls_(controls),
      prefix_(QLatin1String(prefix)),
      tabPrefix_(QLatin1String(tabPrefix)),
      categories_(categories),
      translate_(std::move(translate)) {}

QString KeyFunctionPanel::name(std::string_view suffix) const { return prefix_ + Str(suffix); }

void KeyFunctionPanel::bind(PageBindings& bindings, std::function<void(int)> onCategory,
                            std::function<void()> onChange) {
    bindings.on(name(kCategorySuffix), event::kItemSelect, [this, onCategory](const Notification&) {
        onCategory(controls_.comboIndex(name(kCategorySuffix)));
    });
    for (const auto& row : kEditorCombos) {
        if (row.suffix == kCursorSuffix && !functions::ItemOfCategory(categories_, functions::Category::CursorSequence))
            continue;  // the keyboard has no cursor sequences
        const bool playMode = row.suffix == kPlayModeSuffix;
        bindings.on(name(row.suffix), event::kItemSelect, [this, onChange, playMode](const Notification&) {
            if (playMode) showRepeatPanel(controls_.comboIndex(name(kPlayModeSuffix)));
            onChange();
        });
    }
    for (const auto& row : kEditorEdits) {
        bindings.on(name(row.suffix), event::kTextChanged, [this, onChange, row](const Notification&) {
            const auto value = functions::ReadEdit(controls_.text(name(row.suffix)).toStdString(), row.limit);
            if (value.replacement) controls_.setText(name(row.suffix), QString::fromStdString(*value.replacement));
            onChange();
        });
    }
}

void KeyFunctionPanel::read(EditorControls& c) const {
    for (const auto& row : kEditorCombos) c.*row.field = controls_.comboIndex(name(row.suffix));
    for (const auto& row : kEditorEdits)
        c.*row.field = functions::ReadEdit(controls_.text(name(row.suffix)).toStdString(), row.limit).value;
}

void KeyFunctionPanel::show(const EditorControls& c) const {
    for (const auto& row : kEditorCombos) controls_.setComboIndex(name(row.suffix), c.*row.field);
    for (const auto& row : kEditorEdits) controls_.setText(name(row.suffix), QString::number(c.*row.field));
    QString key = c.capturedKey.empty() ? QString() : translate_(QString::fromStdString(c.capturedKey));
    // A character key is named by what its cap shows under the user's layout.
    if (const auto usage = functions::CharacterKeyUsage(c.capturedKey)) {
        const QString cap = KeyCapOfLinuxKey(functions::LinuxKeyOfUsage({functions::HidUsage::Page::Keyboard, *usage}));
        if (!cap.isEmpty()) key = cap;
    }
    // Modifiers held with the key come first: "Left Ctrl+Left Shift+F".
    QString held;
    for (const auto modifier : functions::ModifierNames(c.capturedModifiers))
        held += translate_(QString::fromUtf8(modifier.data(), qsizetype(modifier.size()))) + QLatin1Char('+');
    controls_.setText(name(functions::kCapturedKeySuffix), key.isEmpty() ? key : held + key);
    showRepeatPanel(c.playMode);
}

void KeyFunctionPanel::showCategory(int item) const {
    controls_.setComboIndex(name(kCategorySuffix), item);
    for (size_t k = 0; k < categories_.size(); ++k)
        controls_.setVisible(tabPrefix_ + QLatin1Char('_') + QString::number(k), int(k) == item);
}

void KeyFunctionPanel::showRepeatPanel(int playMode) const {
    controls_.setVisible(tabPrefix_ + Str(kRepeatPanelSuffix), playMode == functions::kRepeatPlayMode);
}

void KeyFunctionPanel::showEditor(bool shown) const {
    controls_.setVisible(tabPrefix_, shown);
    controls_.setEnabled(tabPrefix_, shown);
}

bool KeyFunctionPanel::editorShown() const {
    QWidget* w = controls_.find(tabPrefix_);
    return w && !w->isHidden() && w->isEnabled();
}

void KeyFunctionPanel::fillMacros(std::span<const std::string> names) const {
    auto* combo = controls_.find<QComboBox>(name(kMacroSuffix));
    if (!combo) return;
    const int selected = combo->currentIndex();
    const QSignalBlocker quiet(combo);
    combo->clear();
    for (const auto& n : names) combo->addItem(QString::fromStdString(n));
    combo->setCurrentIndex(selected < combo->count() ? selected : -1);
}

int KeyFunctionPanel::macroCount() const {
    auto* combo = controls_.find<QComboBox>(name(kMacroSuffix));
    return combo ? combo->count() : 0;
}

void KeyFunctionPanel::focusCapturedKey() const {
    if (auto* edit = controls_.find<QLineEdit>(name(functions::kCapturedKeySuffix))) edit->setFocus(Qt::OtherFocusReason);
}

KeyEditorView::KeyEditorView(const PageControls& controls, const char* prefix, const char* tabPrefix,
                             functions::Categories categories, runtime::Runtime& runtime, KeyPageEnv env,
                             runtime::CaptureTarget target)
    : controls_(controls),
      applyButton_(QLatin1String(prefix) + QLatin1String("_butt_prosave")),
      runtime_(runtime),
      env_(std::move(env)),
      target_(target),
      panel_(controls, prefix, tabPrefix, categories, env_.translate) {}

void KeyEditorView::setApplyPending(bool pending) {
    applyPending_ = pending;
    controls_.setEnabled(applyButton_, pending);
}

void KeyEditorView::show(const functions::EditorResult& result, const functions::EditorState& state,
                         const std::function<void()>& labels) {
    if (!result.message.empty() && env_.show)
        env_.show(env_.translate(QString::fromUtf8(result.message.data(), qsizetype(result.message.size()))));
    if (result.hidePanel) panel_.showEditor(false);
    if (result.showPanel && !panel_.editorShown()) panel_.showEditor(true);
    if (result.categoryItem) panel_.showCategory(*result.categoryItem);
    if (result.controlsChanged) panel_.show(state.controls);
    if (result.stored) setApplyPending(true);
    if (result.stored && labels) labels();
    if (result.capture == functions::Capture::Start) {
        runtime_.events.captureRequested.emit(target_, true, false);
        capturing_ = true;
        panel_.focusCapturedKey();
    } else if (result.capture == functions::Capture::Stop || result.hidePanel) {
        endCapture();
    }
}

void KeyEditorView::hideEditor() {
    panel_.showEditor(false);
    endCapture();
}

void KeyEditorView::endCapture() {
    if (!capturing_) return;
    capturing_ = false;
    runtime_.events.captureEnds.emit();
}

}  // namespace orvane::ui::pages
