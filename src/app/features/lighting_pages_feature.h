// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keyboard's lighting page and the mouse page's lighting section. Each shows its device
// anew when the device arrives and whenever its model changed (a profile load, same mode,
// a re-read); the mouse's same-mode button follows the keyboard and the mousepad coming
// and going.

#include <memory>

#include "app/feature.h"
#include "ui/pages/keyboard_lighting_page.h"
#include "ui/pages/mouse_lighting_page.h"

namespace orvane::app {

class LightingPagesFeature final : public Feature {
public:
    void install(FeatureContext& context) override;
    ui::pages::KeyboardLightingPage& keyboardPage() { return *keyboard_; }
    ui::pages::MouseLightingPage& mousePage() { return *mouse_; }

private:
    std::unique_ptr<ui::pages::KeyboardLightingPage> keyboard_;
    std::unique_ptr<ui::pages::MouseLightingPage> mouse_;
};

}  // namespace orvane::app
