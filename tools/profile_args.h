#pragma once
// What the commands that reach the profile store share: the data folder ($ORVANE_DATA_DIR,
// or "--data-dir DIR", else the user's "KX" folder), the models a store loads into, and the
// device's lists filled as the program fills them at start.

#include <filesystem>
#include <string>
#include <vector>

#include "keyboard/keyboard_model.h"
#include "mouse/mouse_model.h"
#include "mousepad/pad_model.h"
#include "profiles/profile_store.h"
#include "tools/cli.h"

namespace orvane::cli {

/// The arguments without "--data-dir DIR", and the folder it named.
struct ProfileArgs {
    std::vector<std::string> rest;
    std::filesystem::path dataFolder;
    bool ok = true;
};
ProfileArgs SplitDataDir(const std::vector<std::string>& args);

/// "kb key", "ms led" ...
std::string ListName(const profiles::ListSpec& listSpec);

/// The models a store loads into.
struct Models {
    keyboard::KeyboardModel keyboard;
    mouse::MouseModel mouse;
    mousepad::PadModel pad;
    profiles::DeviceModels all() { return {&keyboard, &mouse, &pad}; }
};

/// Fills the device's lists as the program does at start (first run creates "New Profile 1");
/// false, with the failure printed, when a default profile file is missing or malformed.
bool InitLists(Context& ctx, profiles::ProfileStore& store, device::DeviceKind kind);

}  // namespace orvane::cli
