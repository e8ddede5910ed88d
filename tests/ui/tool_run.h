// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Running the built orvanectl from a test: its exit code and output, on a scratch data folder
// ($ORVANE_DATA_DIR) with extra environment variables (a configuration folder, a display, ...).

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace orvane::testing {

inline QString ToolPath() { return QCoreApplication::applicationDirPath() + "/../tools/orvanectl"; }

inline std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct ToolRun {
    int code = -1;  ///< -1 when it crashed or did not end within a minute
    QString out, err;
};

using Environment = std::vector<std::pair<QString, QString>>;

inline ToolRun RunTool(const QStringList& args, const Environment& environment) {
    QProcess p;
    auto env = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : environment) env.insert(name, value);
    p.setProcessEnvironment(env);
    p.start(ToolPath(), args);
    ToolRun r;
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

/// A test of orvanectl's commands on a scratch data folder; skipped when the tool is not built.
class ToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!QFileInfo::exists(ToolPath())) GTEST_SKIP() << "orvanectl is not built";
    }
    using Run = ToolRun;
    /// Runs orvanectl with the scratch data folder in ORVANE_DATA_DIR, the scratch
    /// configuration folder in XDG_CONFIG_HOME, and `more`.
    Run run(const QStringList& args, Environment more = {}) {
        more.emplace_back("ORVANE_DATA_DIR", QString::fromStdString(data.string()));
        more.emplace_back("XDG_CONFIG_HOME", QString::fromStdString(config.string()));
        return RunTool(args, more);
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

    std::filesystem::path file(const char* name) const {
        return std::filesystem::path(scratch.path().toStdString()) / name;
    }

    QTemporaryDir scratch;
    std::filesystem::path data = std::filesystem::path(scratch.path().toStdString()) / "KX";
    std::filesystem::path config = std::filesystem::path(scratch.path().toStdString()) / "config";
};

}  // namespace orvane::testing
