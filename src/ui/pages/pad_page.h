// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mousepad page: lighting mode (with the controls each mode uses), brightness, speed,
// direction, seven-colour cycle, colour (palette, 30 swatches, R/G/B edits), the on-board
// slot and restore-defaults. Edits and device work go through the pad's session, which marks
// the settings record for the 1-second flush, saves the selected lighting profile and runs
// the slot switch, the reset and the read-back after it as pad jobs.

#include <array>
#include <cstdint>


#include "runtime/runtime.h"
#include "ui/notification.h"
#include "ui/pages/colour_picker.h"
#include "ui/pages/lighting_controls.h"
#include "ui/pages/page_bindings.h"
#include "ui/pages/page_controls.h"

namespace orvane::ui::pages {

/// What each mode does to the page's control groups (the same Show values the mouse's and
/// the keyboard's tables use): the pad's groups are enabled or disabled, never hidden.
struct PadModeRow {
    Show direction, colour, sevenColour, speed, sameMode;
};
inline constexpr size_t kPadModeCount = 10;
// clang-format off
inline constexpr std::array<PadModeRow, kPadModeCount> kPadModes{{
    {Show::Enabled,  Show::Enabled,  Show::Enabled,  Show::Enabled,  Show::Enabled},  // 0 wave
    {Show::Disabled, Show::Disabled, Show::Disabled, Show::Enabled,  Show::Enabled},  // 1 spectrum
    {Show::Disabled, Show::Enabled,  Show::Enabled,  Show::Enabled,  Show::Enabled},  // 2 breathing
    {Show::Disabled, Show::Enabled,  Show::Disabled, Show::Disabled, Show::Enabled},  // 3 static
    {Show::Enabled,  Show::Enabled,  Show::Enabled,  Show::Enabled,  Show::Disabled},  // 4 sweep
    {Show::Enabled,  Show::Enabled,  Show::Enabled,  Show::Enabled,  Show::Disabled},  // 5 ripple
    {Show::Disabled, Show::Disabled, Show::Disabled, Show::Enabled,  Show::Disabled},  // 6 column rainbow
    {Show::Disabled, Show::Enabled,  Show::Enabled,  Show::Enabled,  Show::Disabled},  // 7 fill and empty
    {Show::Disabled, Show::Enabled,  Show::Enabled,  Show::Disabled, Show::Disabled},  // 8 flash on click
    {Show::Disabled, Show::Enabled,  Show::Enabled,  Show::Keep,     Show::Disabled},  // 9 off
}};
// clang-format on
inline constexpr uint8_t kRippleMode = 5;  ///< its first trigger is set when chosen

class PadPage {
public:
    PadPage(ControlLookup lookup, runtime::Runtime& runtime);
    PadPage(const PadPage&) = delete;  // the colour picker and the bindings call back into it
    PadPage& operator=(const PadPage&) = delete;

    /// Once the skin is loaded: preset swatches, edit limits.
    void prepare();
    const PageBindings& bindings() const { return bindings_; }
    /// Shows the pad state.
    void refresh();

private:
    void selectMode();
    void applyModeControls(size_t mode);
    void storeColour(const ColourChoice& choice);
    void setDirection(bool left);
    void selectSlot();
    void restoreDefaults();
    template <class Fn>
    void store(Fn&& change, const runtime::Edit& what = runtime::kLightingEdit);  ///< through the pad's session

    PageControls controls_;
    ColourPicker colour_;  ///< "mp_deng_Color_Pallet", "mp_Deng_colordp_btn", "mp_Deng_edit_R/G/B", presets
    runtime::Runtime& runtime_;
    mousepad::PadModel& model_;
    PageBindings bindings_;
};

}  // namespace orvane::ui::pages
