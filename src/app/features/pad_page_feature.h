// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mousepad page, the 1-second push of the pad's changed settings record, and showing
// the pad anew whenever its model changed.

#include <memory>

#include "app/feature.h"
#include "ui/pages/pad_page.h"

namespace orvane::app {

class PadPageFeature final : public Feature {
public:
    void install(FeatureContext& context) override;

private:
    std::unique_ptr<ui::pages::PadPage> page_;
};

}  // namespace orvane::app
