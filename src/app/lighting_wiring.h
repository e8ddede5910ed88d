#pragma once
// LightingWiring: the lighting workers in the window. It owns the animation engine and the
// preview coalescer, plugs the four workers into their slots, and connects what changes
// the lighting to them: the mousepad page (mode, edits, same mode, ripple trigger), the
// presence monitors, the re-reads and the 1-second flush (command 6 ends a device's
// synchronised lighting). Create it after DeviceWiring::install() and install() it before
// the window's initialise(); it stops the window's workers before it goes.

#include <memory>

#include "app/lighting_previews.h"
#include "ui/pages/device_models.h"  // before the lighting headers: lifts Qt's "slots" macro
#include "lighting/animation_engine.h"

namespace orvane::app {

class MainWindow;
class DeviceWiring;

class LightingWiring {
public:
    LightingWiring(MainWindow& window, DeviceWiring& devices, lighting::AnimationOptions options = {});
    ~LightingWiring();
    LightingWiring(const LightingWiring&) = delete;
    LightingWiring& operator=(const LightingWiring&) = delete;

    void install();

    /// "kb_deng_same_mode", "ms_deng_same_mode", "mp_deng_same_mode": the source's choice
    /// goes to the other two devices (their pages shown anew, their selected lighting
    /// profiles saved) and all three are handed to the synchronised effect.
    void sameLightingMode(lighting::LightingDevice source);

    lighting::AnimationEngine& engine() { return engine_; }
    PreviewCoalescer& previews() { return *previews_; }

private:
    void refreshAndSave(lighting::LightingDevice device);

    MainWindow& window_;
    DeviceWiring& devices_;
    lighting::AnimationEngine engine_;
    std::unique_ptr<PreviewCoalescer> previews_;
};

}  // namespace orvane::app
