// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Lighting: the four animation workers in their slots and the previews of every device
// page. The workers look again whenever a device comes or goes or its model changes.

#include <memory>

#include "app/feature.h"
#include "app/lighting_previews.h"

namespace orvane::app {

class LightingFeature final : public Feature {
public:
    ~LightingFeature() override;
    void install(FeatureContext& context) override;
    PreviewCoalescer& previews() { return *previews_; }

private:
    lighting::AnimationEngine* engine_ = nullptr;
    std::unique_ptr<PreviewCoalescer> previews_;
};

}  // namespace orvane::app
