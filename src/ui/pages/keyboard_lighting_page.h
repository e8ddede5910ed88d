// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keyboard's lighting page: the mode of either keyboard variant (each mode shows the
// control groups it uses), brightness, speed, direction, the seven-colour cycle, one colour
// (palette, swatches, R/G/B edits) and, in the custom mode, per-key painting on the
// keyboard picture in five layers. Every change goes into the keyboard model, ends the
// keyboard's synchronised lighting, wakes the animation (which shows it on its next tick)
// and has the selected lighting profile saved (settingsEdited). Nothing is sent from here.

#include <array>
#include <cstdint>
#include <functional>

#include <QObject>

#include "lighting/lighting_edits.h"
#include "runtime/runtime.h"
#include "ui/pages/colour_picker.h"
#include "ui/pages/lighting_controls.h"
#include "ui/pages/page_bindings.h"
#include "ui/pages/page_controls.h"

namespace orvane::ui::pages {

/// One row of a keyboard mode table: the control groups and the direction labels' text ids
/// (null: as they were).
struct KeyboardModeRow {
    Show brightness, direction, colour, sevenColour, speed, palette;
    const char* leftLabel = nullptr;
    const char* rightLabel = nullptr;
    bool custom = false;  ///< the paint tools shown, the colour display hidden
};

// clang-format off
inline constexpr std::array<KeyboardModeRow, lighting::kRgbKeyboardModeCount> kRgbKeyboardModes{{
    {Show::Visible, Show::Off,    Show::Hidden, Show::Off,    Show::Off,    Show::Hidden},   // 0-3 fixed colours
    {Show::Visible, Show::Off,    Show::Hidden, Show::Off,    Show::Off,    Show::Hidden},
    {Show::Visible, Show::Off,    Show::Hidden, Show::Off,    Show::Off,    Show::Hidden},
    {Show::Visible, Show::Off,    Show::Hidden, Show::Off,    Show::Off,    Show::Hidden},
    {Show::Visible, Show::Hidden, Show::Shown,  Show::Hidden, Show::Hidden, Show::Visible, "Deng_FXL_text", "Deng_FXR_text"},  // 4 static
    {Show::Visible, Show::Off,    Show::Shown,  Show::Shown,  Show::Shown,  Show::Visible},  // 5 breathing
    {Show::Visible, Show::Shown,  Show::Shown,  Show::Shown,  Show::Shown,  Show::Visible, "Deng_FXL_text", "Deng_FXR_text"},  // 6 column wave
    {Show::Visible, Show::Off,    Show::Off,    Show::Off,    Show::Shown,  Show::Hidden},   // 7 colour cycle
    {Show::Visible, Show::Shown,  Show::Shown,  Show::Shown,  Show::Shown,  Show::Visible, "Deng_CWISE_text", "Deng_AWISE_text"},  // 8 path wave
    {Show::Visible, Show::Off,    Show::Shown,  Show::Shown,  Show::Shown,  Show::Visible},  // 9 ripple
    {Show::Visible, Show::Shown,  Show::Shown,  Show::Shown,  Show::Shown,  Show::Visible, "Deng_FXDOWN_text", "Deng_FXUP_text"},  // 10 running light
    {Show::Visible, Show::Off,    Show::Shown,  Show::Shown,  Show::Shown,  Show::Visible, "Deng_FXL_text", "Deng_FXR_text"},  // 11 steps
    {Show::Visible, Show::Off,    Show::Shown,  Show::Shown,  Show::Shown,  Show::Visible, "Deng_FXSPEAD_text", "Deng_FXGATHER_text"},  // 12 twinkle
    {Show::Visible, Show::Off,    Show::Shown,  Show::Shown,  Show::Shown,  Show::Visible},  // 13 per-key breathing
    {Show::Hidden,  Show::Off,    Show::Hidden, Show::Off,    Show::Off,    Show::Hidden, "Deng_FXUP_text", "Deng_FXDOWN_text"},  // 14 off
    {Show::Visible, Show::Hidden, Show::Shown,  Show::Hidden, Show::Off,    Show::Visible, nullptr, nullptr, true},  // 15 custom
}};
// The single-colour keyboard has no palette of its own (it shows the fixed colour).
inline constexpr std::array<KeyboardModeRow, lighting::kMonoKeyboardModeCount> kMonoKeyboardModes{{
    {Show::Visible, Show::Off,      Show::Off,             Show::Off,      Show::Off,      Show::Keep},  // 0 static
    {Show::Visible, Show::Off,      Show::Off,             Show::Off,      Show::Shown,    Show::Keep},  // 1 breathing
    {Show::Visible, Show::Shown,    Show::VisibleDisabled, Show::Off,      Show::Shown,    Show::Keep},  // 2 column wave
    {Show::Visible, Show::Shown,    Show::VisibleDisabled, Show::Off,      Show::Shown,    Show::Keep},  // 3 path wave
    {Show::Visible, Show::Off,      Show::Off,             Show::Off,      Show::Shown,    Show::Keep},  // 4 ripple
    {Show::Visible, Show::Shown,    Show::VisibleDisabled, Show::Off,      Show::Shown,    Show::Keep},  // 5 running light
    {Show::Visible, Show::Off,      Show::Off,             Show::Off,      Show::Shown,    Show::Keep},  // 6 flash, columns
    {Show::Visible, Show::Off,      Show::Off,             Show::Off,      Show::Shown,    Show::Keep},  // 7 twinkle
    {Show::Visible, Show::EnabledHidden, Show::Off,        Show::Off,      Show::Shown,    Show::Keep},  // 8 flash, grid
    {Show::Hidden,  Show::Off,      Show::Off,             Show::Off,      Show::Off,      Show::Keep},  // 9 off
    {Show::Visible, Show::Off,      Show::Shown,           Show::Off,      Show::Disabled, Show::Keep, nullptr, nullptr, true},  // 10 custom
    {Show::Keep,    Show::Disabled, Show::Disabled,        Show::Disabled, Show::Enabled,  Show::Keep},  // 11
    {Show::Keep,    Show::Disabled, Show::Disabled,        Show::Disabled, Show::Enabled,  Show::Keep},  // 12
    {Show::Keep,    Show::Enabled,  Show::Disabled,        Show::Disabled, Show::Enabled,  Show::Keep, "Deng_FXSPEAD_text", "Deng_FXGATHER_text"},  // 13 rings
    {Show::Keep,    Show::Enabled,  Show::Disabled,        Show::Disabled, Show::Enabled,  Show::Keep},  // 14
    {Show::Keep,    Show::Disabled, Show::Disabled,        Show::Disabled, Show::Enabled,  Show::Keep},  // 15
    {Show::Keep,    Show::Disabled, Show::Disabled,        Show::Disabled, Show::Enabled,  Show::Keep},  // 16
}};
// clang-format on

/// The colour the single-colour keyboard's page always shows.
inline constexpr uint32_t kMonoKeyboardColour = 0xFF2400FF;

class KeyboardLightingPage {
public:
    using TextOf = std::function<QString(const QString& id)>;

