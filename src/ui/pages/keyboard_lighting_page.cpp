// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/pages/keyboard_lighting_page.h"

#include <QComboBox>
#include <QStyle>
#include <QTimer>
#include <QVariant>

#include "ui/pages/device_models.h"
#include "ui/pages/paint_stroke.h"

namespace orvane::ui::pages {

using keyboard::KeyboardData;
using keyboard::KeyboardVariant;
using keyboard::LightingRecord;

namespace {

const QString kRgbCombo = QStringLiteral("kb_deng_combo_modeSelect");
const QString kMonoCombo = QStringLiteral("kb_deng_onecolor_combo_modeSelect");
const QString kLightSlider = QStringLiteral("kb_deng_light_slider");
const QString kSpeedSlider = QStringLiteral("kb_deng_speed_slider");
const QString kSevenColour = QStringLiteral("kb_Deng_7color_check");
const QString kLeft = QStringLiteral("kb_Deng_FXL_check");
const QString kRight = QStringLiteral("kb_Deng_FXR_check");
const QString kSameMode = QStringLiteral("kb_deng_same_mode");
const QString kPalette = QStringLiteral("kb_deng_Color_Pallet");
const QString kPaintSwatch = QStringLiteral("kb_Deng_custom_colordp_btn");
const QString kLayerCombo = QStringLiteral("kb_deng_combo_curtom_count");
const QString kFillButton = QStringLiteral("kb_Deng_all_bright_check");
const QString kClearButton = QStringLiteral("kb_Deng_all_kill_check");
const QString kLightTool = QStringLiteral("kb_Deng_on_bright_check");
const QString kEraseTool = QStringLiteral("kb_Deng_off_kill_check");
const QString kColourLump = QStringLiteral("kb_deng_color_lump");
const QString kRgbEdits = QStringLiteral("kb_deng_rgb_layout");
const std::array<QString, 3> kCustomLayouts{QStringLiteral("kb_deng_custom_tool_layout"),
                                            QStringLiteral("kb_deng_custom_select_layout"),
                                            QStringLiteral("kb_deng_custom_color_layout")};
const QString kColourDisplay = QStringLiteral("kb_deng_color_display_layout");
// The panels of the page besides the effect panel; one whose mode shows none of its
// controls is hidden, and the others take its room.
const std::array<QString, 2> kPanels{QStringLiteral("keyboard_deng_colour"), QStringLiteral("keyboard_deng_paint")};

// Whether a control of the panel other than its caption would show with the panel.
bool ShowsAControl(QWidget* panel) {
    for (QWidget* child : panel->findChildren<QWidget*>()) {
        if (child->objectName().endsWith(QLatin1String("_caption"))) continue;
        if (!child->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).isEmpty()) continue;  // a container
        if (child->isVisibleTo(panel)) return true;
    }
    return false;
}

const ColourControlNames kKeyboardColourControls{
    .palette = "kb_deng_Color_Pallet",
    .swatch = "kb_Deng_colordp_btn",
    .presetFamily = "kb_Deng_color_btn_",
    .edits = {"kb_Deng_edit_R", "kb_Deng_edit_G", "kb_Deng_edit_B"},
    // The seven-colour check gives way to a chosen colour outside the custom mode only: the
    // page unchecks it itself.
};

constexpr int kPictureKeys = int(keyboard::kLedSlotCount);  // "kb_dkey_0" .. "kb_dkey_125"
const QString kNoLightTip = QStringLiteral("kb_key_no_light_tip");

uint32_t ArgbOf(device::Rgb c) {
    return 0xFF000000u | uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
}

}  // namespace

