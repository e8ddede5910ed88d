// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/command_host.h"

#include <algorithm>
#include <array>
#include <memory>
#include <sstream>

#include "runtime/runtime.h"

namespace orvane::cli {

namespace {

using device::DeviceKind;

// The commands that work on a device or on what the program holds (its models, lists,
// macro sets): the program runs them for orvanectl.
constexpr std::array<std::string_view, 12> kProgramCommands{"info",    "readback", "slot",  "reset",  "keys",
                                                            "assign",  "lighting", "profile", "macros", "macro",
                                                            "cursor",  "link"};

/// The queue a command takes its turn in: its device's.
DeviceKind QueueOf(const std::vector<std::string>& args) {
    if (!args.empty() && args[0] == "cursor") return DeviceKind::Mouse;
    for (size_t i = 1; i < args.size(); ++i)
        if (const auto kind = ParseKind(args[i])) return *kind;
    return DeviceKind::Keyboard;
}

bool SameFolder(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code ea, eb;
    const auto ca = std::filesystem::weakly_canonical(a, ea), cb = std::filesystem::weakly_canonical(b, eb);
    return (ea ? a : ca) == (eb ? b : cb);
}

}  // namespace

bool RunsInProgram(std::string_view command) {
    return std::find(kProgramCommands.begin(), kProgramCommands.end(), command) != kProgramCommands.end();
}

int RunCommandLine(Context& ctx, const std::vector<std::string>& args) {
    if (args.empty()) {
        ctx.err << "orvanectl: no command given\n";
        PrintUsage(ctx.err);
        return kExitUsage;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    for (const auto& c : AllSubcommands()) {
        if (c.name != args[0]) continue;
        const int rc = c.run(ctx, rest);
        if (rc == kExitUsage && !ctx.argumentReported)
            ctx.err << "orvanectl: usage: orvanectl " << c.name << ' ' << c.usage << '\n';
        return rc;
    }
    ctx.err << "orvanectl: unknown command " << args[0] << '\n';
    PrintUsage(ctx.err);
    return kExitUsage;
}

void RunInProgram(runtime::Runtime& rt, HostedCall call, std::function<void(const HostedResult&)> done) {
    HostedResult refused;
    refused.exitCode = kExitUsage;
    if (call.args.empty()) {
        refused.err = "orvanectl: no command given\n";
        return done(refused);
    }
    if (!RunsInProgram(call.args[0])) {
        refused.err = "orvanectl: the program does not run " + call.args[0] + "; orvanectl runs it itself\n";
        return done(refused);
    }
    if (!call.dataFolder.empty() && !SameFolder(call.dataFolder, rt.store.dataFolder())) {
        refused.exitCode = kExitFailure;
        refused.err = "orvanectl: the running program keeps its profiles in " + rt.store.dataFolder().string() +
                      ", not " + call.dataFolder.string() +
                      "; use that folder, or --direct to open the devices here\n";
        return done(refused);
    }
    const DeviceKind kind = QueueOf(call.args);
    auto result = std::make_shared<HostedResult>();
    std::string name = "orvanectl " + call.args[0];
    rt.jobs(kind).submit(
        {.name = std::move(name), .needsDevice = false},
        [&rt, call = std::move(call), result] {
            // The command's own jobs (a profile operation, a macro added) run within it.
            runtime::DeviceJobQueue::NestedJobsAtOnce nested;
            std::ostringstream out, err;
            Host host{rt, call.workingFolder};
            Context ctx{rt.backend(), nullptr, out, err, &host};
            result->exitCode = RunCommandLine(ctx, call.args);
            result->out = out.str();
            result->err = err.str();
        },
        [result, done = std::move(done)](runtime::JobStatus status) {
            if (status != runtime::JobStatus::Done) {
                result->exitCode = kExitFailure;
                result->err = "orvanectl: the program is ending; the command did not run\n";
            }
            done(*result);
        });
}

}  // namespace orvane::cli
