// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The editor steps both key pages run: one device's core steps (keyboard keys or mouse
// buttons) in a table, the editor state and the device's macro names they work with, each
// step run on the device's model under its lock.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "device/guarded_data.h"
#include "functions/captured_input.h"
#include "functions/function_editor.h"
#include "ui/pages/key_function_panel.h"

namespace orvane::ui::pages {

/// One device's editor steps as its core gives them.
template <class Data>
struct EditorSteps {
    functions::EditorResult (*show)(const Data&, functions::EditorState&, size_t key, int macroCount);
    functions::EditorResult (*choose)(Data&, functions::EditorState&, int item, int macroCount);
    functions::EditorResult (*store)(Data&, functions::EditorState&, int macroCount);
    functions::EditorResult (*capture)(Data&, functions::EditorState&, uint16_t linuxKey, int macroCount,
                                       uint8_t heldModifiers);
    functions::EditorResult (*restore)(Data&, functions::EditorState&, int macroCount);
};

template <class Data>
class KeyEditorSteps {
public:
    KeyEditorSteps(device::GuardedData<Data>& model, KeyEditorView& view, EditorSteps<Data> steps)
        : model_(model), view_(view), steps_(steps) {}

    functions::EditorResult showKey(size_t key) {
        return run([&](Data& d) { return steps_.show(d, state, key, macros()); });
    }
    /// The steps that read the editor's controls first.
    functions::EditorResult chooseCategory(int item) {
        view_.panel().read(state.controls);
        return run([&](Data& d) { return steps_.choose(d, state, item, macros()); });
    }
    functions::EditorResult store() {
        view_.panel().read(state.controls);
        return run([&](Data& d) { return steps_.store(d, state, macros()); });
    }
    functions::EditorResult restoreDefault() {
        return run([&](Data& d) { return steps_.restore(d, state, macros()); });
    }
    /// A key pressed while the editor waits for one; nothing for other input. Releases
    /// change nothing, so that letting go of Ctrl after Ctrl+F keeps Ctrl+F.
    std::optional<functions::EditorResult> captured(const functions::CapturedInput& input) {
        if (!view_.capturing() || input.kind != functions::CapturedInput::Kind::Key || !input.pressed)
            return std::nullopt;
        return run([&](Data& d) { return steps_.capture(d, state, input.linuxKey, macros(), input.heldModifiers); });
    }

    functions::EditorState state;
    /// The device's macros in index order (the macro panel's list).
    std::vector<std::string> macroNames;

private:
    int macros() const { return int(macroNames.size()); }
    template <class Step>
    functions::EditorResult run(Step&& step) {
        return RunEditorStep(model_, std::forward<Step>(step));
    }

    device::GuardedData<Data>& model_;
    KeyEditorView& view_;
    EditorSteps<Data> steps_;
};

}  // namespace orvane::ui::pages
