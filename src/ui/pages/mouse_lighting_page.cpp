// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/pages/mouse_lighting_page.h"

#include "ui/pages/device_models.h"

namespace orvane::ui::pages {

using mouse::MouseData;
using mouse::MouseState;

namespace {

const QString kModeCombo = QStringLiteral("ms_deng_combo_modeSelect");
const QString kLightSlider = QStringLiteral("ms_deng_light_slider");
const QString kSpeedSlider = QStringLiteral("ms_deng_speed_slider");
const QString kSevenColour = QStringLiteral("ms_Deng_7color_check");
const QString kLeft = QStringLiteral("ms_Deng_FXL_check");
const QString kRight = QStringLiteral("ms_Deng_FXR_check");
const QString kSameMode = QStringLiteral("ms_deng_same_mode");
const QString kPalette = QStringLiteral("ms_deng_Color_Pallet");

const ColourControlNames kMouseColourControls{
    .palette = "ms_deng_Color_Pallet",
    .swatch = "ms_Deng_colordp_btn",
    .presetFamily = "ms_Deng_color_btn_",
    .edits = {"ms_Deng_edit_R", "ms_Deng_edit_G", "ms_Deng_edit_B"},
    .uncheckedOnChoice = "ms_Deng_7color_check",  // a chosen colour ends the colour cycle
};

using device::DeviceKind;

}  // namespace

MouseLightingPage::MouseLightingPage(ControlLookup lookup, runtime::Runtime& runtime)
    : controls_(lookup),
      colour_(lookup, kMouseColourControls, [this](const ColourChoice& c) { storeColour(c); }),
      runtime_(runtime) {
    using namespace event;
    bindings_.on(kModeCombo, kItemSelect, [this](const Notification&) { selectMode(); })
        .on(kLightSlider, kValueChanged,
            [this](const Notification&) {
                const int position =
                    std::clamp(controls_.sliderValue(kLightSlider), 0, lighting::kBrightnessSteps - 1);
                store([&](MouseState& s) { s.set(MouseState::off::brightness, uint8_t(position)); });
            })
        .on(kSpeedSlider, kValueChanged,
            [this](const Notification&) {
                const uint8_t speed = lighting::SpeedFromSlider(controls_.sliderValue(kSpeedSlider));
                store([&](MouseState& s) { s.set(MouseState::off::speed, speed); });
            })
        .on(kSevenColour, kSelectChanged,
            [this](const Notification&) {
                const bool on = controls_.checked(kSevenColour);
                store([&](MouseState& s) { s.set(MouseState::off::sevenColour, on ? 1 : 0); });
            })
        .on(kLeft, kClick, [this](const Notification&) { setDirection(true); })
        .on(kRight, kClick, [this](const Notification&) { setDirection(false); })
        .on(kSameMode, kClick, [this](const Notification&) { runtime_.mouseSession().sameLightingMode(); })
        .include(colour_.bindings());
}

void MouseLightingPage::prepare() {
    colour_.prepare();
    controls_.setSliderRange(kLightSlider, 0, lighting::kBrightnessSteps - 1);
    controls_.setSliderRange(kSpeedSlider, 0, lighting::kSlowestSpeed);
}

template <class Fn>
void MouseLightingPage::store(Fn&& change, const runtime::Edit& what) {
    runtime_.mouseSession().edit(what, [&](MouseData& d) { change(d.state); });
}

void MouseLightingPage::showSameMode() {
    const uint8_t mode = runtime_.mouse.state().lightingMode();
    const bool monoKeyboard = runtime_.connected(DeviceKind::Keyboard) &&
                              runtime_.keyboard.variant() == keyboard::KeyboardVariant::SingleColour;
    controls_.setEnabled(kSameMode, mode < kMouseModes.size() && kMouseModes[mode].sameMode && !monoKeyboard);
}

void MouseLightingPage::applyMode(uint8_t mode) {
    if (mode >= kMouseModes.size()) return;
    const MouseModeRow& row = kMouseModes[mode];
    ApplyShow(controls_, QStringLiteral("ms_deng_fx_layout"), row.direction);
    ApplyShow(controls_, QStringLiteral("ms_deng_color_layout"), row.colour);
    ApplyShow(controls_, QStringLiteral("ms_deng_7colorselect_layout"), row.sevenColour);
    ApplyShow(controls_, QStringLiteral("ms_deng_speed_layout"), row.speed);
    ApplyShow(controls_, kPalette, row.palette);
}

void MouseLightingPage::selectMode() {
    const int index = controls_.comboIndex(kModeCombo);
    if (index < 0 || size_t(index) >= kMouseModes.size()) return;
    applyMode(uint8_t(index));
    // The animation starts afresh (the ripple at the position its direction gives).
    store([&](MouseState& s) { s.set(MouseState::off::lightingMode, uint8_t(index)); }, runtime::kModeEdit);
    showSameMode();
}

void MouseLightingPage::setDirection(bool left) {
    controls_.setChecked(kLeft, left);
    controls_.setChecked(kRight, !left);
    // The ripple starts again from the side its direction gives.
    store([&](MouseState& s) { s.set(MouseState::off::direction, left ? 1 : 0); },
          runtime::Edit{.lighting = true, .restart = true});
}

void MouseLightingPage::storeColour(const ColourChoice& choice) {
    store([&](MouseState& s) {
        choice.storeInto(s, MouseState::off::colour);
        s.set(MouseState::off::sevenColour, 0);
    });
}

void MouseLightingPage::refresh() {
    const MouseState s = runtime_.mouse.state();
    controls_.setComboIndex(kModeCombo, s.lightingMode());
    applyMode(s.lightingMode());
    // Shown anew (a re-read, a profile load): only the ripple is started again, from the
    // position of its direction; other effects run on undisturbed.
    if (s.lightingMode() == kMouseRippleMode) runtime_.mouseSession().restartLighting();
    controls_.setSlider(kLightSlider, s.at(MouseState::off::brightness));
    controls_.setSlider(kSpeedSlider, lighting::SliderFromSpeed(s.at(MouseState::off::speed)));
    colour_.show(mouse::ArgbOf(s.colour()));
    controls_.setChecked(kSevenColour, s.at(MouseState::off::sevenColour) != 0);
    const bool left = s.at(MouseState::off::direction) != 0;
    controls_.setChecked(kLeft, left);
    controls_.setChecked(kRight, !left);
    showSameMode();
}

}  // namespace orvane::ui::pages
