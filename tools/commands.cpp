// SPDX-License-Identifier: GPL-3.0-or-later
// The table of orvanectl's subcommands and its usage text, shared by orvanectl and the
// program, which runs the same commands for it.

#include <ostream>

#include "tools/cli.h"

namespace orvane::cli {

const std::vector<Subcommand>& AllSubcommands() {
    static const std::vector<Subcommand> all = [] {
        std::vector<Subcommand> all;
        for (auto* group : {&DeviceSubcommands, &ModelSubcommands, &ProfileSubcommands, &RenderSubcommands,
                            &StreamSubcommands, &AutostartSubcommands, &LinkSubcommands, &UpdateSubcommands,
                            &MacroSubcommands, &KeySubcommands, &LightingSubcommands, &DaemonSubcommands})
            for (auto& c : group()) all.push_back(std::move(c));
        return all;
    }();
    return all;
}

void PrintUsage(std::ostream& out) {
    out << "usage: orvanectl [--simulate[=LIST] | --simulate-shared] [--direct] [--trace FILE] [--version] COMMAND [ARGS]\n"
           "  --simulate[=LIST]  use emulated devices: a comma list of kb, kb1, ms, ms2, mp "
           "(default kb,ms,mp)\n"
           "  --simulate-shared  use the emulated devices of a running `orvane --simulate --share`\n"
           "  --direct           open the devices here even while the program runs (otherwise the running\n"
           "                     program does a device command for orvanectl)\n"
           "  --trace FILE       write every report sent and received to FILE (also --trace=FILE)\n"
           "commands:\n";
    for (const auto& c : AllSubcommands()) out << "  " << c.name << ' ' << c.usage << "\n      " << c.summary << '\n';
}

}  // namespace orvane::cli