KeyboardLightingPage::KeyboardLightingPage(ControlLookup lookup, runtime::Runtime& runtime, TextOf text)
    : controls_(lookup),
      colour_(lookup, kKeyboardColourControls, [this](const ColourChoice& c) { storeColour(c); }),
      runtime_(runtime),
      text_(std::move(text)) {
    using namespace event;
    bindings_.on(kRgbCombo, kItemSelect, [this](const Notification&) { selectMode(KeyboardVariant::Rgb); })
        .on(kMonoCombo, kItemSelect,
            [this](const Notification&) { selectMode(KeyboardVariant::SingleColour); })
        .on(kLightSlider, kValueChanged,
            [this](const Notification&) {
                const int position =
                    std::clamp(controls_.sliderValue(kLightSlider), 0, lighting::kBrightnessSteps - 1);
                store([&](KeyboardData& d) {
                    d.lighting.set(LightingRecord::off::brightness, uint8_t(position));
                });
            })
        .on(kSpeedSlider, kValueChanged,
            [this](const Notification&) {
                const uint8_t speed = lighting::SpeedFromSlider(controls_.sliderValue(kSpeedSlider));
                store([&](KeyboardData& d) { d.lighting.set(LightingRecord::off::speed, speed); });
            })
        .on(kSevenColour, kSelectChanged,
            [this](const Notification&) {
                const bool on = controls_.checked(kSevenColour);
                store([&](KeyboardData& d) { d.lighting.set(LightingRecord::off::sevenColour, on ? 1 : 0); });
            })
        .on(kLeft, kClick, [this](const Notification&) { setDirection(true); })
        .on(kRight, kClick, [this](const Notification&) { setDirection(false); })
        .on(kSameMode, kClick, [this](const Notification&) { runtime_.keyboardSession().sameLightingMode(); })
        // The paint tool's options (the run's choice, nothing stored).
        .on(kLightTool, kSelectChanged,
            [this](const Notification&) {
                if (controls_.checked(kLightTool)) paintLight_ = true;
            })
        .on(kEraseTool, kSelectChanged,
            [this](const Notification&) {
                if (controls_.checked(kEraseTool)) paintLight_ = false;
            })
        .include(colour_.bindings());

    paintBindings_
        .onFamily("kb_dkey_", kPictureKeys, kClick, [this](const Notification&, int p) { paintKey(p); })
        // The whole-layer actions are buttons: each click runs its action once.
        .on(kFillButton, kClick,
            [this](const Notification&) {
                store([this](KeyboardData& d) { lighting::FillLayer(d, variant()); });
            })
        .on(kClearButton, kClick,
            [this](const Notification&) {
                store([this](KeyboardData& d) { lighting::ClearLayer(d, variant()); });
            })
        .on(kLayerCombo, kItemSelect, [this](const Notification&) { selectLayer(); });
}

void KeyboardLightingPage::prepare() {
    colour_.prepare();
    // Choosing the item already selected raises no selection change; it restarts the mode's
    // animation all the same.
    for (const auto& [name, v] :
         {std::pair{kRgbCombo, KeyboardVariant::Rgb}, std::pair{kMonoCombo, KeyboardVariant::SingleColour}})
        if (auto* combo = controls_.find<QComboBox>(name))
            QObject::connect(combo, &QComboBox::activated, &lifetime_, [this, v = v] {
                if (!selectionChanged_) selectMode(v);
            });
    controls_.setSliderRange(kLightSlider, 0, lighting::kBrightnessSteps - 1);
    controls_.setSliderRange(kSpeedSlider, 0, lighting::kSlowestSpeed);
    controls_.setChecked(kLightTool, paintLight_);
    controls_.setChecked(kEraseTool, !paintLight_);
    // A press paints its key and a drag paints every key it passes over; a click by other
    // means (the keyboard, a script) still comes as the key's click.
    auto* stroke = new PaintStroke(QStringLiteral("kb_dkey_"), [this](int p) { paintKey(p); }, &lifetime_);
    for (int p = 0; p < kPictureKeys; ++p) stroke->watch(controls_.find(QStringLiteral("kb_dkey_%1").arg(p)));
}

// A lighting change on the keyboard's page hands the keyboard back to its own animation.
template <class Fn>
void KeyboardLightingPage::store(Fn&& change, const runtime::Edit& what) {
    runtime_.keyboardSession().edit(what, [&](KeyboardData& d) { change(d); });
}

const KeyboardModeRow* KeyboardLightingPage::rowOf(uint8_t mode) const {
    if (variant() == KeyboardVariant::Rgb)
        return mode < kRgbKeyboardModes.size() ? &kRgbKeyboardModes[mode] : nullptr;
    return mode < kMonoKeyboardModes.size() ? &kMonoKeyboardModes[mode] : nullptr;
}

void KeyboardLightingPage::setLabelText(const char* control, const char* textId) {
    const QString name = QLatin1String(control);
    QWidget* label = controls_.find(name);
    if (!label) return;
    label->setProperty("textId", QLatin1String(textId));  // a language switch shows it anew
    controls_.setText(name, text_ ? text_(QLatin1String(textId)) : QLatin1String(textId));
}

