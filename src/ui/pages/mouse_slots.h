#pragma once
// The mouse's on-board slots ("ms_profile_0" ... "ms_profile_4"), its restore-defaults button
// ("ms_one_profile_default") and the refresh of the whole mouse page. The lighting and
// button sections plug their parts of the refresh into MouseRefreshParts.

#include <functional>

#include "device/protocol/connection.h"
#include "ui/pages/device_models.h"
#include "ui/notification.h"
#include "ui/pages/mouse_dpi_page.h"
#include "ui/pages/page_controls.h"

namespace orvane::ui::pages {

/// The parts of the mouse page refresh that other sections own, in refresh order.
struct MouseRefreshParts {
    std::function<void()> lightingMode;     ///< mode list and which lighting controls show
    std::function<void()> lightingSliders;  ///< brightness and speed
    std::function<void()> lightingColour;   ///< palette, swatch, R/G/B edits
    std::function<void()> lightingChecks;   ///< seven-colour and direction
    std::function<void()> buttonLabels;     ///< the six button labels of the active key page
};

class MouseSlotsPage {
public:
    MouseSlotsPage(ControlLookup lookup, protocol::DeviceConnection& mouse, mouse::MouseModel& model,
                   platform::PointerSettings& pointer, MouseDpiPage& dpi);

    bool handle(const Notification& n);
    /// Shows the whole mouse state and the active key page.
    void refresh();

    MouseRefreshParts parts;

private:
    void selectSlot(int slot);
    void restoreDefaults();
    void showActiveSlot(unsigned slot);

    PageControls controls_;
    protocol::DeviceConnection& mouse_;
    mouse::MouseModel& model_;
    platform::PointerSettings& pointer_;
    MouseDpiPage& dpi_;
};

inline constexpr char kMouseSlotFamily[] = "ms_profile_";

}  // namespace orvane::ui::pages
