// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/feature.h"

#include "app/main_window.h"

namespace orvane::app {

Feature::~Feature() {
    for (const auto slot : plugged_) workers_->unplug(slot);
}

void Feature::plug(FeatureContext& context, runtime::WorkerSlot slot, runtime::WorkerBody body) {
    workers_ = &context.runtime.workers;
    workers_->plug(slot, std::move(body));
    plugged_.push_back(slot);
}

void Feature::bind(FeatureContext& context, const char* page, const ui::pages::PageBindings& bindings) {
    subscriptions_ += context.window.router().bind(QLatin1String(page), bindings);
    bound_.push_back({page, &bindings});
}

}  // namespace orvane::app
