#pragma once
// The keyboard's and the mouse's macro editors and the mouse's cursor page: the capture
// service that records for the editors (its input goes out as inputCaptured and comes back
// to the editor of that target), the end of recording when capture ends, and the read of
// the mouse's cursor sequences after every mouse connect.

#include <array>
#include <memory>

#include "app/feature.h"
#include "ui/control_index.h"
#include "ui/input_capture.h"
#include "ui/pages/cursor_page.h"
#include "ui/pages/macro_page.h"

namespace orvane::app {

class MacroPagesFeature final : public Feature {
public:
    ~MacroPagesFeature() override;
    void install(FeatureContext& context) override;

    ui::pages::MacroPage& macroPage(macros::MacroSet set) { return *pages_[set == macros::MacroSet::Keyboard ? 0 : 1]; }
    ui::pages::CursorPage& cursorPage() { return *cursor_; }
    ui::InputCapture& capture() { return *capture_; }

private:
    std::unique_ptr<ui::InputCapture> capture_;
    std::array<std::unique_ptr<ui::pages::MacroPage>, 2> pages_;
    ui::ControlIndex cursorControls_;  ///< the mouse page's copy of the cursor layout
    std::unique_ptr<ui::pages::CursorPage> cursor_;
};

}  // namespace orvane::app
