// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's side of orvanectl's forwarding: a command line orvanectl handed over (over
// D-Bus) runs in the program with the very command code orvanectl runs, against the
// program's runtime — its connections, models, store and sessions — as one job of the
// device's queue, so it takes its turn with the pages' own device work and never runs on
// the window's thread. The result (exit code, what the command printed) comes back on the
// window's thread when the job ends.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tools/cli.h"

namespace orvane::cli {

struct HostedCall {
    std::vector<std::string> args;        ///< COMMAND [ARGS], as orvanectl was given them
    std::filesystem::path workingFolder;  ///< orvanectl's, for relative file names
    std::filesystem::path dataFolder;     ///< orvanectl's; empty: the program's
};

struct HostedResult {
    int exitCode = 1;
    std::string out;
    std::string err;
};

/// Whether the program runs `command` for orvanectl: the commands that work on a device or
/// change what the program holds. The others (list, render, stream, version ...) run in
/// orvanectl itself.
bool RunsInProgram(std::string_view command);

/// Runs the call as a job of its device's queue (the first kb|ms|mp of its arguments; the
/// mouse for cursor); done on the window's thread. Refused at once, without a job: an empty
/// line, a command the program does not run (exit 2), another data folder than the
/// program's (exit 1).
void RunInProgram(runtime::Runtime& rt, HostedCall call, std::function<void(const HostedResult&)> done);

/// The exit code and output of a command line run in the calling thread (what the job
/// does; orvanectl runs the same routine itself).
int RunCommandLine(Context& ctx, const std::vector<std::string>& args);

}  // namespace orvane::cli
