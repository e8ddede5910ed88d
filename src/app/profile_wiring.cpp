#include "app/profile_wiring.h"

#include "app/main_window.h"
#include "app/presence_wiring.h"
#pragma push_macro("slots")
#undef slots
#include "profiles/profile_connect.h"
#pragma pop_macro("slots")

namespace orvane::app {

using device::DeviceKind;
using profiles::ListId;
using profiles::PageAction;

ProfileWiring::Folders ProfileWiring::ProgramFolders() {
    return {profiles::ProfileDataFolder(), profiles::DefaultProfileFolders()};
}

ProfileWiring::ProfileWiring(MainWindow& window, DeviceWiring& devices, Folders folders)
    : store(std::move(folders.data), std::move(folders.defaults), {&devices.keyboard, &devices.mouse, &devices.pad}),
      operations(store, {&window.keyboard(), &window.mouse(), &devices.pointer}),
      panels(operations, {[&window](const QString& name) { return window.control(name); }, &window.dialogs(), &window,
                          [this](ListId id, const profiles::ProfileResult& r) { applyPage(id, r); }}),
      window_(window),
      devices_(devices) {
    PresenceLinks& links = devices.links;
    links.keyboardProfiles = store.hooksFor(DeviceKind::Keyboard);
    links.mouseProfiles = store.hooksFor(DeviceKind::Mouse);
    links.padProfiles = store.hooksFor(DeviceKind::Mousepad);
    // On the mouse monitor's thread with the mouse locked: the store only loads, nothing is sent.
    links.loadMouseLightingProfile = [this] { profiles::LoadRecordedMouseLighting(store); };
    // On the UI thread after the read-back, with no connection lock held (a key profile's
    // bank is sent).
    links.selectStoredProfile = [this](const StoredProfileList& list) {
        if (const auto id = ui::pages::ProfilePanels::ListOfCombo(QLatin1String(list.list))) panels.selectRecorded(*id);
    };
    window.router().setHandler(Owner::Profiles, [this](const ui::Notification& n, const Route&) { panels.handle(n); });
    window.hooks().pageInit.push_back([this] {
        panels.prepare();
        panels.initLists();
    });
}

ProfileWiring::~ProfileWiring() {
    // The monitors call into the store: stop them before it goes.
    window_.workers().stopAll();
    window_.router().setHandler(Owner::Profiles, {});
    PresenceLinks& links = devices_.links;
    links.keyboardProfiles = links.mouseProfiles = links.padProfiles = {};
    links.loadMouseLightingProfile = nullptr;
    links.selectStoredProfile = nullptr;
}

void ProfileWiring::applyPage(ListId id, const profiles::ProfileResult& r) {
    auto run = [](const std::function<void()>& fn) {
        if (fn) fn();
    };
    switch (r.page) {
    case PageAction::None: break;
    case PageAction::RefreshKeyboardLighting: run(devices_.links.refreshKeyboardLighting); break;
    case PageAction::RenderKeyLabels: run(renderKeyLabels); break;
    case PageAction::RefreshButtonLabels: run(refreshButtonLabels); break;
    case PageAction::RefreshPadPage: devices_.refreshPadPage(); break;
    case PageAction::RefreshMousePage:
        devices_.refreshMousePage();
        if (id == ListId::MouseLighting) {
            // The profile's pointer speed and wheel lines (after a reset: 10 and 3).
            const auto data = devices_.mouse.snapshot();
            devices_.dpiPage.showPointerSettings(data.pointerSpeed, data.wheelLines);
        }
        break;
    }
}

}  // namespace orvane::app
