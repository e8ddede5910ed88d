// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// orvanectl's shared context and the table its subcommands register in.

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/hid/hid_backend.h"
#include "device/models.h"
#include "device/protocol/connection.h"
#include "device/protocol/trace.h"

namespace orvane::runtime {
class Runtime;
struct AppEvents;
}  // namespace orvane::runtime

namespace orvane::cli {

/// Exit codes: 0 success, 1 the device failed or is missing, 2 usage error.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

/// The running program a command was handed to (orvanectl forwards its command line over
/// D-Bus): the command works on the program's runtime — its connections, models, store and
/// sessions — instead of opening the devices itself.
struct Host {
    runtime::Runtime& runtime;
    std::filesystem::path workingFolder;  ///< orvanectl's, for relative file names
};

/// The model of the program's connected device of `kind`, as its arrival set it.
device::DeviceModel ConnectedModel(runtime::Runtime& rt, device::DeviceKind kind);

/// A device connection: the command's own, or the program's (not owned).
using Connection = std::shared_ptr<protocol::DeviceConnection>;

struct Context {
    hid::Backend& backend;
    protocol::ReportTrace* trace = nullptr;
    std::ostream& out;
    std::ostream& err;
    /// Set while the program runs the command for orvanectl.
    Host* host = nullptr;

    /// Opens the configuration interface of the first device of `kind` (in the program: its
    /// open connection); on failure prints one clear line (unless quiet) and returns null.
    Connection connect(device::DeviceKind kind, device::DeviceModel* model = nullptr, bool quiet = false);
    /// A file named on the command line: a relative name is of orvanectl's working folder.
    std::filesystem::path fileArgument(const std::string& name) const;
    /// Tells the program's pages what the command changed (its events, on the window's
    /// thread, after the command's own work); nothing when orvanectl runs alone.
    void announce(std::function<void(runtime::AppEvents&)> tell);
    /// Prints "orvanectl: <message>" on stderr and returns kExitFailure.
    int fail(std::string_view message);
    /// A bad argument: prints "orvanectl: <message>" (which says what is allowed) on stderr
    /// and returns kExitUsage; the general usage line is then left out.
    int badArgument(std::string_view message);
    bool argumentReported = false;
};

struct Subcommand {
    std::string_view name;
    std::string_view usage;    ///< arguments, e.g. "kb|ms|mp"
    std::string_view summary;
    std::function<int(Context&, const std::vector<std::string>& args)> run;
};

/// The subcommands of each concern; orvanectl.cpp gathers them into one table.
std::vector<Subcommand> DeviceSubcommands();
std::vector<Subcommand> ModelSubcommands();
std::vector<Subcommand> ProfileSubcommands();
std::vector<Subcommand> RenderSubcommands();
std::vector<Subcommand> StreamSubcommands();
std::vector<Subcommand> AutostartSubcommands();
std::vector<Subcommand> LinkSubcommands();
std::vector<Subcommand> UpdateSubcommands();
std::vector<Subcommand> MacroSubcommands();
std::vector<Subcommand> KeySubcommands();
std::vector<Subcommand> LightingSubcommands();
std::vector<Subcommand> DaemonSubcommands();

/// Every subcommand, in the order the usage lists them.
const std::vector<Subcommand>& AllSubcommands();
/// orvanectl's usage: the options before the command and every command.
void PrintUsage(std::ostream& out);

/// The device a one-argument command ("kb|ms|mp") works on, connected.
struct NamedDevice {
    device::DeviceKind kind{};
    device::DeviceModel model{};
    Connection connection;
};
/// Parses args (exactly one device name) and connects: kExitOk, kExitUsage for bad
/// arguments, kExitFailure (with its line printed) when the device cannot be reached.
int ConnectNamedDevice(Context& ctx, const std::vector<std::string>& args, NamedDevice& out);

/// The arguments without "--data-dir DIR", and the data folder: DIR, else $ORVANE_DATA_DIR,
/// else the user's "KX" folder. ok is false when "--data-dir" has no folder after it.
struct DataDirArgs {
    std::vector<std::string> rest;
    std::filesystem::path dataFolder;  ///< the one given, else the program's data folder
    std::string error;                 ///< "--data-dir needs a folder" and the like
    bool ok() const { return error.empty(); }
};
DataDirArgs SplitDataDir(const std::vector<std::string>& args);

/// A decimal number 0 ... limit and nothing else.
std::optional<int> ParseNumber(std::string_view text, int limit);

/// "kb", "ms" or "mp" → device kind.
std::optional<device::DeviceKind> ParseKind(std::string_view text);

}  // namespace orvane::cli
