// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The update operations of the program: the version check made once at start, and an
// update request (registration with the server, then the external updater started).
// Both block on the server; run them off the window's thread. A stop request or
// UpdateClient::cancel() ends them at once.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>

#include "update/update_client.h"

namespace orvane::update {

struct VersionCheckResult {
    std::optional<int> serverSoftware;   ///< a valid server version, or none
    int installedSoftware = 0;
    bool keyboardChecked = false;        ///< an RGB keyboard was connected
    std::optional<int> serverKeyboard;
    int installedKeyboard = 0;
    /// installed < server < 300, for the software or the connected RGB keyboard
    bool updateAvailable = false;
};

/// The RGB keyboard's version while one is connected, nullopt otherwise.
using KeyboardVersionQuery = std::function<std::optional<uint16_t>()>;

/// Asks for the software's newest version, then, when an RGB keyboard is connected at that
/// moment, the keyboard's; compares them with the installed ones.
VersionCheckResult VersionCheck(UpdateClient& client, std::string_view installedSoftware,
                                const KeyboardVersionQuery& rgbKeyboardVersion);

/// The start-up worker body: VersionCheck, with `stop` cancelling the request in
/// progress; `onUpdateAvailable` (open the settings window) runs on this thread when an
/// update exists and the check was not stopped.
void RunVersionCheck(std::stop_token stop, UpdateClient& client, std::string_view installedSoftware,
                     const KeyboardVersionQuery& rgbKeyboardVersion, const std::function<void()>& onUpdateAvailable);

/// The external updater: a program file in the program's own folder, started there.
struct UpdaterProgram {
    static constexpr char kFileName[] = "VantrellUpdate";
    std::filesystem::path folder;
    std::string file = kFileName;
    std::filesystem::path path() const { return folder / file; }
};
/// The updater next to the running executable.
UpdaterProgram InstalledUpdater();

enum class UpdateRequestResult {
    Started,         ///< registered, queried and the updater started
    NotConfirmed,    ///< no reply, or "Result_Code" not 2: nothing else happens
    UpdaterMissing,  ///< confirmed, but there is no updater file to start
    UpdaterFailed,   ///< the updater could not be started
};
std::string_view ResultText(UpdateRequestResult result);

/// Registers the update with a new identifier; when the server confirms ("Result_Code" 2)
/// queries the product's version once more and starts the updater detached, in its folder,
/// with UpdaterParameters(). Missing or failing updater: logged, nothing shown.
UpdateRequestResult RequestUpdate(UpdateClient& client, const Product& product, const UpdaterProgram& updater,
                                  std::string_view installedSoftware, uint16_t keyboardVersion);

/// Starts the updater detached (it outlives the program), its folder as working folder,
/// with `parameters` as its one argument (none when empty).
bool StartUpdater(const UpdaterProgram& updater, const std::string& parameters);

}  // namespace orvane::update
