// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/pages/mouse_dpi_page.h"

#include <QIntValidator>
#include <QLineEdit>

#include "ui/pages/device_models.h"
#include "platform/pointer_settings.h"

namespace orvane::ui::pages {

using namespace mouse;

namespace {

const QString kReportCombo = QStringLiteral("ms_report_fct_combo");
const QString kLiftOffSlider = QStringLiteral("ms_sensor_height_slider");
const QString kPointerSlider = QStringLiteral("ms_point_speed_slider");
const QString kWheelEdit = QStringLiteral("ms_gunlun_speed_edit");
constexpr int kMaxTypedDpi = 99999;  // five digits: beyond every sensor, clamped when applied
const ColourControlNames kDpiColourControls{
    .palette = "Pallet",
    .swatch = "ms_DPI_colordp_btn",
    .presetFamily = "ms_DPI_color_btn_",
    .edits = {"ms_DPI_edit_R", "ms_DPI_edit_G", "ms_DPI_edit_B"},
};

}  // namespace

int DpiStageOfSlider(const QString& name) {
    for (int n = 1; n <= int(kDpiStageCount); ++n)
        if (NameIs(name, DpiStageControl(n, "_slider").toLatin1().constData())) return n;
    return 0;
}

QString DpiStageControl(int stage, const char* suffix) {
    return QStringLiteral("ms_DPI%1%2").arg(stage).arg(QLatin1String(suffix));
}

MouseDpiPage::MouseDpiPage(ControlLookup lookup, runtime::Runtime& runtime)
    : controls_(lookup),
      dpiColour_(lookup, kDpiColourControls, [this](const ColourChoice& c) { storeDpiColour(c); }),
      runtime_(runtime),
      model_(runtime.mouse) {
    using namespace event;
    for (int stage = 1; stage <= int(kDpiStageCount); ++stage)
        bindings_.on(DpiStageControl(stage, "_slider"), kValueChanged | kMoveValueChanged,
                     [this, stage](const Notification& n) {
                         // While dragged, stages 1-4 follow with their label; 5 and 6 update
                         // when released.
                         if (n.type == ValueChanged) setDpiStage(stage, false);
                         else if (stage <= 4) setDpiStage(stage, true);
                     });
    for (int stage = 1; stage <= int(kDpiStageCount); ++stage)
        bindings_.on(DpiStageControl(stage, "_label_value"), kEditDone,
                     [this, stage](const Notification&) { typeDpi(stage); });
    bindings_.on(kLiftOffSlider, kValueChanged, [this](const Notification&) { setLiftOff(); })
        .on(kPointerSlider, kValueChanged, [this](const Notification&) { setPointerSpeed(); })
        .on(kReportCombo, kItemSelect, [this](const Notification&) { setReportRate(); })
        .on("ms_gunlun_speed_up_btn", kClick, [this](const Notification&) { stepWheelLines(+1); })
        .on("ms_gunlun_speed_down_btn", kClick, [this](const Notification&) { stepWheelLines(-1); })
        .include(dpiColour_.bindings());
}

void MouseDpiPage::prepare() {
    dpiColour_.prepare();
    if (auto* e = controls_.find<QLineEdit>(kWheelEdit)) e->setReadOnly(true);  // changed by its buttons
    for (int stage = 1; stage <= int(kDpiStageCount); ++stage)
        if (auto* e = controls_.find<QLineEdit>(DpiStageControl(stage, "_label_value")))
            e->setValidator(new QIntValidator(0, kMaxTypedDpi, e));
}

void MouseDpiPage::refresh() {
    showReportRate();
    showStages();
    showDpiColour();
}

void MouseDpiPage::showStageLabel(int stage, const MouseDeviceInfo& info, int position) {
    controls_.setText(DpiStageControl(stage, "_label_value"), QString::fromStdString(DpiLabelText(info, position)));
}

void MouseDpiPage::setDpiStage(int stage, bool labelOnly) {
    const int position = std::max(0, controls_.sliderValue(DpiStageControl(stage, "_slider")));
    MouseDeviceInfo info;
    if (labelOnly) {
        info = model_.snapshot().info;
    } else {
        runtime_.mouseSession().edit(runtime::kRecordEdit, [&](MouseData& d) {
            d.state.setDpiStage(size_t(stage - 1), uint8_t(std::min(position, 255)));
            info = d.info;
        });
    }
    showStageLabel(stage, info, position);
}

void MouseDpiPage::typeDpi(int stage) {
    const int dpi = EditNumber(controls_.text(DpiStageControl(stage, "_label_value")).toStdString());
    const int position = PositionOfDpi(model_.snapshot().info, dpi);
    // The slider goes where the typed value snaps to; the label then shows the snapped value.
    controls_.setSlider(DpiStageControl(stage, "_slider"), position);
    setDpiStage(stage, false);
}

void MouseDpiPage::setLiftOff() {
    const uint8_t height = LiftOffFromSlider(controls_.sliderValue(kLiftOffSlider));
    runtime_.mouseSession().edit(runtime::kRecordEdit, [&](MouseData& d) { d.state.setLiftOff(height); });
}

void MouseDpiPage::setReportRate() {
    const int index = controls_.comboIndex(kReportCombo);
    if (index < 0) return;  // the list lost its selection: nothing to store
    runtime_.mouseSession().edit(runtime::kRecordEdit, [&](MouseData& d) { d.state.setReportRate(uint8_t(index)); });
}

void MouseDpiPage::setPointerSpeed() {
    // The stored value is the clamped one that the desktop receives.
    const int speed = ClampPointerSpeed(PointerSpeedFromSlider(controls_.sliderValue(kPointerSlider)));
    runtime_.mouseSession().setPointerSpeed(speed);
}

void MouseDpiPage::storeDpiColour(const ColourChoice& choice) {
    runtime_.mouseSession().edit(runtime::kRecordEdit,
                                 [&](MouseData& d) { choice.storeInto(d.state, MouseState::off::dpiColour); });
}

void MouseDpiPage::stepWheelLines(int direction) {
    const int lines = StepWheelLines(EditNumber(controls_.text(kWheelEdit).toStdString()), direction);
    controls_.setText(kWheelEdit, QString::number(lines));
    runtime_.mouseSession().setWheelLines(lines);
}

void MouseDpiPage::showReportRate() { controls_.setComboIndex(kReportCombo, model_.state().reportRate()); }

void MouseDpiPage::showStages() {
    const SensorLimits* limits = nullptr;
    MouseDeviceInfo info;
    MouseState state;
    model_.update([&](MouseData& d) {
        limits = ApplySensorLimits(d.info);
        info = d.info;
        state = d.state;
    });
    for (int n = 1; n <= int(kDpiStageCount); ++n) {
        if (limits) {
            controls_.setText(DpiStageControl(n, "_min"), QString::fromUtf8(limits->minLabel.data(), qsizetype(limits->minLabel.size())));
            controls_.setText(DpiStageControl(n, "_max"), QString::fromUtf8(limits->maxLabel.data(), qsizetype(limits->maxLabel.size())));
        }
        // A stored position beyond the slider's end is shown (and labelled) at the end.
        const int position = std::min<int>(state.dpiStage(size_t(n - 1)), info.highestPosition());
        controls_.setSliderRange(DpiStageControl(n, "_slider"), 0, info.highestPosition());
        controls_.setSlider(DpiStageControl(n, "_slider"), position);
        showStageLabel(n, info, position);
    }
    const auto marks = StageHighlight(state.activeDpiStage());
    for (int n = 1; n <= int(kDpiStageCount); ++n) {
        const auto& mark = marks[size_t(n - 1)];
        if (!mark) continue;
        const uint32_t colour = *mark == StageMark::Active ? kActiveStageColour : kInactiveStageColour;
        controls_.setTextColour(DpiStageControl(n, "_label_rank"), colour);
        controls_.setTextColour(DpiStageControl(n, "_label_value"), colour);
    }
    const bool sixStages = model_.row().dpiStages >= 6;
    controls_.setVisible(DpiStageControl(6, "_la"), sixStages);
    controls_.setVisible(DpiStageControl(6, "_va"), sixStages);
    controls_.setSlider(kLiftOffSlider, state.liftOff());
}

void MouseDpiPage::showDpiColour() {
    dpiColour_.show(ArgbOf(model_.state().dpiColour()));
}

void MouseDpiPage::showPointerDefaults() { showPointerSettings(kDefaultPointerSpeed, kDefaultWheelLines); }

void MouseDpiPage::showPointerSettings(int speed, int lines) {
    controls_.setSlider(kPointerSlider, PointerSliderFromSpeed(speed));
    controls_.setText(kWheelEdit, QString::number(lines));
}

void MouseDpiPage::showPointerNote(bool partlyApplied) {
    controls_.setVisible(QStringLiteral("ms_pointer_not_applied"), partlyApplied);
}

}  // namespace orvane::ui::pages
