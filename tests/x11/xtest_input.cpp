// SPDX-License-Identifier: GPL-3.0-or-later
#include "xtest_input.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace x11test {

namespace {
Display* AsDisplay(void* d) { return static_cast<Display*>(d); }
}  // namespace

XTestInput::XTestInput() {
    Display* d = XOpenDisplay(nullptr);
    int event = 0, error = 0, major = 0, minor = 0;
    if (d && !XTestQueryExtension(d, &event, &error, &major, &minor)) {
        XCloseDisplay(d);
        d = nullptr;
    }
    display_ = d;
}

XTestInput::~XTestInput() {
    if (display_) XCloseDisplay(AsDisplay(display_));
}

void XTestInput::key(unsigned keycode, bool press) {
    XTestFakeKeyEvent(AsDisplay(display_), keycode, press ? True : False, CurrentTime);
    XSync(AsDisplay(display_), False);
}

void XTestInput::moveTo(int x, int y) {
    XTestFakeMotionEvent(AsDisplay(display_), -1, x, y, CurrentTime);
    XSync(AsDisplay(display_), False);
}

void XTestInput::button(unsigned button, bool press) {
    XTestFakeButtonEvent(AsDisplay(display_), button, press ? True : False, CurrentTime);
    XSync(AsDisplay(display_), False);
}

}  // namespace x11test
