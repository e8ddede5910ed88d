// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one QApplication of the benchmarks that draw widgets (offscreen unless a platform is
// set), made before their first widget.

#include <QApplication>

namespace orvane::bench {

inline QApplication& Application() {
    static int argc = 1;
    static char name[] = "orvane_bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

}  // namespace orvane::bench