    KeyboardLightingPage(ControlLookup lookup, runtime::Runtime& runtime, TextOf text = {});
    KeyboardLightingPage(const KeyboardLightingPage&) = delete;  // the bindings call back into it
    KeyboardLightingPage& operator=(const KeyboardLightingPage&) = delete;

    /// Once the skin is loaded: swatches, edit limits, the combos' ranges.
    void prepare();
    /// The mode, parameter and colour controls and the paint tool's options (owner:
    /// keyboard lighting).
    const PageBindings& bindings() const { return bindings_; }
    /// The picture's keys, the whole-layer buttons and the layer (owner: keyboard custom
    /// lighting).
    const PageBindings& paintBindings() const { return paintBindings_; }
    /// Shows the keyboard's lighting record (after connection, a profile load, same mode).
    void refresh();
    /// The paint tool lights (true) or erases (false) keys; for the run only.
    bool paintLights() const { return paintLight_; }

private:
    keyboard::KeyboardVariant variant() const { return runtime_.keyboard.variant(); }
    const KeyboardModeRow* rowOf(uint8_t mode) const;
    void selectMode(keyboard::KeyboardVariant v);
    void applyMode(uint8_t mode);
    void hideEmptyPanels();
    void showKeysWithoutLight();
    void showColourOfMode(uint8_t mode);
    void setDirection(bool left);
    void storeColour(const ColourChoice& choice);
    void paintKey(int position);
    void selectLayer();
    void setLabelText(const char* control, const char* textId);
    /// Changes the keyboard's data, ends its synchronised lighting, wakes the animation and
    /// has the lighting profile saved.
    template <class Fn>
    void store(Fn&& change, const runtime::Edit& what = runtime::kLightingEdit);

    PageControls controls_;
    ColourPicker colour_;
    runtime::Runtime& runtime_;
    TextOf text_;
    bool paintLight_ = true;
    bool selectionChanged_ = false;  ///< a selection change ran in this event-loop turn
    PageBindings bindings_;
    PageBindings paintBindings_;
    QObject lifetime_;  ///< ends the page's connections and timers with it
};

}  // namespace orvane::ui::pages
