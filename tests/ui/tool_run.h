#pragma once
// Running the built orvanectl from a test: its exit code and output, with extra environment
// variables (the scratch data folder, a display, ...).

#include <QCoreApplication>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace orvane::testing {

inline QString ToolPath() { return QCoreApplication::applicationDirPath() + "/../tools/orvanectl"; }

struct ToolRun {
    int code = -1;  ///< -1 when it crashed or did not end within a minute
    QString out, err;
};

inline ToolRun RunTool(const QStringList& args, const std::vector<std::pair<QString, QString>>& environment) {
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

}  // namespace orvane::testing
