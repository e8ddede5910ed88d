// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// InputCapture: the keys, mouse buttons, wheel turns and pointer moves of the program's own
// windows, for the key capture of the key pages and for macro recording. One recording or
// capture is active at a time; installing another replaces it. Capture ends when the main
// window loses activation and on a device-tab change (the program removes it then), so the
// program's own input is all it needs: it is an application-wide event filter, the same on
// X11 and Wayland. It never swallows an event: the windows behave as without it.
//
// Each native input event is reported once, when the windowing system hands it to a
// window; its passage from widget to widget is not reported again. Runs on the GUI thread.

#include <QObject>

#include <cstdint>
#include <functional>

#include "functions/captured_input.h"

namespace orvane::ui {

/// Who listens.
namespace capture_mode {
inline constexpr int kKeyboardKey = 1;     ///< keyboard page: the key a key is to send
inline constexpr int kKeyboardMacro = 4;   ///< keyboard page: macro recording
inline constexpr int kMouseKey = 16;       ///< mouse page: the key a button is to send
inline constexpr int kMouseMacro = 64;     ///< mouse page: macro recording
}  // namespace capture_mode

/// The message number an event stands for in each mode: keys 2049, 2051, 2064, 2066; mouse
/// events 2052 and 2067 while recording (0: the mode takes no such events).
int KeyMessageOf(int mode);
int MouseMessageOf(int mode);

/// The Linux key code of a key event's native scan code (X11 and xkb keycodes are the Linux
/// code + 8); 0 when there is none.
uint16_t LinuxKeyOfScanCode(uint32_t nativeScanCode);

using functions::CapturedInput;

class InputCapture : public QObject {
public:
    using Sink = std::function<void(const CapturedInput&)>;

    /// `sink` receives every captured event, synchronously, while the event is delivered.
    explicit InputCapture(Sink sink, QObject* parent = nullptr);
    ~InputCapture() override;

    /// Replaces any capture with one for `mode` (1, 4, 16 or 64). false for another mode,
    /// which installs nothing.
    bool install(int mode, bool wantKeyboard, bool wantMouse);
    void removeAll();

    int mode() const { return mode_; }
    bool capturesKeys() const { return keys_; }
    bool capturesMouse() const { return mouse_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void deliver(CapturedInput input);
    /// Follows the modifier keys going down and up; returns those held besides `linuxKey`.
    uint8_t trackModifiers(uint16_t linuxKey, bool pressed, Qt::KeyboardModifiers reported);

    Sink sink_;
    int mode_ = 0;
    bool keys_ = false;
    bool mouse_ = false;
    bool filtering_ = false;
    uint8_t heldModifiers_ = 0;  ///< modifier bits of the modifier keys down
};

}  // namespace orvane::ui
