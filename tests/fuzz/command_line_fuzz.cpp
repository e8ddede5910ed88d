// SPDX-License-Identifier: GPL-3.0-or-later
// Both programs' command lines: the input is the arguments, separated by NUL bytes. The
// program's parser and orvanectl's (with the profile commands' --data-dir) never crash, and
// an accepted line names a command that is there.

#include <QStringList>

#include "app/command_line.h"
#include "fuzz_check.h"
#include "tools/tool_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> args;
    std::string current;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            args.push_back(std::move(current));
            current.clear();
        } else {
            current += char(data[i]);
        }
    }
    args.push_back(current);

    const auto tool = orvane::cli::ParseToolLine(args);
    FUZZ_CHECK(tool.command <= args.size());
    if (tool.error.empty() && !tool.help && !tool.version) FUZZ_CHECK(tool.command < args.size());
    if (tool.simulate && tool.error.empty()) FUZZ_CHECK(!tool.simulate->empty());
    if (tool.trace && tool.error.empty()) FUZZ_CHECK(!tool.trace->empty());
    const auto dataDir = orvane::cli::ParseDataDir(args);
    if (dataDir.error.empty() && dataDir.folder) FUZZ_CHECK(!dataDir.folder->empty());

    QStringList qargs;
    for (const auto& a : args) qargs << QString::fromUtf8(a.data(), qsizetype(a.size()));
    const auto line = orvane::app::ParseCommandLine(qargs);
    if (line.error.isEmpty() && line.simulate) FUZZ_CHECK(!line.simulate->isEmpty());
    (void)orvane::app::HasDisplay(line);
    return 0;
}
