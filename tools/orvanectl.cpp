// SPDX-License-Identifier: GPL-3.0-or-later
// orvanectl: Orvane devices from the command line, real (hidapi) or emulated.
//   orvanectl [--simulate[=LIST] | --simulate-shared] [--trace FILE] COMMAND [ARGS]

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "device/hid/hidapi_backend.h"
#include "platform/machine_settings.h"
#include "sim/emulator.h"
#include "sim/shared_client.h"
#include "sim/shared_server.h"
#include "tools/cli.h"
#include "tools/tool_line.h"

using namespace orvane;

namespace {

std::vector<cli::Subcommand> AllSubcommands() {
    std::vector<cli::Subcommand> all;
    for (auto& c : cli::DeviceSubcommands()) all.push_back(std::move(c));
    for (auto& c : cli::ModelSubcommands()) all.push_back(std::move(c));
    for (auto& c : cli::ProfileSubcommands()) all.push_back(std::move(c));
    for (auto& c : cli::RenderSubcommands()) all.push_back(std::move(c));
    for (auto& c : cli::StreamSubcommands()) all.push_back(std::move(c));
    for (auto& c : cli::AutostartSubcommands()) all.push_back(std::move(c));
    for (auto& c : cli::LinkSubcommands()) all.push_back(std::move(c));
    for (auto& c : cli::UpdateSubcommands()) all.push_back(std::move(c));
    for (auto& c : cli::MacroSubcommands()) all.push_back(std::move(c));
    for (auto& c : cli::KeySubcommands()) all.push_back(std::move(c));
    for (auto& c : cli::LightingSubcommands()) all.push_back(std::move(c));
    return all;
}

void PrintUsage(std::ostream& out, const std::vector<cli::Subcommand>& commands) {
    out << "usage: orvanectl [--simulate[=LIST] | --simulate-shared] [--trace FILE] [--version] COMMAND [ARGS]\n"
           "  --simulate[=LIST]  use emulated devices: a comma list of kb, kb1, ms, ms2, mp "
           "(default kb,ms,mp)\n"
           "  --simulate-shared  use the emulated devices of a running `orvane --simulate --share`\n"
           "  --trace FILE       write every report sent and received to FILE (also --trace=FILE)\n"
           "commands:\n";
    for (const auto& c : commands) out << "  " << c.name << ' ' << c.usage << "\n      " << c.summary << '\n';
}

}  // namespace

int main(int argc, char** argv) {
    const auto commands = AllSubcommands();
    const auto line = cli::ParseToolLine(std::vector<std::string>(argv + 1, argv + argc));
    if (line.help) {
        PrintUsage(std::cout, commands);
        return cli::kExitOk;
    }
    if (line.version && line.error.empty()) {
        std::cout << "orvanectl " << platform::MachineSettings::BuildVersion() << '\n';
        return cli::kExitOk;
    }
    if (!line.error.empty()) {
        std::cerr << "orvanectl: " << line.error << '\n';
        PrintUsage(std::cerr, commands);
        return cli::kExitUsage;
    }
    const std::optional<std::string>& simulate = line.simulate;
    const std::string tracePath = line.trace.value_or("");
    const int i = int(line.command) + 1;
    const std::string name = argv[i];
    const std::vector<std::string> args(argv + i + 1, argv + argc);

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
    for (const auto& c : commands) {
        if (c.name != name) continue;
        const int rc = c.run(ctx, args);
        if (rc == cli::kExitUsage && !ctx.argumentReported)
            std::cerr << "orvanectl: usage: orvanectl " << c.name << ' ' << c.usage << '\n';
        return rc;
    }
    std::cerr << "orvanectl: unknown command " << name << '\n';
    PrintUsage(std::cerr, commands);
    return cli::kExitUsage;
}
