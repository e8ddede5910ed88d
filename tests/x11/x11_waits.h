// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Waiting for the X server and the window manager in the X11 tests.

#include <QApplication>
#include <QElapsedTimer>

namespace x11test {

/// Generous: a loaded machine delivers slowly; nothing waits this long when all is well.
inline constexpr int kWaitMs = 20000;

/// Lets the program handle events for ms milliseconds.
inline void Pump(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 10);
}

}  // namespace x11test
