// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/discovery.h"

namespace orvane::device {

bool FindOurInterfaces(hid::Backend& backend, std::vector<FoundInterface>& out) {
    out.clear();
    std::vector<hid::InterfaceInfo> all;
    if (!backend.enumerate(all)) return false;
    for (auto& info : all)
        if (auto m = MatchInterface(info)) out.push_back({info, *m});
    return true;
}

const char* ConnectErrorText(ConnectError e) {
    switch (e) {
    case ConnectError::None: return "connected";
    case ConnectError::NotFound: return "no such device is connected";
    case ConnectError::PermissionDenied:
        return "no permission to open the device's hidraw node (install data/60-orvane.rules "
               "into /etc/udev/rules.d and replug the device)";
    case ConnectError::OpenFailed: return "the device could not be opened";
    case ConnectError::IdentityMismatch: return "the opened interface is not the expected device";
    }
    return "unknown error";
}

ConnectError ConnectFirst(DeviceKind kind, protocol::DeviceConnection& connection, DeviceModel* model,
                          std::string* path) {
    std::vector<FoundInterface> found;
    if (!FindOurInterfaces(connection.device.backend(), found)) return ConnectError::NotFound;
    ConnectError last = ConnectError::NotFound;
    for (const auto& f : found) {
        const auto& identity = Identity(f.match.model);
        if (identity.kind != kind || f.match.role != InterfaceRole::Configuration) continue;
        std::lock_guard guard(connection.lock);
        connection.device.path = f.info.path;
        hid::OpenError error = hid::OpenError::None;
        if (!connection.device.open(&error)) {
            last = error == hid::OpenError::PermissionDenied ? ConnectError::PermissionDenied
                                                             : ConnectError::OpenFailed;
            continue;
        }
        const auto attributes = connection.device.attributes();
        const auto caps = connection.device.caps();
        if (attributes.vendorId != identity.vendorId || attributes.productId != identity.productId ||
            caps.usagePage != kConfigUsagePage || caps.usage != kConfigUsage) {
            connection.device.close();
            last = ConnectError::IdentityMismatch;
            continue;
        }
        connection.vendorId = identity.vendorId;
        connection.productId = identity.productId;
        connection.usagePage = kConfigUsagePage;
        connection.usage = kConfigUsage;
        connection.connected = true;
        if (model) *model = f.match.model;
        if (path) *path = f.info.path;
        return ConnectError::None;
    }
    return last;
}

}  // namespace orvane::device
