// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Waiting for a real X server: the generous bound the X11 tests wait for what the server
// delivers, and a pause that keeps the event loop turning.

#include <QApplication>
#include <QElapsedTimer>

namespace x11test {

/// A loaded machine delivers slowly; nothing waits this long when all is well.
inline constexpr int kWaitMs = 20000;

inline void Pump(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 10);
}

}  // namespace x11test
