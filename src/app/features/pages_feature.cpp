// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/pages_feature.h"

#include <cstring>

#include "app/main_window.h"

namespace orvane::app {

void PagesFeature::install(FeatureContext& context) {
    MainWindow& window = context.window;
    const ui::pages::PageContext pageContext{
        .lookup = window.lookup(),
        .runtime = context.runtime,
        .dialogs = &window.dialogs(),
        .owner = &window,
        .translate = [&window](const QString& id) { return window.language().text(id); },
    };
    for (const auto& row : rows_) {
        if (!row.make) continue;
        pages_.push_back({&row, row.make(pageContext)});
        bind(context, row.name, pages_.back().page->bindings());
    }
    auto refresh = [this](const device::DeviceKind& kind) {
        for (const auto& built : pages_)
            if (built.row->device == kind) built.page->refresh();
    };
    subscriptions_ += context.runtime.events.deviceConnected.subscribe(refresh);
    subscriptions_ += context.runtime.events.modelChanged.subscribe(refresh);
}

ui::pages::Page* PagesFeature::page(const char* name) const {
    for (const auto& built : pages_)
        if (std::strcmp(built.row->name, name) == 0) return built.page.get();
    return nullptr;
}

}  // namespace orvane::app
