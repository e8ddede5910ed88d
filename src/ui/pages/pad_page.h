#pragma once
// The mousepad page: lighting mode (with the controls each mode uses), brightness, speed,
// direction, seven-colour cycle, colour (palette, 30 swatches, R/G/B edits), the on-board
// slot and restore-defaults. Edits go into the pad model and mark it changed (the 1-second
// flush sends it) and save the selected lighting profile.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "device/protocol/connection.h"
#include "ui/pages/device_models.h"
#include "profiles/profile_hooks.h"
#include "ui/notification.h"
#include "ui/pages/colour_picker.h"
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
    /// What the page asks of other parts of the program; empty ones are skipped.
    struct Links {
        std::function<void()> endSynchronisedLighting;  ///< a mode choice ends it on all devices
        std::function<void()> resetAnimation;
        std::function<void()> setFirstTrigger;          ///< ripple mode
        std::function<void()> sameMode;                 ///< "mp_deng_same_mode"
        /// A lighting control changed the pad's state: the pad leaves synchronised lighting.
        std::function<void()> lightingEdited;
        /// The page shows the pad state anew (read-back, slot, profile, same mode).
        std::function<void()> stateShown;
        /// After the restore-defaults report: read the pad back a second later.
        std::function<void()> readBackLater;
    };

    PadPage(ControlLookup lookup, protocol::DeviceConnection& pad, mousepad::PadModel& model,
            const profiles::ProfileHooks& profiles);
    PadPage(const PadPage&) = delete;  // the colour picker calls back into this page
    PadPage& operator=(const PadPage&) = delete;

    void prepare();
    bool handle(const Notification& n);
    /// Shows the pad state.
    void refresh();

    Links links;

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
    protocol::DeviceConnection& pad_;
    mousepad::PadModel& model_;
    const profiles::ProfileHooks& profiles_;
};

}  // namespace orvane::ui::pages
