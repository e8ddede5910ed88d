// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The D-Bus service (tools/bus_service.h) while the program runs, when the window's options
// want it (real devices, or --dbus): orvanectl's device commands and other programs reach
// the devices through the program that owns them.

#include <memory>

#include <QString>

#include "app/feature.h"

namespace orvane::cli {
class BusService;
}

namespace orvane::app {

class BusFeature final : public Feature {
public:
    BusFeature();
    ~BusFeature() override;
    void install(FeatureContext& context) override;
    /// Whether the service holds its name on the session bus.
    bool running() const { return service_ != nullptr; }
    /// Why not ("" when it runs or is not wanted).
    QString problem() const { return problem_; }

private:
    std::unique_ptr<cli::BusService> service_;
    QString problem_;
};

}  // namespace orvane::app
