#pragma once
// Work that the device pages, input capture, settings and appearance plug into the shell.
// An empty hook is skipped.

#include <QPoint>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <vector>

namespace orvane::app {

/// A key or mouse event captured for an editor, in neutral terms.
struct CapturedInput {
    int kind = 0;         ///< key down, key up, button down ... (input capture defines them)
    uint32_t code = 0;    ///< key code or button
    uint32_t flags = 0;
    QPoint position;
};

struct ShellHooks {
    /// "windowinit": fill the device pages' profile and macro lists.
    std::vector<std::function<void()>> pageInit;
    /// Timer 2: push the changed mouse / mousepad settings records.
    std::function<void()> flushMouse;
    std::function<void()> flushPad;
    /// Deactivation and page changes end any input capture and recording.
    std::function<void()> removeInputHooks;
    std::function<void(QWidget* anchor)> openSkinWindow;
    std::function<void()> openSettingsWindow;
    std::function<void()> closeSettingsWindow;
    /// Re-reads requested by the notification listeners and the mousepad reset (each also
    /// refreshes its page).
    std::function<void()> readBackMouse;
    std::function<void()> reloadMouseSlotZero;
    std::function<void()> readBackPad;
    /// Captured input for key assignment and the macro editors.
    std::function<void(const CapturedInput&)> keyboardKeyCaptured;
    std::function<void(const CapturedInput&)> keyboardMacroKey;
    std::function<void(const CapturedInput&)> keyboardMacroMouse;
    std::function<void(const CapturedInput&)> mouseKeyCaptured;
    std::function<void(const CapturedInput&)> mouseMacroKey;
    std::function<void(const CapturedInput&)> mouseMacroMouse;
};

}  // namespace orvane::app
