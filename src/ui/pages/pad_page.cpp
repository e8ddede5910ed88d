#include "ui/pages/pad_page.h"

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

void Call(const std::function<void()>& fn) {
    if (fn) fn();
}

}  // namespace

PadPage::PadPage(ControlLookup lookup, protocol::DeviceConnection& pad, mousepad::PadModel& model,
                 const profiles::ProfileHooks& profiles)
    : controls_(lookup),
      colour_(lookup, kPadColourControls, [this](const ColourChoice& c) { storeColour(c); }),
      pad_(pad),
      model_(model),
      profiles_(profiles) {}

void PadPage::prepare() { colour_.prepare(); }

template <class Fn>
void PadPage::store(Fn&& change) {
    model_.update([&](PadData& d) { change(d.state); });
    model_.stateDirty = true;
    Call(links.lightingEdited);
    profiles_.saveLighting();
}

bool PadPage::handle(const Notification& n) {
    const QString& name = n.sender;
    const QString& type = n.type;
    if (colour_.handle(n)) return true;
    if (NameIs(name, "mp_deng_combo_modeSelect") && type == event::ItemSelect) {
        selectMode();
    } else if (NameIs(name, "mp_deng_light_slider") && type == event::ValueChanged) {
        const int position = std::max(0, controls_.sliderValue(kLightSlider));
        store([&](PadState& s) { s.set(PadState::off::brightness, uint8_t(std::min(position, 255))); });
    } else if (NameIs(name, "mp_deng_speed_slider") && type == event::ValueChanged) {
        const uint8_t speed = mousepad::PadSpeedFromSlider(controls_.sliderValue(kSpeedSlider));
        store([&](PadState& s) { s.set(PadState::off::speed, speed); });
    } else if (NameIs(name, "mp_Deng_7color_check") && type == event::SelectChanged) {
        const bool on = controls_.checked(kSevenColour);
        store([&](PadState& s) { s.set(PadState::off::sevenColour, on ? 1 : 0); });
    } else if ((NameIs(name, "mp_Deng_FXL_check") || NameIs(name, "mp_Deng_FXR_check")) && type == event::SelectChanged) {
        setDirection(NameIs(name, "mp_Deng_FXL_check"));
    } else if (NameIs(name, "mp_deng_same_mode") && type == event::Click) {
        Call(links.sameMode);
    } else if (NameIs(name, "mp_deng_combo_profile") && type == event::ItemSelect) {
        selectSlot();
    } else if (NameIs(name, "mp_one_profile_default") && type == event::Click) {
        restoreDefaults();
    } else {
        return false;
    }
    return true;
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
    if (mode == kRippleMode) Call(links.setFirstTrigger);
}

void PadPage::selectMode() {
    const int mode = controls_.comboIndex(kModeCombo);
    if (mode < 0) return;  // the list lost its selection
    Call(links.endSynchronisedLighting);
    Call(links.resetAnimation);
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
    const unsigned slot = index < 0 ? unsigned(mousepad::kSlotCount) : unsigned(index);
    if (mousepad::SelectPadSlot(pad_, model_, slot).outcome == mousepad::SlotSwitch::Switched) refresh();
}

void PadPage::restoreDefaults() {
    mousepad::ResetPadDefaults(pad_);
    Call(links.readBackLater);
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
    Call(links.stateShown);
}

}  // namespace orvane::ui::pages
