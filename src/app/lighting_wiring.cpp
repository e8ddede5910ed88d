#include "app/lighting_wiring.h"

#include "app/main_window.h"
#include "app/presence_wiring.h"

namespace orvane::app {

using lighting::LightingDevice;

namespace {

lighting::AnimationDevices DevicesOf(MainWindow& window, DeviceWiring& devices) {
    return {window.keyboard(), window.mouse(), window.mousepad(), devices.keyboard, devices.mouse, devices.pad};
}

// A flush or re-read, then a look by the workers when it ended synchronised lighting or
// changed the record they read.
std::function<void()> ThenWake(std::function<void()> step, lighting::AnimationEngine& engine) {
    return [step = std::move(step), &engine] {
        if (step) step();
        engine.changed();
    };
}

}  // namespace

LightingWiring::LightingWiring(MainWindow& window, DeviceWiring& devices, lighting::AnimationOptions options)
    : window_(window), devices_(devices), engine_(DevicesOf(window, devices), std::move(options)),
      previews_(std::make_unique<PreviewCoalescer>([&window](size_t cell) { return window.previews()[cell]; })) {
    engine_.setPreviewSink(previews_.get());
}

LightingWiring::~LightingWiring() {
    // The workers use the engine and the previews: stop them before those go.
    window_.workers().stopAll();
    auto& links = devices_.padPage.links;
    links.sameMode = links.resetAnimation = links.setFirstTrigger = links.lightingEdited = links.stateShown = nullptr;
    links.endSynchronisedLighting = [this, &window = window_] {
        for (auto* c : {&window.keyboard(), &window.mouse(), &window.mousepad()}) c->syncLighting = false;
    };
    devices_.presenceChanged = nullptr;
}

void LightingWiring::install() {
    struct Worker {
        WorkerSlot slot;
        const char* name;
        void (lighting::AnimationEngine::*run)(std::stop_token);
    };
    for (const auto& w : {Worker{WorkerSlot::KeyboardLighting, "keyboard lighting", &lighting::AnimationEngine::runKeyboard},
                          Worker{WorkerSlot::MouseLighting, "mouse lighting", &lighting::AnimationEngine::runMouse},
                          Worker{WorkerSlot::MousepadLighting, "mousepad lighting", &lighting::AnimationEngine::runPad},
                          Worker{WorkerSlot::SynchronisedLighting, "synchronised lighting",
                                 &lighting::AnimationEngine::runSynchronised}})
        window_.workers().plug(w.slot, {w.name, [this, run = w.run](std::stop_token stop) { (engine_.*run)(stop); }, {}});

    auto& links = devices_.padPage.links;
    links.endSynchronisedLighting = [this] { engine_.endAllSynchronised(); };
    links.resetAnimation = [this] { engine_.requestReset(LightingDevice::Pad); };
    links.setFirstTrigger = [this] { engine_.setPadFirstTrigger(); };
    links.lightingEdited = [this] { engine_.endSynchronised(LightingDevice::Pad); };
    links.stateShown = [this] { engine_.changed(); };
    links.sameMode = [this] { sameLightingMode(LightingDevice::Pad); };
    devices_.presenceChanged = [this] { engine_.changed(); };

    ShellHooks& hooks = window_.hooks();
    hooks.flushMouse = ThenWake(std::move(hooks.flushMouse), engine_);
    hooks.flushPad = ThenWake(std::move(hooks.flushPad), engine_);
    hooks.readBackMouse = ThenWake(std::move(hooks.readBackMouse), engine_);
    hooks.reloadMouseSlotZero = ThenWake(std::move(hooks.reloadMouseSlotZero), engine_);
}

void LightingWiring::refreshAndSave(LightingDevice device) {
    PresenceLinks& links = devices_.links;
    switch (device) {
    case LightingDevice::Keyboard:
        if (links.refreshKeyboardLighting) links.refreshKeyboardLighting();
        links.keyboardProfiles.saveLighting();
        break;
    case LightingDevice::Mouse:
        devices_.refreshMousePage();
        links.mouseProfiles.saveLighting();
        break;
    case LightingDevice::Pad:
        devices_.refreshPadPage();
        links.padProfiles.saveLighting();
        break;
    }
}

void LightingWiring::sameLightingMode(LightingDevice source) {
    const auto outcome = engine_.copyForSameMode(source);
    for (LightingDevice other : outcome.others) refreshAndSave(other);
    engine_.startSynchronised();
}

}  // namespace orvane::app
