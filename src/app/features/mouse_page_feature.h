// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mouse page: its performance section (DPI stages, report rate, lift-off, pointer and
// wheel), the on-board slot buttons, the 1-second push of the changed settings record, and
// showing the mouse anew whenever its model changed.

#include <memory>

#include "app/feature.h"
#include "ui/pages/mouse_dpi_page.h"
#include "ui/pages/mouse_slots.h"

namespace orvane::app {

class MousePageFeature final : public Feature {
public:
    void install(FeatureContext& context) override;
    /// Brings up the page's performance section (when the mouse is there).
    void showPerformance();
    ui::pages::MouseDpiPage& dpiPage() { return *dpi_; }

private:
    void refresh();
    void showPointerSettings();

    runtime::Runtime* rt_ = nullptr;
    MainWindow* window_ = nullptr;
    std::unique_ptr<ui::pages::MouseDpiPage> dpi_;
    std::unique_ptr<ui::pages::MouseSlotsPage> slots_;
};

}  // namespace orvane::app
