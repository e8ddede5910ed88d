// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// orvanectl's side of the program's D-Bus service: whether the program is running on the
// session bus, and handing it a command line to run (tools/command_host.h).

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tools/command_host.h"

namespace orvane::cli {

/// What the running program says of itself.
struct DaemonStatus {
    bool reachable = false;
    std::string problem;       ///< why not: no session bus, not running, no answer
    std::string version;
    std::string dataFolder;
    bool sdkServer = false;
    int sdkServerPort = 0;
};
DaemonStatus QueryDaemon();

/// Runs the command line in the running program. nullopt when no program owns the
/// service's name (orvanectl then opens the devices itself); a program that owns it but
/// does not answer is a failure (exit 1), not a reason to open the devices beside it.
std::optional<HostedResult> ForwardToProgram(const HostedCall& call);

/// Whether this process connected to the session bus. The bus library's thread then
/// outlives main(): its global objects, taken down after main() returns, make it write
/// warnings into orvanectl's output, so orvanectl ends such a run at once instead
/// (`std::_Exit`, after flushing its streams).
bool SessionBusUsed();

}  // namespace orvane::cli
