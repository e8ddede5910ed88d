// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/cli.h"
#include "tools/tool_line.h"

#include <charconv>
#include <iostream>

#include "device/discovery.h"
#include "profiles/profile_store.h"
#include "runtime/runtime.h"
#include "runtime/ui_dispatcher.h"

namespace orvane::cli {

device::DeviceModel ConnectedModel(runtime::Runtime& rt, device::DeviceKind kind) {
    switch (kind) {
    case device::DeviceKind::Keyboard: return rt.keyboard.model;
    case device::DeviceKind::Mouse: return rt.mouse.model;
    case device::DeviceKind::Mousepad: break;
    }
    return device::FirstModelOf(kind);
}

Connection Context::connect(device::DeviceKind kind, device::DeviceModel* model, bool quiet) {
    const std::string tag(device::KindTag(kind));
    if (host) {
        // The program's connection, as its presence monitor opened it; never a second handle.
        auto& rt = host->runtime;
        if (!rt.connected(kind)) {
            if (!quiet) fail(tag + ": " + device::ConnectErrorText(device::ConnectError::NotFound));
            return nullptr;
        }
        if (model) *model = ConnectedModel(rt, kind);
        return Connection(std::shared_ptr<void>(), &rt.connection(kind));
    }
    auto connection = std::make_shared<protocol::DeviceConnection>(backend, tag);
    connection->setTrace(trace);
    const auto error = device::ConnectFirst(kind, *connection, model);
    if (error != device::ConnectError::None) {
        if (!quiet) fail(tag + ": " + device::ConnectErrorText(error));
        return nullptr;
    }
    return connection;
}

std::filesystem::path Context::fileArgument(const std::string& name) const {
    const std::filesystem::path path(name);
    if (!host || path.is_absolute() || host->workingFolder.empty()) return path;
    return host->workingFolder / path;
}

void Context::announce(std::function<void(runtime::AppEvents&)> tell) {
    if (!host || !tell) return;
    auto& rt = host->runtime;
    if (rt.dispatcher()) rt.dispatcher()->post([&events = rt.events, tell = std::move(tell)] { tell(events); });
    else tell(rt.events);
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
