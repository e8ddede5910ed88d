// SPDX-License-Identifier: GPL-3.0-or-later
// SingleInstance: the first copy holds the lock and hears later copies.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QSysInfo>
#include <QTemporaryDir>

#include "platform/single_instance.h"

using orvane::platform::SingleInstance;

namespace {

void EnsureCoreApplication() {
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "orvane_unit_tests";
    static char* argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);  // lives for the whole test run
}

template <class Pred>
bool SpinUntil(Pred done, int timeoutMs = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

TEST(PlatformSingleInstance, SecondCopySignalsTheFirst) {
    EnsureCoreApplication();
    QTemporaryDir dir;
    SingleInstance first(dir.path());
    ASSERT_TRUE(first.acquire());
    int signalCount = 0;
    QObject::connect(&first, &SingleInstance::signalled, [&] { ++signalCount; });

    SingleInstance second(dir.path());
    EXPECT_FALSE(second.acquire());
    EXPECT_TRUE(second.signalRunning());
    EXPECT_TRUE(SpinUntil([&] { return signalCount == 1; }));

    // A stranger that sends something else is not a signal.
    QLocalSocket stranger;
    stranger.connectToServer(first.socketPath());
    ASSERT_TRUE(stranger.waitForConnected(2000));
    stranger.write("hello\n");
    stranger.waitForBytesWritten(2000);
    SpinUntil([] { return false; }, 200);
    EXPECT_EQ(signalCount, 1);
}

TEST(PlatformSingleInstance, LockIsFreeAgainAfterTheFirstEnds) {
    EnsureCoreApplication();
    QTemporaryDir dir;
    {
        SingleInstance first(dir.path());
        ASSERT_TRUE(first.acquire());
    }
    SingleInstance next(dir.path());
    EXPECT_TRUE(next.acquire());
    SingleInstance nobody(QTemporaryDir().path());
    EXPECT_FALSE(nobody.signalRunning(200));  // nothing listening: the caller exits anyway
}

TEST(PlatformSingleInstance, StaleLockOfACrashedCopyIsTakenOver) {
    EnsureCoreApplication();
    QTemporaryDir dir;
    SingleInstance probe(dir.path());
    // A lock file naming a process that no longer exists.
    QFile stale(probe.lockPath());
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("999999\norvane\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    stale.close();
    EXPECT_TRUE(probe.acquire());
}

}  // namespace