void KeyboardLightingPage::applyMode(uint8_t mode) {
    const bool rgb = variant() == KeyboardVariant::Rgb;
    for (const QString& name :
         {QStringLiteral("kb_deng_fx_layout"), QStringLiteral("kb_deng_7colorselect_layout"), kColourDisplay})
        controls_.setVisible(name, true);
    for (const QString& name : kCustomLayouts) controls_.setVisible(name, false);
    if (rgb) {
        controls_.setVisible(kPalette, true);
        controls_.setEnabled(QStringLiteral("kb_deng_color_layout"), true);
    }
    controls_.setEnabled(kSameMode, false);  // same mode does not start from the keyboard
    const KeyboardModeRow* row = rowOf(mode);
    if (!row) return;  // a damaged record's mode: the groups stay as the variant's base shows them
    ApplyShow(controls_, QStringLiteral("kb_deng_light_layout"), row->brightness);
    ApplyShow(controls_, QStringLiteral("kb_deng_fx_layout"), row->direction);
    ApplyShow(controls_, QStringLiteral("kb_deng_color_layout"), row->colour);
    ApplyShow(controls_, QStringLiteral("kb_deng_7colorselect_layout"), row->sevenColour);
    ApplyShow(controls_, QStringLiteral("kb_deng_speed_layout"), row->speed);
    ApplyShow(controls_, kPalette, row->palette);
    const char* left = row->leftLabel ? row->leftLabel : rgb ? nullptr : "Deng_FXL_text";
    const char* right = row->rightLabel ? row->rightLabel : rgb ? nullptr : "Deng_FXR_text";
    if (left) setLabelText("kb_Deng_label_FXL", left);
    if (right) setLabelText("kb_Deng_label_FXR", right);
    if (row->custom) {
        for (const QString& name : kCustomLayouts) controls_.setVisible(name, true);
        controls_.setVisible(kColourDisplay, false);
    }
    if (!rgb) {
        // The colour tools have nothing to set on the single-colour keyboard's custom layer.
        controls_.setEnabled(kColourLump, mode != lighting::kMonoCustomMode);
        controls_.setEnabled(kRgbEdits, mode != lighting::kMonoCustomMode);
    }
    hideEmptyPanels();
}

void KeyboardLightingPage::hideEmptyPanels() {
    for (const QString& name : kPanels)
        if (QWidget* panel = controls_.find(name)) panel->setVisible(ShowsAControl(panel));
}

void KeyboardLightingPage::showColourOfMode(uint8_t mode) {
    if (variant() != KeyboardVariant::Rgb) {
        colour_.show(kMonoKeyboardColour);
        return;
    }
    const KeyboardData d = runtime_.keyboard.snapshot();
    const bool custom = mode == lighting::kRgbCustomMode;
    const uint32_t argb = ArgbOf(custom ? d.paint.colour() : d.lighting.colour());
    colour_.show(argb);
    if (custom) controls_.setSwatch(kPaintSwatch, argb);
}

void KeyboardLightingPage::selectMode(KeyboardVariant v) {
    if (v != variant()) return;  // the other variant's list is not the keyboard's
    const int index = controls_.comboIndex(v == KeyboardVariant::Rgb ? kRgbCombo : kMonoCombo);
    if (index < 0 || size_t(index) >= lighting::KeyboardModeCount(v)) return;
    const uint8_t mode = uint8_t(index);
    // The activation that follows a change in the same click is this selection.
    selectionChanged_ = true;
    QTimer::singleShot(0, &lifetime_, [this] { selectionChanged_ = false; });
    applyMode(mode);
    showColourOfMode(mode);
    // Also when the mode is the current one: its animation starts from the beginning.
    store([&](KeyboardData& d) { d.lighting.set(LightingRecord::off::mode, mode); }, runtime::kModeEdit);
}

void KeyboardLightingPage::setDirection(bool left) {
    controls_.setChecked(kLeft, left);
    controls_.setChecked(kRight, !left);
    store([&](KeyboardData& d) { d.lighting.set(LightingRecord::off::direction, left ? 1 : 0); });
}

