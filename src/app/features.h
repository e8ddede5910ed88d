// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's features in install order. A new feature is one row here and one object of
// its own; a new page whose controller is a ui::pages::Page needs no feature at all, only
// its row of the page table (ui/pages/page_table.h), which the pages feature builds.

#include <memory>
#include <string_view>

#include "app/feature.h"
#include "app/features/bus_feature.h"
#include "app/features/key_capture_feature.h"
#include "app/features/key_pages_feature.h"
#include "app/features/lighting_feature.h"
#include "app/features/lighting_pages_feature.h"
#include "app/features/links_feature.h"
#include "app/features/listener_feature.h"
#include "app/features/macro_pages_feature.h"
#include "app/features/mouse_page_feature.h"
#include "app/features/pad_page_feature.h"
#include "app/features/pages_feature.h"
#include "app/features/presence_feature.h"
#include "app/features/profiles_feature.h"
#include "app/features/sdk_server_feature.h"
#include "app/features/settings_feature.h"
#include "app/features/skin_feature.h"

namespace orvane::app {

struct FeatureRow {
    std::string_view name;
    std::unique_ptr<Feature> (*make)();
};

template <class F>
std::unique_ptr<Feature> MakeFeature() {
    return std::make_unique<F>();
}

inline constexpr FeatureRow kFeatures[] = {
    // Presence first: its monitors take the first worker slots and its connect steps tell
    // the others (deviceConnected) before the window shows the device's page.
    {"presence", &MakeFeature<PresenceFeature>},
    // Profiles before the pages: on arrival the recorded profiles are selected first.
    {"profiles", &MakeFeature<ProfilesFeature>},
    {"mouse page", &MakeFeature<MousePageFeature>},
    {"mousepad page", &MakeFeature<PadPageFeature>},
    {"lighting", &MakeFeature<LightingFeature>},
    {"lighting pages", &MakeFeature<LightingPagesFeature>},
    {"listeners", &MakeFeature<ListenerFeature>},
    {"key capture", &MakeFeature<KeyCaptureFeature>},
    {"key pages", &MakeFeature<KeyPagesFeature>},
    {"macro pages", &MakeFeature<MacroPagesFeature>},
    {"pages", &MakeFeature<PagesFeature>},
    // After profiles: a linked switch is shown by the profile panels.
    {"links", &MakeFeature<LinksFeature>},
    {"settings", &MakeFeature<SettingsFeature>},
    {"skin", &MakeFeature<SkinFeature>},
    // After presence and lighting: it follows their devices and drives the lighting engine.
    {"sdk server", &MakeFeature<SdkServerFeature>},
    // Last: a command it runs for orvanectl is told to the pages of the features above.
    {"dbus", &MakeFeature<BusFeature>},
};

}  // namespace orvane::app
