// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mousepad page: lighting mode (with the controls each mode uses), brightness, speed,
// direction, seven-colour cycle, colour (palette, 30 swatches, R/G/B edits), the on-board
// slot and restore-defaults. Edits go into the pad model and mark it changed (the 1-second
// flush sends it); settingsEdited has the selected lighting profile saved. Device work (slot
// switch, restore defaults and the read-back after it) runs as pad jobs.

#include <array>
#include <cstdint>

#include <QObject>

#include "runtime/runtime.h"
#include "ui/notification.h"
#include "ui/pages/colour_picker.h"
#include "ui/pages/page_bindings.h"
#include "ui/pages/page_controls.h"

namespace orvane::ui::pages {

/// Which controls a lighting mode uses: enabled, disabled, or left as they are.
enum class Use : uint8_t { On, Off, Keep };
struct PadModeControls {
    Use direction, colour, sevenColour, speed, sameMode;
};
inline constexpr size_t kPadModeCount = 10;
inline constexpr std::array<PadModeControls, kPadModeCount> kPadModeControls{{
    {Use::On, Use::On, Use::On, Use::On, Use::On},      // 0 wave
    {Use::Off, Use::Off, Use::Off, Use::On, Use::On},   // 1 spectrum
    {Use::Off, Use::On, Use::On, Use::On, Use::On},     // 2 breathing
    {Use::Off, Use::On, Use::Off, Use::Off, Use::On},   // 3 static
    {Use::On, Use::On, Use::On, Use::On, Use::Off},     // 4 sweep
    {Use::On, Use::On, Use::On, Use::On, Use::Off},     // 5 ripple
    {Use::Off, Use::Off, Use::Off, Use::On, Use::Off},  // 6 column rainbow
    {Use::Off, Use::On, Use::On, Use::On, Use::Off},    // 7 fill and empty
    {Use::Off, Use::On, Use::On, Use::Off, Use::Off},   // 8 flash on click
    {Use::Off, Use::On, Use::On, Use::Keep, Use::Off},  // 9 off
}};
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
    void store(Fn&& change);  ///< changes the state, marks it for the flush, saves the profile

    PageControls controls_;
    ColourPicker colour_;  ///< "mp_deng_Color_Pallet", "mp_Deng_colordp_btn", "mp_Deng_edit_R/G/B", presets
    runtime::Runtime& runtime_;
    mousepad::PadModel& model_;
    PageBindings bindings_;
    QObject lifetime_;  ///< ends the page's pending timers with it
};

}  // namespace orvane::ui::pages
