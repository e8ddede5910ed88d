// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared pieces of the window tests: the fixture skin, a captured log, and waiting for the
// event loop. The test environment (shell_test_env.cpp) points HOME and the XDG folders at
// a temporary folder and creates the QApplication.

#include <QApplication>
#include <QElapsedTimer>
#include <QMutex>
#include <QString>
#include <QStringList>

namespace shelltest {

inline QString FixtureSkin() { return QStringLiteral(ORVANE_FIXTURES_DIR "/ui"); }
inline QString SourceSkin() { return QStringLiteral(ORVANE_SOURCE_DIR "/skin"); }

/// Collects every log line while alive.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    QStringList lines() const;
    bool contains(const QString& text) const;

private:
    static void handler(QtMsgType, const QMessageLogContext&, const QString&);
    QtMessageHandler previous_;
};

template <class Pred>
bool WaitUntil(Pred done, int timeoutMs = 10000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs) QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

}  // namespace shelltest
