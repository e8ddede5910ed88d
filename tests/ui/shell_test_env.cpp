// SPDX-License-Identifier: GPL-3.0-or-later
// The environment of the window tests: a private HOME with its own XDG folders, so the
// tests never touch the user's files, and one QApplication for the whole run.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include <memory>

#include "shell_test_support.h"

namespace shelltest {

namespace {
QMutex gLogMutex;
QStringList* gLines = nullptr;
}  // namespace

LogCapture::LogCapture() {
    QMutexLocker lock(&gLogMutex);
    gLines = new QStringList;
    previous_ = qInstallMessageHandler(&LogCapture::handler);
    QLoggingCategory::setFilterRules("orvane.*.debug=true");  // debug texts are off by default
}

LogCapture::~LogCapture() {
    QLoggingCategory::setFilterRules(QString());
    qInstallMessageHandler(previous_);
    QMutexLocker lock(&gLogMutex);
    delete gLines;
    gLines = nullptr;
}

void LogCapture::handler(QtMsgType, const QMessageLogContext& context, const QString& message) {
    QMutexLocker lock(&gLogMutex);
    if (gLines) gLines->append(QString::fromLatin1(context.category ? context.category : "") + ": " + message);
}

QStringList LogCapture::lines() const {
    QMutexLocker lock(&gLogMutex);
    return gLines ? *gLines : QStringList();
}

bool LogCapture::contains(const QString& text) const {
    for (const auto& line : lines())
        if (line.contains(text)) return true;
    return false;
}

class ShellEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        home_ = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(home_->isValid());
        qputenv("HOME", home_->path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (home_->path() + "/.config").toUtf8());
        qputenv("XDG_DATA_HOME", (home_->path() + "/.local/share").toUtf8());
        qputenv("XDG_CACHE_HOME", (home_->path() + "/.cache").toUtf8());
        qputenv("XDG_RUNTIME_DIR", (home_->path() + "/run").toUtf8());
        QDir().mkpath(home_->path() + "/run");
        QFile::setPermissions(home_->path() + "/run", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "orvane_ui_tests";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
    }
    void TearDown() override {
        app_.reset();
        home_.reset();
    }

private:
    std::unique_ptr<QTemporaryDir> home_;
    std::unique_ptr<QApplication> app_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new ShellEnvironment);

}  // namespace shelltest
