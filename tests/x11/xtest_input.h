// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Key and button events put into the X server through its XTEST extension, on a connection
// of their own: the server handles them as a real keyboard's and mouse's (auto-repeat,
// focus, pointer grabs) and hands them to the program like any input. Kept apart from the
// tests so that Xlib's macros stay out of Qt code.

#include <cstdint>

namespace x11test {

class XTestInput {
public:
    XTestInput();
    ~XTestInput();
    XTestInput(const XTestInput&) = delete;
    XTestInput& operator=(const XTestInput&) = delete;

    /// false when there is no X server or no XTEST extension.
    bool ready() const { return display_ != nullptr; }
    /// keycode: the X keycode (Linux key code + 8).
    void key(unsigned keycode, bool press);
    void moveTo(int x, int y);
    /// button: 1 left, 2 middle, 3 right.
    void button(unsigned button, bool press);

private:
    void* display_ = nullptr;
};

}  // namespace x11test
