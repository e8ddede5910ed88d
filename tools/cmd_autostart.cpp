// SPDX-License-Identifier: GPL-3.0-or-later
// orvanectl autostart on|off|status: the desktop session's autostart entry, which starts the
// program hidden in the tray.

#include <ostream>

#include "platform/autostart.h"
#include "platform/paths.h"
#include "tools/cli.h"

namespace orvane::cli {

namespace {

namespace fs = std::filesystem;

/// The program beside this tool (an installation), in the build folder's layout, or else
/// found by name on the PATH when the session starts.
fs::path Program() {
    const fs::path here = platform::ExecutableFolder();
    for (const fs::path& candidate : {here / "orvane", here / ".." / "src" / "app" / "orvane"}) {
        std::error_code ec;
        if (fs::is_regular_file(candidate, ec)) return fs::weakly_canonical(candidate, ec);
    }
    return "orvane";
}

int Autostart(Context& ctx, const std::vector<std::string>& args) {
    if (args.size() != 1) return kExitUsage;
    const fs::path entry = platform::AutostartEntryPath();
    if (args[0] == "status") {
        ctx.out << (platform::AutostartEnabled(entry) ? "on" : "off") << '\n';
        return kExitOk;
    }
    if (args[0] != "on" && args[0] != "off") return kExitUsage;
    const bool on = args[0] == "on";
    std::string error;
    if (!platform::SetAutostart(on, Program(), &error, entry)) return ctx.fail(error);
    if (on) ctx.out << "autostart on: " << entry.string() << '\n';
    else ctx.out << "autostart off\n";
    return kExitOk;
}

}  // namespace

std::vector<Subcommand> AutostartSubcommands() {
    return {{"autostart", "on|off|status",
             "start the program hidden in the tray with the desktop session (on), not (off), or tell which",
             Autostart}};
}

}  // namespace orvane::cli
