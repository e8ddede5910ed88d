// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Device presence: the three presence monitors in their worker slots, and the window's side
// of a device coming and going. The device work of an arrival (read-back, saves) is the
// runtime's; this feature then tells the others (deviceConnected / deviceGone, on the
// window's thread) and has the window show or hide the device's tab, another device's page,
// or the window itself.

#include <array>
#include <memory>

#include "app/feature.h"
#include "device/presence.h"
#include "runtime/runtime.h"

namespace orvane::app {

class PresenceFeature final : public Feature {
public:
    PresenceFeature();
    ~PresenceFeature() override;
    void install(FeatureContext& context) override;

    /// Every monitor has finished its first pass: the devices present at start are
    /// connected and their pages filled.
    bool settled() const;

private:
    class Client;
    struct Monitor {
        std::unique_ptr<Client> client;
        std::unique_ptr<device::PresenceMonitor> monitor;
    };
    std::array<Monitor, 3> monitors_;
};

}  // namespace orvane::app
