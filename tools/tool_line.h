// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line of orvanectl before the command:
//   [--simulate[=LIST] | --simulate-shared] [--direct] [--trace FILE | --trace=FILE] [-h | --help] [--version] COMMAND [ARGS]
// A pure parser (no I/O), so that it can be tested and fuzzed.

#include <optional>
#include <string>
#include <vector>

namespace orvane::cli {

inline constexpr char kDefaultSimulation[] = "kb,ms,mp";

struct ToolLine {
    std::optional<std::string> simulate;  ///< the device list when simulating
    bool simulateShared = false;          ///< the devices of `orvane --simulate --share`
    std::optional<std::string> trace;     ///< the trace file
    bool direct = false;                  ///< --direct: open the devices here, not through the program
    bool help = false;
    bool version = false;                 ///< --version: print the version and stop
    std::string error;                    ///< a usage error, to print with the usage
    size_t command = 0;                   ///< index of COMMAND in the arguments (== size: none)
};

/// `args` without the program name.
ToolLine ParseToolLine(const std::vector<std::string>& args);

/// "--data-dir DIR" or "--data-dir=DIR" anywhere among a command's arguments.
struct DataDirOption {
    std::vector<std::string> rest;  ///< the arguments without it
    std::optional<std::string> folder;
    std::string error;              ///< "--data-dir needs a folder" and the like
};
DataDirOption ParseDataDir(const std::vector<std::string>& args);

}  // namespace orvane::cli