void KeyboardLightingPage::storeColour(const ColourChoice& choice) {
    if (variant() != KeyboardVariant::Rgb) {
        colour_.show(kMonoKeyboardColour);  // the single-colour keyboard has one colour
        return;
    }
    const bool custom = runtime_.keyboard.read([](const KeyboardData& d) { return d.lighting.mode(); }) ==
                        lighting::kRgbCustomMode;
    if (custom) {
        controls_.setSwatch(kPaintSwatch, choice.argb);
        store([&](KeyboardData& d) { choice.storeInto(d.paint, keyboard::CustomPaintState::off::colour); });
        return;
    }
    controls_.setChecked(kSevenColour, false);
    store([&](KeyboardData& d) {
        choice.storeInto(d.lighting, LightingRecord::off::colour);
        d.lighting.set(LightingRecord::off::sevenColour, 0);
    });
}

void KeyboardLightingPage::paintKey(int position) {
    const auto tool = paintLight_ ? lighting::PaintTool::Light : lighting::PaintTool::Erase;
    const KeyboardVariant v = variant();
    const uint8_t mode = runtime_.keyboard.read([](const KeyboardData& d) { return d.lighting.mode(); });
    // Outside the custom mode, or on a position without an LED, nothing changes or is saved.
    if (lighting::PaintsKey(mode, v, size_t(position)))
        store([&](KeyboardData& d) { lighting::PaintKey(d, v, size_t(position), tool); });
}

void KeyboardLightingPage::selectLayer() {
    const int layer = controls_.comboIndex(kLayerCombo);
    if (layer < 0 || size_t(layer) >= keyboard::kColourLayerCount) return;
    store([&](KeyboardData& d) { d.paint.set(keyboard::CustomPaintState::off::layer, uint8_t(layer)); });
}

void KeyboardLightingPage::refresh() {
    const KeyboardData d = runtime_.keyboard.snapshot();
    const bool rgb = variant() == KeyboardVariant::Rgb;
    const QString& combo = rgb ? kRgbCombo : kMonoCombo;
    controls_.setVisible(kRgbCombo, rgb);
    controls_.setVisible(kMonoCombo, !rgb);
    const uint8_t mode = d.lighting.mode();
    controls_.setComboIndex(combo, mode);
    runtime_.keyboardSession().restartLighting();  // the mode's start state
    applyMode(mode);
    controls_.setSlider(kLightSlider, d.lighting.at(LightingRecord::off::brightness));
    controls_.setSlider(kSpeedSlider, lighting::SliderFromSpeed(d.lighting.at(LightingRecord::off::speed)));
    controls_.setComboIndex(kLayerCombo, int(lighting::PaintLayer(d)));
    const bool left = d.lighting.at(LightingRecord::off::direction) != 0;
    controls_.setChecked(kLeft, left);
    controls_.setChecked(kRight, !left);
    controls_.setVisible(kColourLump, rgb);
    if (rgb) {
        controls_.setVisible(kRgbEdits, true);
        controls_.setSwatch(kPaintSwatch, ArgbOf(d.paint.colour()));
        showColourOfMode(mode);
        controls_.setChecked(kSevenColour, d.lighting.at(LightingRecord::off::sevenColour) != 0);
    } else {
        colour_.show(kMonoKeyboardColour);
        controls_.setChecked(kSevenColour, false);
        controls_.setEnabled(kPalette, false);
        controls_.setVisible(kPalette, false);
    }
    showKeysWithoutLight();
    hideEmptyPanels();
}

void KeyboardLightingPage::showKeysWithoutLight() {
    // A key drawn on the picture that has no light on this model is dimmed, and its tooltip
    // says why painting it or lighting its whole layer leaves it dark.
    const KeyboardVariant v = variant();
    for (int p = 0; p < kPictureKeys; ++p) {
        QWidget* key = controls_.find(QStringLiteral("kb_dkey_%1").arg(p));
        if (!key || key->geometry().isEmpty()) continue;  // not on the picture
        const bool unlit = lighting::PaintSlotOf(v, size_t(p)) >= keyboard::kLedSlotCount;
        if (key->property("unlit").toBool() != unlit) {
            key->setProperty("unlit", unlit);
            key->style()->unpolish(key);
            key->style()->polish(key);
        }
        key->setProperty("tipId", unlit ? QVariant(kNoLightTip) : QVariant());
        key->setToolTip(unlit ? (text_ ? text_(kNoLightTip) : kNoLightTip) : QString());
    }
}

}  // namespace orvane::ui::pages
