// SPDX-License-Identifier: GPL-3.0-or-later
// orvanectl daemon-status: whether the program runs and answers on the session bus (then
// orvanectl's device commands go through it), its version and data folder, and whether its
// OpenRGB SDK server is on.

#include <ostream>

#include "tools/bus_client.h"
#include "tools/cli.h"

namespace orvane::cli {

namespace {

int RunDaemonStatus(Context& ctx, const std::vector<std::string>& args) {
    if (!args.empty()) return kExitUsage;
    const auto status = QueryDaemon();
    if (!status.reachable) return ctx.fail("the program is not reachable over D-Bus: " + status.problem);
    ctx.out << "program\trunning, version " << status.version << '\n';
    ctx.out << "data folder\t" << status.dataFolder << '\n';
    ctx.out << "sdk server\t";
    if (status.sdkServer) ctx.out << "on, port " << status.sdkServerPort << '\n';
    else ctx.out << "off\n";
    return kExitOk;
}

}  // namespace

std::vector<Subcommand> DaemonSubcommands() {
    return {{"daemon-status", "",
             "whether the program is running and reachable over D-Bus (device commands then go through it), its "
             "version and data folder, and whether its OpenRGB SDK server is on; exit 1 when it is not reachable",
             RunDaemonStatus}};
}

}  // namespace orvane::cli
