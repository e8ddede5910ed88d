#pragma once
// Runs the built orvanectl as a separate process on a scratch data folder
// (ORVANE_DATA_DIR), for the tests of its commands.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <string>

namespace orvane::testing {

inline QString ToolPath() { return QCoreApplication::applicationDirPath() + "/../tools/orvanectl"; }

inline std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QFileInfo::exists(ToolPath())) GTEST_SKIP() << "orvanectl is not built";
    }
    struct Run {
        int code = -1;
        QString out, err;
    };
    /// Runs orvanectl with the scratch data folder in ORVANE_DATA_DIR.
    Run run(const QStringList& args) {
        QProcess p;
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert("ORVANE_DATA_DIR", QString::fromStdString(data.string()));
        p.setProcessEnvironment(env);
        p.start(ToolPath(), args);
        Run r;
        if (!p.waitForFinished(60000)) {
            p.kill();
            p.waitForFinished();
            return r;
        }
        r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }
    /// A command that fails: its exit code, and what it says (a failure, code 1, in exactly
    /// one line on stderr).
    struct Failure {
        QStringList args;
        int code;
        const char* says;
    };
    void expectFailure(const Failure& f) {
        SCOPED_TRACE(f.args.join(' ').toStdString());
        const Run r = run(f.args);
        EXPECT_EQ(r.code, f.code);
        if (f.code == 1) {
            EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
            EXPECT_TRUE(r.err.contains(f.says)) << r.err.toStdString();
        } else {
            EXPECT_TRUE((r.err + r.out).contains(f.says)) << r.err.toStdString();
        }
    }

    std::filesystem::path file(const char* name) const { return std::filesystem::path(scratch.path().toStdString()) / name; }

    QTemporaryDir scratch;
    std::filesystem::path data = std::filesystem::path(scratch.path().toStdString()) / "KX";
};

}  // namespace orvane::testing
