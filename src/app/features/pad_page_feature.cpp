// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/pad_page_feature.h"

#include "app/main_window.h"

namespace orvane::app {

using device::DeviceKind;

void PadPageFeature::install(FeatureContext& context) {
    runtime::Runtime& rt = context.runtime;
    page_ = std::make_unique<ui::pages::PadPage>(context.window.lookup(), rt);
    page_->prepare();
    bind(context, Owner::MousepadLighting, page_->bindings());

    auto refresh = [this](const DeviceKind& kind) {
        if (kind == DeviceKind::Mousepad) page_->refresh();
    };
    subscriptions_ += rt.events.deviceConnected.subscribe(refresh);
    subscriptions_ += rt.events.modelChanged.subscribe(refresh);
    subscriptions_ += rt.events.flushTick.subscribe([&rt] { rt.padSession().flush(); });
}

}  // namespace orvane::app
