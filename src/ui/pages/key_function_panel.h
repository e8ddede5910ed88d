// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The function editor both key pages share: the category combo ("kb_key_fct_combo" /
// "ms_key_fct_combo") with its panels ("kb_tab_function_" + item ...), the list combos and
// number edits of the panels ("_fct_combo_N", "_fct_edit_N"), the repeat-count panel
// ("_tab_function_26") and the read-only name of a captured key ("_fct_edit_21"). It reads
// the controls into the editor state and shows the state in them, always silently: showing
// a key's code never stores it.

#include <QString>

#include <functional>
#include <span>
#include <string>

#include "functions/function_editor.h"
#include "runtime/runtime.h"
#include "ui/pages/page_bindings.h"
#include "ui/pages/page_messages.h"
#include "ui/pages/page_controls.h"

namespace orvane::ui::pages {

/// Shows a finished text in the message box.
using ShowText = std::function<void(const QString& text)>;

/// What the key pages need from the window: translated texts and the message box.
struct KeyPageEnv {
    Translate translate;
    ShowText show;
};

class KeyFunctionPanel {
public:
    /// prefix: "kb_key" or "ms_key"; tabPrefix: "kb_tab_function" or "ms_tab_function".
    KeyFunctionPanel(const PageControls& controls, const char* prefix, const char* tabPrefix,
                     functions::Categories categories, Translate translate);

    /// Binds the category combo (onCategory with the item the user chose) and every list
    /// combo and edit of the panels (onChange after a clamped edit has been put right).
    void bind(PageBindings& bindings, std::function<void(int item)> onCategory, std::function<void()> onChange);

    /// The panels' controls as the user left them (the captured key stays the state's).
    void read(functions::EditorControls& c) const;
    void show(const functions::EditorControls& c) const;
    /// Selects the category item and shows its panel alone.
    void showCategory(int item) const;
    /// The repeat-count panel shows while the play mode is "repeat".
    void showRepeatPanel(int playMode) const;
    /// The editor frame ("kb_tab_function" / "ms_tab_function").
    void showEditor(bool shown) const;
    bool editorShown() const;
    /// The macro list: names as they are, in index order; the selection kept when it exists.
    void fillMacros(std::span<const std::string> names) const;
    int macroCount() const;
    /// Puts the keyboard focus on the captured key's name, so that a key pressed while
    /// capturing does not also work a list or a button.
    void focusCapturedKey() const;

    QString name(std::string_view suffix) const;

private:
    const PageControls& controls_;
    QString prefix_;
    QString tabPrefix_;
    functions::Categories categories_;
    Translate translate_;
};

/// Runs one editor step on a device model's data under its lock and returns what to show.
template <class Model, class Step>
functions::EditorResult RunEditorStep(Model& model, Step&& step) {
    functions::EditorResult result;
    model.update([&](auto& data) { result = step(data); });
    return result;
}

/// The editor as a page shows it: the panel, the key capture it asked for, the messages.
/// Both key pages show their editor steps through it.
class KeyEditorView {
public:
    KeyEditorView(const PageControls& controls, const char* prefix, const char* tabPrefix,
                  functions::Categories categories, runtime::Runtime& runtime, KeyPageEnv env,
                  runtime::CaptureTarget target);

    KeyFunctionPanel& panel() { return panel_; }
    const KeyFunctionPanel& panel() const { return panel_; }
    const KeyPageEnv& env() const { return env_; }
    /// Shows what an editor step returned: message, editor frame, category, controls, the
    /// capture started or ended; `labels` renders the labels after a stored code.
    void show(const functions::EditorResult& result, const functions::EditorState& state,
              const std::function<void()>& labels);
    /// The editor hidden and its capture ended.
    void hideEditor();
    void endCapture();
    /// Capture ended elsewhere (deactivation, page change, another editor).
    void captureEnded() { capturing_ = false; }
    bool capturing() const { return capturing_; }
    /// Apply ("<prefix>_butt_prosave") is offered only while the page holds something the
    /// device does not: a stored key or button, a changed macro set. A stored edit raises it;
    /// an apply that went out, a loaded key profile and an arrival (the device and the model
    /// agree) lower it.
    void setApplyPending(bool pending);
    bool applyPending() const { return applyPending_; }

private:
    const PageControls& controls_;
    QString applyButton_;
    bool applyPending_ = false;
    runtime::Runtime& runtime_;
    KeyPageEnv env_;
    runtime::CaptureTarget target_;
    KeyFunctionPanel panel_;
    bool capturing_ = false;
};

}  // namespace orvane::ui::pages
