// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mouse's button page: the mouse drawing with a zone "ms_key_" + i + "_0" over each of
// its six buttons and a callout per button whose "ms_key_" + i shows the button's function
// (a zone shows its pressed look while the pointer is over it or its callout; both select
// the button; the button being edited is marked on both), the function editor ("ms_tab_function" with "ms_key_fct_combo" and its panels),
// restore a button's factory function ("ms_key_butt_keydefalut"), store the editor
// ("ms_key_butt_keysave") and the apply ("ms_key_butt_prosave"). Editor changes go at once
// into the key page of the active slot; the buttons' texts and tooltips follow.

#include <string>
#include <vector>

#include "functions/captured_input.h"
#include "functions/function_editor.h"
#include "runtime/runtime.h"
#include "ui/pages/key_editor_steps.h"
#include "ui/pages/key_function_panel.h"
#include "ui/pages/page_bindings.h"
#include "ui/pages/page_controls.h"

namespace orvane::ui::pages {

class MouseButtonPage {
public:
    MouseButtonPage(ControlLookup lookup, runtime::Runtime& runtime, KeyPageEnv env);
    MouseButtonPage(const MouseButtonPage&) = delete;
    MouseButtonPage& operator=(const MouseButtonPage&) = delete;

    const PageBindings& bindings() const { return bindings_; }
    void prepare();
    /// The mouse shown anew (slot switch, re-read, key profile loaded): the labels of the
    /// active slot's page, the editor hidden.
    void refresh();
    void hideEditor();
    void reloadMacros();
    /// The macro set changed: the lists read it again, and Apply is offered (the device
    /// still holds the old set).
    void macroSetChanged() {
        reloadMacros();
        view_.setApplyPending(true);
    }
    /// The device and the model agree (it arrived, or a key profile was loaded and sent):
    /// nothing to apply.
    void deviceHoldsKeys() { view_.setApplyPending(false); }
    void refreshLabels();
    /// The button whose function the editor shows, -1 when the editor is hidden.
    int editedButton() const;

    void captured(const functions::CapturedInput& input);
    void captureEnded() { view_.captureEnded(); }
    bool capturing() const { return view_.capturing(); }
    const functions::EditorState& state() const { return editor_.state; }

private:
    void apply();
    void hover(int button, bool down);
    void show(const functions::EditorResult& result);
    void markSelected();

    PageControls controls_;
    runtime::Runtime& runtime_;
    KeyEditorView view_;
    KeyEditorSteps<mouse::MouseData> editor_;
    PageBindings bindings_;
};

}  // namespace orvane::ui::pages
