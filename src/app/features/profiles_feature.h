// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Profiles: the five profile panels of the device pages, the first fill of the lists, the
// recorded profiles selected when a device arrives, and the selected lighting profile saved
// whenever a page changes what it keeps.

#include <array>
#include <atomic>
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
    std::array<std::atomic<bool>, 3> savePending_{};
};

}  // namespace orvane::app
