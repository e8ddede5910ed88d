// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/pages/pad_page.h"

#include "ui/pages/device_models.h"

namespace orvane::ui::pages {

using mousepad::PadData;
using mousepad::PadState;

namespace {

const QString kModeCombo = QStringLiteral("mp_deng_combo_modeSelect");
const QString kLightSlider = QStringLiteral("mp_deng_light_slider");
const QString kSpeedSlider = QStringLiteral("mp_deng_speed_slider");
const QString kSevenColour = QStringLiteral("mp_Deng_7color_check");
const QString kLeft = QStringLiteral("mp_Deng_FXL_check");
const QString kRight = QStringLiteral("mp_Deng_FXR_check");
const QString kSlotCombo = QStringLiteral("mp_deng_combo_profile");

const ColourControlNames kPadColourControls{
    .palette = "mp_deng_Color_Pallet",
    .swatch = "mp_Deng_colordp_btn",
    .presetFamily = "mp_Deng_color_btn_",
    .edits = {"mp_Deng_edit_R", "mp_Deng_edit_G", "mp_Deng_edit_B"},
    .uncheckedOnChoice = "mp_Deng_7color_check",  // a chosen colour ends the colour cycle
};
}  // namespace

PadPage::PadPage(ControlLookup lookup, runtime::Runtime& runtime)
    : controls_(lookup),
      colour_(lookup, kPadColourControls, [this](const ColourChoice& c) { storeColour(c); }),
      runtime_(runtime),
      model_(runtime.pad) {
    using namespace event;
    bindings_.on(kModeCombo, kItemSelect, [this](const Notification&) { selectMode(); })
        .on(kLightSlider, kValueChanged, [this](const Notification&) {
            const int position = std::max(0, controls_.sliderValue(kLightSlider));
            store([&](PadState& s) { s.set(PadState::off::brightness, uint8_t(std::min(position, 255))); });
        })
        .on(kSpeedSlider, kValueChanged, [this](const Notification&) {
            const uint8_t speed = mousepad::PadSpeedFromSlider(controls_.sliderValue(kSpeedSlider));
            store([&](PadState& s) { s.set(PadState::off::speed, speed); });
        })
        .on(kSevenColour, kSelectChanged, [this](const Notification&) {
            const bool on = controls_.checked(kSevenColour);
            store([&](PadState& s) { s.set(PadState::off::sevenColour, on ? 1 : 0); });
        })
        .on(kLeft, kClick, [this](const Notification&) { setDirection(true); })
        .on(kRight, kClick, [this](const Notification&) { setDirection(false); })
        .on("mp_deng_same_mode", kClick, [this](const Notification&) { runtime_.padSession().sameLightingMode(); })
        .on(kSlotCombo, kItemSelect, [this](const Notification&) { selectSlot(); })
        .on("mp_one_profile_default", kClick, [this](const Notification&) { restoreDefaults(); })
        .include(colour_.bindings());
}

void PadPage::prepare() { colour_.prepare(); }

template <class Fn>
void PadPage::store(Fn&& change, const runtime::Edit& what) {
    runtime_.padSession().edit(what, [&](PadData& d) { change(d.state); });
}

void PadPage::applyModeControls(size_t mode) {
    if (mode >= kPadModes.size()) return;
    const PadModeRow& row = kPadModes[mode];
    ApplyShow(controls_, QStringLiteral("mp_deng_fx_layout"), row.direction);
    ApplyShow(controls_, QStringLiteral("mp_deng_color_layout"), row.colour);
    ApplyShow(controls_, QStringLiteral("mp_deng_7colorselect_layout"), row.sevenColour);
    ApplyShow(controls_, QStringLiteral("mp_deng_speed_layout"), row.speed);
    ApplyShow(controls_, QStringLiteral("mp_deng_same_mode"), row.sameMode);
    if (mode == kRippleMode) runtime_.lighting.setPadFirstTrigger();
}

void PadPage::selectMode() {
    const int mode = controls_.comboIndex(kModeCombo);
    if (mode < 0) return;  // the list lost its selection
    applyModeControls(size_t(mode));
    store([&](PadState& s) { s.set(PadState::off::lightingMode, uint8_t(mode)); }, runtime::kModeEdit);
}

void PadPage::setDirection(bool left) {
    controls_.setChecked(kLeft, left);
    controls_.setChecked(kRight, !left);
    store([&](PadState& s) { s.set(PadState::off::direction, left ? 1 : 0); });
}

void PadPage::storeColour(const ColourChoice& choice) {
    store([&](PadState& s) {
        choice.storeInto(s, PadState::off::colour);
        s.set(PadState::off::sevenColour, 0);
    });
}

void PadPage::selectSlot() {
    const int index = controls_.comboIndex(kSlotCombo);
    // No selection is passed on as a slot that does not exist: nothing is sent.
    if (index < 0) return;
    runtime_.padSession().selectSlot(unsigned(index));
}

void PadPage::restoreDefaults() { runtime_.padSession().resetDefaults(); }

void PadPage::refresh() {
    const PadState s = model_.state();
    controls_.setComboIndex(kModeCombo, s.lightingMode());
    if (s.lightingMode() < kPadModes.size() - 1) applyModeControls(s.lightingMode());  // mode 9: as they are
    controls_.setSlider(kLightSlider, s.brightness());
    controls_.setSlider(kSpeedSlider, mousepad::PadSliderFromSpeed(s.speed()));
    colour_.show(mouse::ArgbOf(s.colour()));
    controls_.setChecked(kSevenColour, s.at(PadState::off::sevenColour) != 0);
    const bool left = s.at(PadState::off::direction) != 0;
    controls_.setChecked(kLeft, left);
    controls_.setChecked(kRight, !left);
    controls_.setComboIndex(kSlotCombo, s.activeSlot());
}

}  // namespace orvane::ui::pages
