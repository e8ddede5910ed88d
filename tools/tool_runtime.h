// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The runtime orvanectl changes devices and profiles through: the program's device sessions
// over the data folder, without threads or a window (every job runs at once on the one
// thread, its result right after), so a command keeps exactly the rules the pages keep.
// When the program runs the command for orvanectl (Context::host), it is the program's own
// runtime: its connections, models, store and sessions.

#include <filesystem>
#include <memory>

#include "runtime/runtime.h"
#include "tools/cli.h"

namespace orvane::cli {

class ToolRuntime {
public:
    /// dataFolder: the folder the command was given (the program's when hosted).
    ToolRuntime(Context& ctx, const std::filesystem::path& dataFolder);

    /// Opens the configuration interface of the first device of `kind` into the runtime's
    /// connection (hosted: the program's must be open); on failure prints one clear line and
    /// returns false.
    bool connect(device::DeviceKind kind, device::DeviceModel* model = nullptr);
    /// The program's runtime, which already holds its devices' models and its lists.
    bool hosted() const { return !own_; }

    runtime::Runtime& operator*() { return *runtime_; }
    runtime::Runtime* operator->() { return runtime_; }

private:
    Context& ctx_;
    std::unique_ptr<runtime::Runtime> own_;
    runtime::Runtime* runtime_;
};

}  // namespace orvane::cli
