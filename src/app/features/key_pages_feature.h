// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The key pages: the keyboard's key page and the mouse's button page. Each shows its device
// anew when it connects, its model changed or a key profile was loaded; takes the input
// captured for it; reads its macro list again when the device's macros changed. The
// keyboard's sub-page options (lighting, macros, keys) bring up their pages of "kb_tab_switch".

#include <array>
#include <memory>

#include "app/feature.h"
#include "ui/pages/button_page.h"
#include "ui/pages/key_page.h"
#include "ui/pages/sub_pages.h"

namespace orvane::app {

class KeyPagesFeature final : public Feature {
public:
    void install(FeatureContext& context) override;
    ui::pages::KeyboardKeyPage& keyboardPage() { return *keyboard_; }
    ui::pages::MouseButtonPage& mousePage() { return *mouse_; }

private:
    void refresh(device::DeviceKind kind);
    void showKeyboardPage(const ui::Notification& n);

    MainWindow* window_ = nullptr;
    std::unique_ptr<ui::pages::KeyboardKeyPage> keyboard_;
    std::unique_ptr<ui::pages::MouseButtonPage> mouse_;
    std::array<ui::pages::PageBindings, 3> keyboardOptions_;
    std::unique_ptr<ui::pages::SubPages> subPages_;
    std::unique_ptr<QObject> pageWatch_;  ///< ends the page-switch connections with the feature
};

}  // namespace orvane::app
