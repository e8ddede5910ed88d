// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lighting section of the mouse page: one of ten modes (each with the control groups it
// uses), brightness, speed, direction, the seven-colour cycle and one colour (palette,
// swatches, R/G/B edits), and the same-mode button. Every change goes into the mouse state,
// ends the mouse's synchronised lighting, wakes the animation and has the selected lighting
// profile saved; only the mode change also marks the state for the 1-second flush.

#include <array>
#include <cstdint>

#include "lighting/lighting_edits.h"
#include "runtime/runtime.h"
#include "ui/pages/colour_picker.h"
#include "ui/pages/lighting_controls.h"
#include "ui/pages/page_bindings.h"
#include "ui/pages/page_controls.h"

namespace orvane::ui::pages {

struct MouseModeRow {
    Show direction, colour, sevenColour, speed, palette;
    bool sameMode;  ///< same mode offered (unless a single-colour keyboard is connected)
};

// clang-format off
inline constexpr std::array<MouseModeRow, lighting::kMouseModeCount> kMouseModes{{
    {Show::Off,      Show::Shown,   Show::Off,     Show::Off,     Show::Visible, true},   // 0 static
    {Show::Off,      Show::Shown,   Show::Shown,   Show::Shown,   Show::Visible, true},   // 1 breathing
    {Show::Shown,    Show::Shown,   Show::Shown,   Show::Shown,   Show::Visible, true},   // 2 wave
    {Show::Off,      Show::Off,     Show::Off,     Show::Shown,   Show::Hidden,  true},   // 3 spectrum
    {Show::Shown,    Show::Shown,   Show::Shown,   Show::Shown,   Show::Visible, false},  // 4 ripple
    {Show::Off,      Show::Shown,   Show::Shown,   Show::Shown,   Show::Visible, false},  // 5 flash on click
    {Show::Off,      Show::Shown,   Show::Shown,   Show::Shown,   Show::Visible, false},  // 6 blink
    {Show::Disabled, Show::Enabled, Show::Enabled, Show::Enabled, Show::Keep,    false},  // 7 blink
    {Show::Disabled, Show::Enabled, Show::Enabled, Show::Enabled, Show::Keep,    false},  // 8 no frames
    {Show::Disabled, Show::Enabled, Show::Enabled, Show::Enabled, Show::Keep,    false},  // 9 no frames
}};
// clang-format on
inline constexpr uint8_t kMouseRippleMode = 4;

class MouseLightingPage {
public:
    MouseLightingPage(ControlLookup lookup, runtime::Runtime& runtime);
    MouseLightingPage(const MouseLightingPage&) = delete;  // the bindings call back into it
    MouseLightingPage& operator=(const MouseLightingPage&) = delete;

    void prepare();
    const PageBindings& bindings() const { return bindings_; }
    /// Shows the mouse's lighting (part of the mouse page's refresh).
    void refresh();
    /// The same-mode button: enabled per mode unless the connected keyboard is the
    /// single-colour one. (The mouse's presence shows it while the keyboard or the mousepad
    /// is connected.)
    void showSameMode();

private:
    void selectMode();
    void applyMode(uint8_t mode);
    void setDirection(bool left);
    void storeColour(const ColourChoice& choice);
    template <class Fn>
    void store(Fn&& change, const runtime::Edit& what = runtime::kLightingEdit);

    PageControls controls_;
    ColourPicker colour_;
    runtime::Runtime& runtime_;
    PageBindings bindings_;
};

}  // namespace orvane::ui::pages
