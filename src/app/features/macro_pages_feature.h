// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keyboard's and the mouse's macro editors and the mouse's cursor page: recording asks
// the capture service (captureRequested) and takes its input back from inputCaptured for the
// editor of that target, recording ends when capture ends, and the mouse's cursor sequences
// are read after every mouse connect.

#include <array>
#include <memory>

#include "app/feature.h"
#include "ui/pages/cursor_page.h"
#include "ui/pages/macro_page.h"

namespace orvane::app {

class MacroPagesFeature final : public Feature {
public:
    ~MacroPagesFeature() override;
    void install(FeatureContext& context) override;

    ui::pages::MacroPage& macroPage(macros::MacroSet set) { return *pages_[set == macros::MacroSet::Keyboard ? 0 : 1]; }
    ui::pages::CursorPage& cursorPage() { return *cursor_; }

private:
    std::array<std::unique_ptr<ui::pages::MacroPage>, 2> pages_;
    std::unique_ptr<ui::pages::CursorPage> cursor_;
};

}  // namespace orvane::app
