// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/tool_line.h"

namespace orvane::cli {

namespace {

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

}  // namespace

ToolLine ParseToolLine(const std::vector<std::string>& args) {
    ToolLine line;
    size_t i = 0;
    for (; i < args.size() && line.error.empty(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--simulate") {
            line.simulate = kDefaultSimulation;
        } else if (StartsWith(arg, "--simulate=")) {
            line.simulate = arg.substr(11);
            if (line.simulate->empty()) line.error = "--simulate= needs a device list";
        } else if (arg == "--simulate-shared") {
            line.simulateShared = true;
        } else if (arg == "--trace") {
            if (i + 1 >= args.size() || args[i + 1].empty() || StartsWith(args[i + 1], "--"))
                line.error = "--trace needs a file";
            else line.trace = args[++i];
        } else if (StartsWith(arg, "--trace=")) {
            line.trace = arg.substr(8);
            if (line.trace->empty()) line.error = "--trace= needs a file";
        } else if (arg == "--direct") {
            line.direct = true;
        } else if (arg == "-h" || arg == "--help") {
            line.help = true;
        } else if (arg == "--version") {
            line.version = true;
        } else if (StartsWith(arg, "-")) {
            line.error = "unknown option " + arg;
        } else {
            break;
        }
    }
    if (line.error.empty() && line.simulate && line.simulateShared)
        line.error = "--simulate and --simulate-shared exclude each other";
    line.command = i;
    if (line.error.empty() && !line.help && !line.version && i >= args.size()) line.error = "no command given";
    return line;
}

DataDirOption ParseDataDir(const std::vector<std::string>& args) {
    DataDirOption out;
    for (size_t i = 0; i < args.size(); ++i) {
        std::optional<std::string> value;
        if (args[i] == "--data-dir") {
            if (i + 1 >= args.size()) {
                out.error = "--data-dir needs a folder";
                break;
            }
            value = args[++i];
        } else if (StartsWith(args[i], "--data-dir=")) {
            value = args[i].substr(11);
        } else {
            out.rest.push_back(args[i]);
            continue;
        }
        if (value->empty()) {
            out.error = "--data-dir needs a folder, not an empty text";
            break;
        }
        if (out.folder) {
            out.error = "--data-dir given twice";
            break;
        }
        out.folder = std::move(value);
    }
    return out;
}

}  // namespace orvane::cli
