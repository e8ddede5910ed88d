// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mouse's performance page: the six DPI stages with their limits and the stage in use,
// the DPI indicator colour, the report rate, the lift-off height, and the desktop pointer
// speed and wheel lines kept with the lighting profile. Edits go through the mouse's session:
// it marks the settings record for the 1-second flush, hands the desktop values to the
// pointer settings and has the selected lighting profile saved.

#include <cstdint>

#include "runtime/runtime.h"
#include "ui/notification.h"
#include "ui/pages/colour_picker.h"
#include "ui/pages/page_bindings.h"
#include "ui/pages/page_controls.h"

namespace orvane::ui::pages {

class MouseDpiPage {
public:
    MouseDpiPage(ControlLookup lookup, runtime::Runtime& runtime);
    MouseDpiPage(const MouseDpiPage&) = delete;  // the colour picker calls back into this page
    MouseDpiPage& operator=(const MouseDpiPage&) = delete;

    /// Once the skin is loaded: swatch colours, edit limits.
    void prepare();
    const PageBindings& bindings() const { return bindings_; }
    /// Shows everything of the page the mouse model holds (the refresh of the mouse page).
    void refresh();

    // Parts of the mouse page refresh, in the order it calls them.
    void showReportRate();
    /// Limits per sensor (writes the sensor's minimum DPI into the information record),
    /// stage sliders and labels, the stage in use, stage 6, the lift-off height.
    void showStages();
    /// "Pallet", the swatch and the R/G/B edits from the stored DPI colour.
    void showDpiColour();
    /// What "ms_one_profile_default" shows: slider 5 (speed 10) and 3 wheel lines.
    void showPointerDefaults();
    /// A lighting profile's pointer speed and wheel lines (profile selection).
    void showPointerSettings(int speed, int lines);
    /// The note that the desktop applies only part of the pointer settings (they are still
    /// kept in the profile).
    void showPointerNote(bool partlyApplied);

private:
    void setDpiStage(int stage, bool labelOnly);
    /// A DPI typed into a stage's value edit: snapped to the sensor's step and range.
    void typeDpi(int stage);
    void setLiftOff();
    void setReportRate();
    void setPointerSpeed();
    void storeDpiColour(const ColourChoice& choice);
    void stepWheelLines(int direction);
    void showStageLabel(int stage, const mouse::MouseDeviceInfo& info, int position);

    PageControls controls_;
    ColourPicker dpiColour_;  ///< "Pallet", "ms_DPI_colordp_btn", "ms_DPI_edit_R/G/B", presets
    runtime::Runtime& runtime_;
    mouse::MouseModel& model_;
    PageBindings bindings_;
};

/// "ms_DPI<n>_slider" → n (1-6), else 0.
int DpiStageOfSlider(const QString& name);
/// Control names of stage n (1-6).
QString DpiStageControl(int stage, const char* suffix);

}  // namespace orvane::ui::pages
