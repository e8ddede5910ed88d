// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Finding and opening a device's interfaces by identity. The presence monitors run their own
// passes; this is the one-shot form the command-line tool and tests use.

#include <optional>
#include <string>
#include <vector>

#include "device/hid/hid_backend.h"
#include "device/models.h"
#include "device/protocol/connection.h"

namespace orvane::device {

/// An enumerated interface that belongs to one of our devices.
struct FoundInterface {
    hid::InterfaceInfo info;
    Match match;
};

/// Every interface of ours among those present, in enumeration order. false when the backend
/// cannot enumerate.
bool FindOurInterfaces(hid::Backend& backend, std::vector<FoundInterface>& out);

enum class ConnectError { None, NotFound, PermissionDenied, OpenFailed, IdentityMismatch };
const char* ConnectErrorText(ConnectError e);

/// Opens the configuration interface of the first device of `kind`, verifies vendor,
/// product, usage page and usage from the open interface's attributes, sets the expected
/// identity on the connection and marks it connected. `model` receives the model found.
ConnectError ConnectFirst(DeviceKind kind, protocol::DeviceConnection& connection,
                          DeviceModel* model = nullptr, std::string* path = nullptr);

}  // namespace orvane::device
