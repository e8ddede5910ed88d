// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Profiles: the five profile panels of the device pages, the first fill of the lists and the
// recorded profiles selected when a device arrives. (The device sessions save the selected
// profiles themselves.)

#include <memory>

#include "app/feature.h"
#include "ui/pages/profile_panels.h"

namespace orvane::app {

class ProfilesFeature final : public Feature {
public:
    void install(FeatureContext& context) override;
    ui::pages::ProfilePanels& panels() { return *panels_; }

private:
    std::unique_ptr<ui::pages::ProfilePanels> panels_;
};

}  // namespace orvane::app
