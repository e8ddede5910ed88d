// SPDX-License-Identifier: GPL-3.0-or-later
// orvane --simulate --share as a process of its own, streaming its lighting effect, and
// orvanectl --simulate-shared reading the same emulated keyboard from another process again
// and again: every answer is the keyboard's own.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "shell_test_support.h"

namespace {

QString SharedProgram() { return QCoreApplication::applicationDirPath() + "/../src/app/orvane"; }
QString SharedTool() { return QCoreApplication::applicationDirPath() + "/../tools/orvanectl"; }

TEST(SharedEmulatorProgram, OrvanectlReadsTheProgramsKeyboardRightWhileItStreams) {
    if (!QFileInfo::exists(SharedProgram()) || !QFileInfo::exists(SharedTool()))
        GTEST_SKIP() << "orvane or orvanectl is not built";
    // A short folder: the socket's path must fit a sockaddr_un.
    QTemporaryDir home(QStringLiteral("/tmp/osp-XXXXXX"));
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home.path());
    env.insert("XDG_CONFIG_HOME", home.path() + "/.config");
    env.insert("XDG_RUNTIME_DIR", home.path());
    env.insert("ORVANE_DATA_DIR", home.path() + "/data");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    auto tool = [&](const QStringList& args, int* code = nullptr) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(SharedTool(), args);
        if (!p.waitForFinished(60000)) p.kill();
        p.waitForFinished();
        if (code) *code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        return p.readAllStandardOutput() + p.readAllStandardError();
    };
    int code = 0;
    const QByteArray expected = tool({"--simulate=kb", "info", "kb"}, &code);  // a private emulator's keyboard
    ASSERT_EQ(code, 0) << expected.toStdString();
    EXPECT_NE(tool({"--simulate-shared", "info", "kb"}, &code), expected);  // no emulator shared yet
    EXPECT_EQ(code, 1);

    {
        QProcess refused;
        refused.setProcessEnvironment(env);
        refused.start(SharedProgram(), {"--share"});
        ASSERT_TRUE(refused.waitForFinished(30000));
        EXPECT_EQ(refused.exitCode(), 2);
    }
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(SharedProgram(), {"--simulate=kb", "--share"});
    ASSERT_TRUE(program.waitForStarted());
    const QString socket = home.path() + "/orvane/simulator.sock";
    ASSERT_TRUE(shelltest::WaitUntil([&] { return QFileInfo::exists(socket); }, 30000));
    EXPECT_EQ(QFileInfo(socket).permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
              QFile::Permissions());
    // The program has the keyboard, read back and streaming its effect, before the runs.
    ASSERT_TRUE(shelltest::WaitUntil([&] { return QFileInfo::exists(home.path() + "/orvane/sim-kb-0.lock"); }, 30000));
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(tool({"--simulate-shared", "info", "kb"}, &code), expected) << "run " << i;
        EXPECT_EQ(code, 0);
    }
    EXPECT_EQ(program.state(), QProcess::Running);
    program.kill();  // gone at once: its socket file stays, nobody answers on it
    program.waitForFinished();
    tool({"--simulate-shared", "info", "kb"}, &code);
    EXPECT_EQ(code, 1);
}

}  // namespace
