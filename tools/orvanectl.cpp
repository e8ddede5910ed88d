// SPDX-License-Identifier: GPL-3.0-or-later
// orvanectl: Orvane devices from the command line, real (hidapi) or emulated.
//   orvanectl [--simulate[=LIST] | --simulate-shared] [--direct] [--trace FILE] COMMAND [ARGS]
// While the program runs (its name is on the session bus), a command that works on a device
// is run by the program (tools/command_host.h), which owns the devices; --direct, --simulate,
// --simulate-shared and --trace keep it here.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "device/hid/hidapi_backend.h"
#include "platform/machine_settings.h"
#include "sim/emulator.h"
#include "sim/shared_client.h"
#include "sim/shared_server.h"
#include "tools/bus_client.h"
#include "tools/cli.h"
#include "tools/tool_line.h"

using namespace orvane;

namespace {

/// The command run by the program; nullopt when it runs here.
std::optional<cli::HostedResult> ThroughProgram(const cli::ToolLine& line, const std::vector<std::string>& command) {
    // Emulated devices are orvanectl's own; a trace records orvanectl's own exchanges.
    if (line.simulate || line.simulateShared || line.trace || line.direct || !cli::RunsInProgram(command[0])) return std::nullopt;
    cli::HostedCall call;
    call.args = command;
    std::error_code ec;
    call.workingFolder = std::filesystem::current_path(ec);
    // A command that keeps files works on the program's data folder only (the program
    // refuses another); one that works on the device alone goes through whatever the folder.
    const auto& all = cli::AllSubcommands();
    const auto named = std::find_if(all.begin(), all.end(), [&](const cli::Subcommand& c) { return c.name == command[0]; });
    if (named != all.end() && named->usage.find("--data-dir") != std::string_view::npos) {
        const auto dataDir = cli::SplitDataDir({command.begin() + 1, command.end()});
        if (!dataDir.ok()) return std::nullopt;  // the command itself says what is wrong
        call.dataFolder = std::filesystem::absolute(dataDir.dataFolder, ec);
    }
    return cli::ForwardToProgram(call);
}

}  // namespace

int Main(int argc, char** argv) {
    const auto line = cli::ParseToolLine(std::vector<std::string>(argv + 1, argv + argc));
    if (line.help) {
        cli::PrintUsage(std::cout);
        return cli::kExitOk;
    }
    if (line.version && line.error.empty()) {
        std::cout << "orvanectl " << platform::MachineSettings::BuildVersion() << '\n';
        return cli::kExitOk;
    }
    if (!line.error.empty()) {
        std::cerr << "orvanectl: " << line.error << '\n';
        cli::PrintUsage(std::cerr);
        return cli::kExitUsage;
    }
    const std::optional<std::string>& simulate = line.simulate;
    const std::string tracePath = line.trace.value_or("");
    const std::vector<std::string> command(argv + line.command + 1, argv + argc);

    if (const auto forwarded = ThroughProgram(line, command)) {
        std::cout << forwarded->out << std::flush;
        std::cerr << forwarded->err << std::flush;
        return forwarded->exitCode;
    }

    std::unique_ptr<hid::Backend> backend;
    if (simulate) {
        auto emulator = std::make_unique<sim::EmulatorBackend>();
        std::string error;
        if (!emulator->addFromList(*simulate, &error)) {
            std::cerr << "orvanectl: " << error << '\n';
            return cli::kExitUsage;
        }
        backend = std::move(emulator);
    } else if (line.simulateShared) {
        std::string problem;
        const auto socket = sim::EmulatorServer::DefaultSocket(problem);
        if (socket.empty()) {
            std::cerr << "orvanectl: " << problem << '\n';
            return cli::kExitFailure;
        }
        backend = std::make_unique<sim::SharedEmulatorBackend>(socket);
    } else {
        backend = std::make_unique<hid::HidapiBackend>();
    }

    std::unique_ptr<protocol::ReportTrace> trace;
    if (!tracePath.empty()) {
        trace = protocol::ReportTrace::ToFile(tracePath);
        if (!trace) {
            std::cerr << "orvanectl: cannot write the trace file " << tracePath << '\n';
            return cli::kExitFailure;
        }
    }

    cli::Context ctx{*backend, trace.get(), std::cout, std::cerr};
    return cli::RunCommandLine(ctx, command);
}

int main(int argc, char** argv) {
    const int rc = Main(argc, argv);
    if (cli::SessionBusUsed()) {
        std::cout.flush();
        std::cerr.flush();
        std::fflush(nullptr);
        std::_Exit(rc);
    }
    return rc;
}
