// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// SharedEmulatorBackend: the devices of a shared emulator in another process (orvane
// --simulate --share), reached over its local socket (sim/shared_wire.h). A handle's
// reports cross the socket; what the device sends reaches this handle and every other, as
// on hidraw. The exchange code above is the one for real devices: the same per-device lock
// (named by the share id the emulator gives) and the same drain, which here asks the
// emulator to drop what waits for this handle and to send nothing older after it.
//
// The emulator is not trusted: a broken or oversized message, or a reply that does not come
// within replyTimeout, ends the handle (its device is gone to this process); no emulator
// listening means no devices.

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "device/hid/hid_backend.h"

namespace orvane::sim {

class SharedEmulatorBackend : public hid::Backend {
public:
    explicit SharedEmulatorBackend(std::filesystem::path socketPath);

    std::string name() const override { return "shared emulator"; }
    /// true with no interfaces when no emulator answers: its devices are gone.
    bool enumerate(std::vector<hid::InterfaceInfo>& out) override;
    std::unique_ptr<hid::Handle> open(const std::string& path, const hid::OpenMode& mode,
                                      hid::OpenError* error = nullptr) override;
    bool probePresent(const std::string& path) override;

    /// How long a query, a write's acknowledgement or a drain may take.
    std::chrono::milliseconds replyTimeout{2000};

private:
    std::filesystem::path socketPath_;
};

}  // namespace orvane::sim
