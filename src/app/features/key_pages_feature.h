// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The key pages: the keyboard's key page and the mouse's button page. Each shows its device
// anew when it connects, its model changed or a key profile was loaded; takes the input
// captured for it; reads its macro list again when the device's macros changed. Its editor
// is hidden whenever the page comes up and whenever it shows its device anew (a slot switch).

#include <memory>

#include "app/feature.h"
#include "ui/pages/button_page.h"
#include "ui/pages/key_page.h"

namespace orvane::app {

class KeyPagesFeature final : public Feature {
public:
    void install(FeatureContext& context) override;
    ui::pages::KeyboardKeyPage& keyboardPage() { return *keyboard_; }
    ui::pages::MouseButtonPage& mousePage() { return *mouse_; }

private:
    /// Runs fn on the key page of the device kind (the keyboard's or the mouse's), if any.
    template <class Fn>
    void onPage(device::DeviceKind kind, Fn&& fn) {
        if (kind == device::DeviceKind::Keyboard) fn(*keyboard_);
        if (kind == device::DeviceKind::Mouse) fn(*mouse_);
    }

    std::unique_ptr<ui::pages::KeyboardKeyPage> keyboard_;
    std::unique_ptr<ui::pages::MouseButtonPage> mouse_;
};

}  // namespace orvane::app
