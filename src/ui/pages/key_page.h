// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keyboard's key page: one control per key position ("kb_key_" + position) on the
// keyboard picture, the function editor ("kb_tab_function" with "kb_key_fct_combo" and its
// panels), restore a key's own function ("kb_key_butt_keydefalut") and the apply
// ("kb_key_butt_prosave"). Every editor change goes at once into the active bank and the
// key tooltips are rendered anew; a remapped key shows the alternative look (dynamic
// property "remapped"). The keyboard-key category captures the next key pressed. The keys
// the drawn board lacks (the regional keys) sit on a strip under the picture; a key the
// connected keyboard does not have is disabled, and the strip hides when it has none of them.

#include <functional>
#include <string>
#include <vector>

#include "functions/captured_input.h"
#include "functions/function_editor.h"
#include "runtime/runtime.h"
#include "ui/pages/key_apply_job.h"
#include "ui/pages/key_editor_steps.h"
#include "ui/pages/key_function_panel.h"
#include "ui/pages/page_bindings.h"
#include "ui/pages/page_controls.h"

namespace orvane::ui::pages {

class KeyboardKeyPage {
public:
    KeyboardKeyPage(ControlLookup lookup, runtime::Runtime& runtime, KeyPageEnv env);
    KeyboardKeyPage(const KeyboardKeyPage&) = delete;
    KeyboardKeyPage& operator=(const KeyboardKeyPage&) = delete;

    const PageBindings& bindings() const { return bindings_; }
    /// Once the skin is loaded: the editor hidden, the macro list read.
    void prepare();
    /// The keyboard's keys shown anew (a re-read, a profile load): the tooltips rendered,
    /// the editor hidden.
    void refresh();
    void hideEditor();
    /// The keyboard's macro set changed.
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
    void renderLabels();

    /// Input captured for this page.
    void captured(const functions::CapturedInput& input);
    /// Capture ended (deactivation, page change, another editor).
    void captureEnded() { view_.captureEnded(); }
    bool capturing() const { return view_.capturing(); }
    const functions::EditorState& state() const { return editor_.state; }

private:
    void apply();
    void show(const functions::EditorResult& result);
    static QString ownName(const QWidget* key);
    /// The strip of regional keys shows while the keyboard has one of them.
    void showRegionalStrip();

    PageControls controls_;
    runtime::Runtime& runtime_;
    KeyEditorView view_;
    KeyEditorSteps<keyboard::KeyboardData> editor_;
    PageBindings bindings_;
};

}  // namespace orvane::ui::pages
