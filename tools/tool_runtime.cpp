// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/tool_runtime.h"

#include "device/discovery.h"
#include "platform/pointer_settings.h"
#include "profiles/profile_store.h"

namespace orvane::cli {

namespace {

runtime::RuntimeOptions ToolOptions(Context& ctx, const std::filesystem::path& dataFolder) {
    runtime::RuntimeOptions o;
    o.backend = &ctx.backend;
    o.dataFolder = dataFolder;
    o.defaultFolders = profiles::DefaultProfileFolders();
    // The tool never sets the desktop's pointer: the program does when it shows a profile.
    o.pointerBackend = platform::MakeFallbackPointerBackend();
    o.pointerLog = [](std::string_view) {};
    o.deliverToCreatingThread = false;
    o.jobThreads = false;
    return o;
}

}  // namespace

ToolRuntime::ToolRuntime(Context& ctx, const std::filesystem::path& dataFolder)
    : ctx_(ctx),
      own_(ctx.host ? nullptr : std::make_unique<runtime::Runtime>(ToolOptions(ctx, dataFolder))),
      runtime_(ctx.host ? &ctx.host->runtime : own_.get()) {}

bool ToolRuntime::connect(device::DeviceKind kind, device::DeviceModel* model) {
    if (hosted()) return ctx_.connect(kind, model) != nullptr;
    auto& connection = runtime_->connection(kind);
    connection.setTrace(ctx_.trace);
    const auto error = device::ConnectFirst(kind, connection, model);
    if (error == device::ConnectError::None) return true;
    ctx_.fail(std::string(device::KindTag(kind)) + ": " + device::ConnectErrorText(error));
    return false;
}

}  // namespace orvane::cli
