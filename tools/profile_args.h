// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the profile commands share: the models a profile loads into, the first fill of a
// device's lists, and the "kb|ms|mp key|led N" target. The data folder option is
// SplitDataDir (tools/cli.h).

#include <optional>
#include <string>
#include <vector>

#include "keyboard/keyboard_model.h"
#include "mouse/mouse_model.h"
#include "mousepad/pad_model.h"
#include "profiles/profile_store.h"
#include "tools/cli.h"

namespace orvane::cli {

/// "kb led", "ms key", ...
std::string ListName(const profiles::ListSpec& listSpec);

/// The models a selection loads into, with the flags of the connected model.
struct Models {
    keyboard::KeyboardModel keyboard;
    mouse::MouseModel mouse;
    mousepad::PadModel pad;
    profiles::DeviceModels all() { return {&keyboard, &mouse, &pad}; }
};

/// Fills the device's lists as the program does at start (first run creates "New Profile 1";
/// a damaged index is rebuilt). Remarks go to stderr; false (the line printed) when the
/// lists cannot be used: a default file is missing, the first profile or the rebuilt index
/// could not be written, the index is not a file.
bool InitLists(Context& ctx, profiles::ProfileStore& store, device::DeviceKind kind);

/// "kb|ms|mp key|led N" → the list and the position, checked against the stored list.
struct Target {
    const profiles::ListSpec* listSpec = nullptr;
    int position = 0;
};
/// args holds at least three entries; *rc is the exit code when nullopt is returned (the
/// failure line already printed).
std::optional<Target> ParseTarget(Context& ctx, profiles::ProfileStore& store, const std::vector<std::string>& args,
                                  int* rc);

}  // namespace orvane::cli
