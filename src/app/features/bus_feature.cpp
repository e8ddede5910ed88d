// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/bus_feature.h"

#include "app/main_window.h"
#include "device/log.h"
#include "tools/bus_service.h"

namespace orvane::app {

BusFeature::BusFeature() = default;
BusFeature::~BusFeature() = default;

void BusFeature::install(FeatureContext& context) {
    if (!context.window.options().busService) return;
    auto service = std::make_unique<cli::BusService>(context.runtime);
    if (!service->start(&problem_)) {
        // Without the service orvanectl opens the devices itself, as before.
        device::Log("D-Bus service: " + problem_.toStdString());
        return;
    }
    service_ = std::move(service);
}

}  // namespace orvane::app
