#pragma once
// Running the built orvanectl on a scratch data folder ($ORVANE_DATA_DIR), for the tests of
// its commands.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <string>

namespace tooltest {

inline QString Tool() { return QCoreApplication::applicationDirPath() + "/../tools/orvanectl"; }

inline std::string Bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QFileInfo::exists(Tool())) GTEST_SKIP() << "orvanectl is not built";
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
        p.start(Tool(), args);
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
    std::filesystem::path file(const char* name) const { return std::filesystem::path(scratch.path().toStdString()) / name; }

    QTemporaryDir scratch;
    std::filesystem::path data = std::filesystem::path(scratch.path().toStdString()) / "KX";
};

}  // namespace tooltest
