// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/profiles_feature.h"

#include "app/main_window.h"

namespace orvane::app {

void ProfilesFeature::install(FeatureContext& context) {
    runtime::Runtime& rt = context.runtime;
    MainWindow& window = context.window;
    panels_ = std::make_unique<ui::pages::ProfilePanels>(
        ui::pages::ProfilePanelEnv{window.lookup(), &window.dialogs(), &window, &rt,
                                   [w = &window](const QString& id) { return w->language().text(id); }});
    panels_->initLists();
    bind(context, "profile panels", panels_->bindings());

    // After the read-back: the entries "select" records, loaded and sent as jobs of the device.
    subscriptions_ += rt.events.deviceConnected.subscribe([this](const device::DeviceKind& kind) {
        for (const profiles::ListId id : profiles::ListsOf(kind)) panels_->selectRecorded(id);
    });
    // The names the program made up follow the language.
    subscriptions_ += rt.events.settingsChanged.subscribe([this](const runtime::Setting& setting) {
        if (setting != runtime::Setting::Language) return;
        for (const auto& list : profiles::kLists) panels_->panel(list.id).fill();
    });
    // An application-linked switch selected a profile: the panel shows it as its own.
    subscriptions_ += rt.events.profileChosen.subscribe(
        [this](const profiles::ListId& id, const profiles::ProfileResult& r) { panels_->panel(id).show(r); });
}

}  // namespace orvane::app
