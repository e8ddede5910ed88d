// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One key, mouse button, wheel turn or pointer move of the program's own windows, captured
// for an editor: the key pages' key capture and the macro recorder. The capture service
// (ui/input_capture.h) fills it from the toolkit's events, the runtime's inputCaptured event
// carries it, and a key is identified by its Linux key code (functions/linux_keys.h).

#include <cstdint>

namespace orvane::functions {

struct CapturedInput {
    enum class Kind : uint8_t { Key, MouseButton, Wheel, Move };
    enum class Button : uint8_t { None, Left, Right, Middle, Back, Forward };

    Kind kind = Kind::Key;
    int mode = 0;             ///< the capture mode that took it (ui::capture_mode)
    int message = 0;          ///< the message number the mode gives the event
    bool pressed = false;     ///< key or button down (false: up)
    bool autoRepeat = false;  ///< a key-down repeated while the key is held
    uint16_t linuxKey = 0;    ///< key identity: the Linux key code
    bool extended = false;    ///< Windows' extended-key flag (the keypad Enter among them)
    /// Modifier keys held down besides this key, as the modifier bits of a keyboard-key
    /// code (functions/function_code.h).
    uint8_t heldModifiers = 0;
    Button button = Button::None;
    int wheelDelta = 0;       ///< vertical wheel, 120 a notch, positive away from the user
    int wheelHorizontal = 0;  ///< horizontal wheel, 120 a notch, signed as the toolkit reports it
    int x = 0;                ///< global pointer position of mouse events
    int y = 0;
    int64_t timeMs = 0;       ///< monotonic clock, milliseconds
    /// The windowing system's own time stamp of the event, milliseconds (0: none). X11
    /// gives the release and the press of one auto-repeat step the same stamp.
    uint64_t eventTime = 0;
};

}  // namespace orvane::functions
