// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/cli.h"
#include "tools/tool_line.h"

#include <charconv>
#include <iostream>

#include "device/discovery.h"
#include "profiles/profile_store.h"

namespace orvane::cli {

std::unique_ptr<protocol::DeviceConnection> Context::connect(device::DeviceKind kind,
                                                             device::DeviceModel* model) {
    auto connection = std::make_unique<protocol::DeviceConnection>(backend, std::string(device::KindTag(kind)));
    connection->setTrace(trace);
    const auto error = device::ConnectFirst(kind, *connection, model);
    if (error != device::ConnectError::None) {
        fail(std::string(device::KindTag(kind)) + ": " + device::ConnectErrorText(error));
        return nullptr;
    }
    return connection;
}

int Context::fail(std::string_view message) {
    err << "orvanectl: " << message << '\n';
    return kExitFailure;
}

int Context::badArgument(std::string_view message) {
    err << "orvanectl: " << message << '\n';
    argumentReported = true;
    return kExitUsage;
}

int ConnectNamedDevice(Context& ctx, const std::vector<std::string>& args, NamedDevice& out) {
    if (args.size() != 1) return kExitUsage;
    const auto kind = ParseKind(args[0]);
    if (!kind) return kExitUsage;
    out.kind = *kind;
    out.connection = ctx.connect(*kind, &out.model);
    return out.connection ? kExitOk : kExitFailure;
}

DataDirArgs SplitDataDir(const std::vector<std::string>& args) {
    auto option = ParseDataDir(args);
    DataDirArgs out{std::move(option.rest), {}, std::move(option.error)};
    out.dataFolder = option.folder ? std::filesystem::path(*option.folder) : profiles::ProfileDataFolder();
    return out;
}

std::optional<int> ParseNumber(std::string_view text, int limit) {
    int n = -1;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), n);
    if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size() || n < 0 || n > limit)
        return std::nullopt;
    return n;
}

std::optional<device::DeviceKind> ParseKind(std::string_view text) {
    if (text == "kb") return device::DeviceKind::Keyboard;
    if (text == "ms") return device::DeviceKind::Mouse;
    if (text == "mp") return device::DeviceKind::Mousepad;
    return std::nullopt;
}

}  // namespace orvane::cli
