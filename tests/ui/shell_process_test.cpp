// SPDX-License-Identifier: GPL-3.0-or-later
// The orvane executable itself: command line, no display, and a second start.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "app/screenshot_pages.h"
#include "shell_test_support.h"

namespace {

QString Program() { return QCoreApplication::applicationDirPath() + "/../src/app/orvane"; }

class OrvaneProcess : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QFileInfo::exists(Program())) GTEST_SKIP() << "orvane is not built";
        env.insert("HOME", home.path());
        env.insert("XDG_CONFIG_HOME", home.path() + "/.config");
        env.insert("XDG_RUNTIME_DIR", home.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
    }
    int run(const QStringList& args, const QProcessEnvironment& environment, QByteArray* err = nullptr) {
        QProcess p;
        p.setProcessEnvironment(environment);
        p.start(Program(), args);
        if (!p.waitForFinished(60000)) {
            p.kill();
            p.waitForFinished();
            return -1;
        }
        if (err) *err = p.readAllStandardError();
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

    QTemporaryDir home;
    QProcessEnvironment env = [] {
        auto e = QProcessEnvironment::systemEnvironment();
        e.insert("QT_LOGGING_RULES", "orvane.*.debug=true");  // the checks read the debug texts
        return e;
    }();
};

TEST_F(OrvaneProcess, CommandLineAndDisplay) {
    QByteArray err;
    EXPECT_EQ(run({"--bogus"}, env, &err), 2);
    EXPECT_TRUE(err.contains("usage: orvane"));
    EXPECT_EQ(run({"--screenshot"}, env), 2);

    auto noDisplay = env;
    noDisplay.remove("QT_QPA_PLATFORM");
    EXPECT_EQ(run({}, noDisplay, &err), 1);
    EXPECT_EQ(err.count('\n'), 1);  // one line, no abort
    EXPECT_TRUE(err.contains("display"));

    const QString shot = home.path() + "/shot.png";
    EXPECT_EQ(run({"--simulate", "--screenshot", shot}, env), 0);
    EXPECT_FALSE(QImage(shot).isNull());
    EXPECT_EQ(QImage(shot).size(), orvane::app::kFirstWindowSize);  // whatever the screen
}

TEST_F(OrvaneProcess, SecondStartSignalsTheFirstAndExits) {
    QProcess first;
    first.setProcessEnvironment(env);
    first.start(Program(), {"--simulate"});
    ASSERT_TRUE(first.waitForStarted());
    // The first copy is ready once its socket is there.
    ASSERT_TRUE(shelltest::WaitUntil([&] { return QFileInfo::exists(home.path() + "/ECORVADA_001"); }, 30000));
    EXPECT_EQ(run({"--simulate"}, env), 0);
    // No device: the first copy shows "message_text_1"; it logs the signal either way.
    QByteArray log;
    EXPECT_TRUE(shelltest::WaitUntil([&] {
        log += first.readAllStandardError();
        return log.contains("软件标示");
    }, 30000));
    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished();
}

}  // namespace
