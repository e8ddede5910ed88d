// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/pages/pad_page.h"

#include <QTimer>

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

using device::DeviceKind;
constexpr DeviceKind kPad = DeviceKind::Mousepad;
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
        .on(kLeft, kSelectChanged, [this](const Notification&) { setDirection(true); })
        .on(kRight, kSelectChanged, [this](const Notification&) { setDirection(false); })
        .on("mp_deng_same_mode", kClick, [this](const Notification&) { runtime_.sameLightingMode(kPad); })
        .on(kSlotCombo, kItemSelect, [this](const Notification&) { selectSlot(); })
        .on("mp_one_profile_default", kClick, [this](const Notification&) { restoreDefaults(); })
        .include(colour_.bindings());
}

void PadPage::prepare() { colour_.prepare(); }

template <class Fn>
void PadPage::store(Fn&& change) {
    model_.update([&](PadData& d) { change(d.state); });
    model_.stateDirty = true;
    // A lighting control changed the pad's own state: it leaves synchronised lighting.
    runtime_.lighting.endSynchronised(lighting::LightingDevice::Pad);
    runtime_.events.settingsEdited.emit(kPad);
}

void PadPage::applyModeControls(size_t mode) {
    if (mode >= kPadModeControls.size()) return;
    const PadModeControls& use = kPadModeControls[mode];
    const std::array<std::pair<const char*, Use>, 5> targets{{
        {"mp_deng_fx_layout", use.direction},
        {"mp_deng_color_layout", use.colour},
        {"mp_deng_7colorselect_layout", use.sevenColour},
        {"mp_deng_speed_layout", use.speed},
        {"mp_deng_same_mode", use.sameMode},
    }};
    for (const auto& [control, how] : targets)
        if (how != Use::Keep) controls_.setEnabled(QLatin1String(control), how == Use::On);
    if (mode == kRippleMode) runtime_.lighting.setPadFirstTrigger();
}

void PadPage::selectMode() {
    const int mode = controls_.comboIndex(kModeCombo);
    if (mode < 0) return;  // the list lost its selection
    runtime_.lighting.endAllSynchronised();
    runtime_.lighting.requestReset(lighting::LightingDevice::Pad);
    applyModeControls(size_t(mode));
    store([&](PadState& s) { s.set(PadState::off::lightingMode, uint8_t(mode)); });
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
    runtime_.jobs(kPad).submit<device::SlotSwitchResult>(
        {.name = "pad slot"}, [this, slot = unsigned(index)] { return runtime_.selectSlot(kPad, slot); },
        [this](runtime::JobStatus status, const device::SlotSwitchResult& r) {
            if (status == runtime::JobStatus::Done && r.outcome == device::SlotSwitch::Switched)
                runtime_.events.modelChanged.emit(kPad);
        });
}

void PadPage::restoreDefaults() {
    runtime_.jobs(kPad).submit({.name = "pad restore defaults"}, [this] { runtime_.resetDefaults(kPad); },
                               [this](runtime::JobStatus status) {
                                   if (status != runtime::JobStatus::Done) return;
                                   // The pad has restored its slots a moment later: read it back then.
                                   QTimer::singleShot(mousepad::kPadReadBackDelay, &lifetime_, [this] {
                                       runtime_.jobs(kPad).submit<int32_t>(
                                           {.name = "pad read-back"}, [this] { return runtime_.readBack(kPad); },
                                           [this](runtime::JobStatus st, const int32_t& r) {
                                               if (st == runtime::JobStatus::Done && r == protocol::kOk)
                                                   runtime_.events.modelChanged.emit(kPad);
                                           });
                                   });
                               });
}

void PadPage::refresh() {
    const PadState s = model_.state();
    controls_.setComboIndex(kModeCombo, s.lightingMode());
    if (s.lightingMode() < kPadModeControls.size() - 1) applyModeControls(s.lightingMode());  // mode 9: as they are
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
