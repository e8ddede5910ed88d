// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The SDK server's choices in main.ini: section "SDKSERVER", keys "ENABLED" (0 or 1),
// "PORT" and "ADDRESS" (the address it listens on; another program on this machine is the
// usual client, so loopback unless the user chooses otherwise). Hostile values (a port
// out of range, an address that is none) read as the defaults.

#include <cstdint>
#include <filesystem>
#include <string>

namespace orvane::integrations::openrgb {

inline constexpr char kLoopbackAddress[] = "127.0.0.1";

struct ServerSettings {
    bool enabled = false;
    uint16_t port = 6742;
    std::string address = kLoopbackAddress;
    friend bool operator==(const ServerSettings&, const ServerSettings&) = default;
};

ServerSettings ReadServerSettings(const std::filesystem::path& mainIni);
/// One atomic write of the three keys; false when main.ini cannot be written.
bool WriteServerSettings(const std::filesystem::path& mainIni, const ServerSettings& settings);

}  // namespace orvane::integrations::openrgb
