// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The runtime orvanectl changes devices and profiles through: the program's device sessions
// over the data folder, without threads or a window (every job runs at once on the one
// thread, its result right after), so a command keeps exactly the rules the pages keep.

#include <filesystem>

#include "runtime/runtime.h"
#include "tools/cli.h"

namespace orvane::cli {

class ToolRuntime {
public:
    ToolRuntime(Context& ctx, const std::filesystem::path& dataFolder);

    /// Opens the configuration interface of the first device of `kind` into the runtime's
    /// connection; on failure prints one clear line and returns false.
    bool connect(device::DeviceKind kind, device::DeviceModel* model = nullptr);

    runtime::Runtime& operator*() { return runtime_; }
    runtime::Runtime* operator->() { return &runtime_; }

private:
    Context& ctx_;
    runtime::Runtime runtime_;
};

}  // namespace orvane::cli
