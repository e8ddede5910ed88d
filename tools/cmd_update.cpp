// SPDX-License-Identifier: GPL-3.0-or-later
// orvanectl version: the installed version, the newest version of every product as the
// update server gives it, and whether a software update is available; "could not check:
// REASON" and exit 1 when the server does not answer in time or not as expected. The server is
// "--server http://HOST[:PORT]" ("/download/getVersionV1" is appended), else the one the
// machine settings name.

#include <ostream>

#include "platform/machine_settings.h"
#include "tools/cli.h"
#include "update/settings_view.h"
#include "update/update_client.h"

namespace orvane::cli {

namespace {

int RunVersion(Context& ctx, const std::vector<std::string>& args) {
    std::optional<update::Endpoint> endpoint;
    const platform::MachineSettings settings;
    if (args.size() == 2 && args[0] == "--server") {
        const auto url = update::EndpointUrl(args[1]);
        if (!url) return kExitUsage;
        endpoint = update::Endpoint{*url};
    } else if (args.empty()) {
        endpoint = update::ConfiguredEndpoint(settings);
    } else {
        return kExitUsage;
    }
    const std::string installed = settings.displayVersion();
    ctx.out << "installed " << installed << '\n';
    if (!endpoint) {
        for (const auto& product : update::kProducts)
            ctx.out << product.code << ' ' << product.updaterName << ": " << update::kUnknownVersion << '\n';
        ctx.out << "update available: " << update::kUnknownVersion << '\n';
        if (settings.updateServer()) return ctx.fail(*update::EndpointProblem(settings));
        return ctx.fail("no update server configured (" + std::string(platform::MachineSettings::kUpdateServer) +
                        " in " + settings.path().string() + ", or --server)");
    }

    // One client: one deadline for the whole check. Only answers of the expected form count;
    // anything else fails the check, and server text is printed without control characters.
    update::UpdateClient client(*endpoint);
    std::optional<int> software;
    for (const auto& product : update::kProducts) {
        const auto answer = client.queryVersionAnswer(product.code);
        if (!answer.ok()) {
            ctx.out << "update available: " << update::kUnknownVersion << '\n';
            return ctx.fail("could not check: " + update::WithoutControlCharacters(endpoint->url + ": " + answer.problem));
        }
        const auto& version = answer.version;
        ctx.out << product.code << ' ' << product.updaterName << ": "
                << (version ? update::WithoutControlCharacters(*version) : std::string(update::kUnknownVersion)) << '\n';
        if (product.code == update::kSoftware.code)
            software = update::ValidServerVersion(version ? std::optional<std::string_view>(*version) : std::nullopt);
    }
    const bool available = software && update::InstalledVersionNumber(installed) < *software;
    ctx.out << "update available: " << (available ? "yes" : "no") << '\n';
    return kExitOk;
}

}  // namespace

std::vector<Subcommand> UpdateSubcommands() {
    return {{"version", "[--server http://HOST[:PORT]]",
             "prints the installed version, the newest version of each product the update server names, and "
             "whether a software update is available",
             RunVersion}};
}

}  // namespace orvane::cli
