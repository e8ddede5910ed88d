// SPDX-License-Identifier: GPL-3.0-or-later
// The mouse's performance page and on-board slot buttons on an emulated mouse: labels and
// limits per sensor, the stage in use, edits reaching the mouse's settings memory with the
// 1-second flush, one report for a burst of edits, wheel lines, slots and restore-defaults.
#include <gtest/gtest.h>

#include <QAbstractSlider>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "device_pages_rig.h"

using namespace orvane;
using pagestest::DeviceRig;
using device::DeviceModel;

namespace {

constexpr size_t kSlotStride = 64;
// Byte offsets of a mouse slot record.
constexpr size_t kReportRate = 14, kStages = 15, kLiftOff = 22, kDpiColour = 11;

QString Text(DeviceRig& rig, const char* name) {
    if (auto* l = rig.control<QLabel>(name)) return l->text();
    if (auto* e = rig.control<QLineEdit>(name)) return e->text();
    return QStringLiteral("<none>");
}

void Type(DeviceRig& rig, const char* edit, const QString& text) {
    auto* e = rig.control<QLineEdit>(edit);
    e->setText(text);
    Q_EMIT e->textEdited(text);  // as the user's typing reports it
}

struct MouseRig : DeviceRig {
    explicit MouseRig(DeviceModel model = DeviceModel::Mouse, const DeviceRig::Setup& setup = {})
        : DeviceRig({model}, setup), model(model) {
        EXPECT_TRUE(waitForTab("ms_tab"));
        flush();  // nothing pending from the connect
    }
    void flush() { ProgramRig::flush(); }
    std::vector<uint8_t> activeRecord() {
        const auto memory = settings(model);
        const size_t slot = memory[0] < 5 ? memory[0] : 0;
        return {memory.begin() + long(slot * kSlotStride), memory.begin() + long(slot * kSlotStride + 56)};
    }
    DeviceModel model;
};

TEST(DpiPage, LabelsAndLimitsFollowTheSensor) {
    struct Case {
        DeviceModel model;
        uint16_t sensor;  // 0: the model's own
        int position;
        const char* value;
        const char* min;
        const char* max;
    };
    for (const auto& c : {
             Case{DeviceModel::Mouse2, 0, 0, "100", "100", "12000"},     // 0x3360, step 100
             Case{DeviceModel::Mouse2, 0, 119, "12000", "100", "12000"},
             Case{DeviceModel::Mouse, 0, 10, "1200", "200", "5000"},     // 0x3325: 200 + 10 x 100
             // An unknown sensor keeps the skin's limit texts; the info record's minimum counts.
             Case{DeviceModel::Mouse2, 0x1234, 3, "400", "200", "5000"},
         }) {
        SCOPED_TRACE(c.value);
        MouseRig rig(c.model, [&](programtest::ProgramRig& r) {
            if (c.sensor) r.firmware(c.model, [&](sim::DeviceFirmware& fw) { fw.setSensorId(c.sensor); });
        });
        rig.control<QAbstractSlider>("ms_DPI2_slider")->setValue(c.position);
        EXPECT_EQ(Text(rig, "ms_DPI2_label_value"), c.value);
        EXPECT_EQ(Text(rig, "ms_DPI2_min"), c.min);
        EXPECT_EQ(Text(rig, "ms_DPI6_max"), c.max);
    }
}

TEST(DpiPage, StageInUseIsHighlighted) {
    MouseRig rig;
    auto colourOf = [&](const char* label) { return rig.control(label)->styleSheet(); };
    struct Case {
        uint8_t active;
        std::array<const char*, 6> colours;  // null: kept as it was
    };
    const char* red = "#ee4650";    // the skin's accent
    const char* white = "#e4e7ec";  // the skin's text
    for (const auto& c : {Case{4, {white, white, white, white, red, white}},
                          Case{7, {red, white, white, white, nullptr, nullptr}}}) {
        SCOPED_TRACE(int(c.active));
        for (int n = 5; n <= 6; ++n) {
            rig.control(qPrintable(QStringLiteral("ms_DPI%1_label_rank").arg(n)))->setStyleSheet("color: #123456;");
            rig.control(qPrintable(QStringLiteral("ms_DPI%1_label_value").arg(n)))->setStyleSheet("color: #123456;");
        }
        rig.devices->mouse.update([&](mouse::MouseData& d) { d.state.set(mouse::MouseState::off::activeDpiStage, c.active); });
        rig.runtime().events.modelChanged.emit(device::DeviceKind::Mouse);
        for (int n = 1; n <= 6; ++n) {
            const QString expected = QLatin1String(c.colours[size_t(n - 1)] ? c.colours[size_t(n - 1)] : "#123456");
            EXPECT_TRUE(colourOf(qPrintable(QStringLiteral("ms_DPI%1_label_rank").arg(n))).contains(expected)) << n;
            EXPECT_TRUE(colourOf(qPrintable(QStringLiteral("ms_DPI%1_label_value").arg(n))).contains(expected)) << n;
        }
    }
}

TEST(DpiPage, EditsReachTheMouseWithTheFlush) {
    MouseRig rig;
    rig.control<QAbstractSlider>("ms_DPI3_slider")->setValue(21);
    rig.control<QComboBox>("ms_report_fct_combo")->setCurrentIndex(1);
    rig.control<QAbstractSlider>("ms_sensor_height_slider")->setValue(2);
    Type(rig, "ms_DPI_edit_G", "77");
    Type(rig, "ms_DPI_edit_B", "300");
    EXPECT_EQ(Text(rig, "ms_DPI_edit_B"), "255");  // clamped in the edit too

    const auto before = rig.activeRecord();
    EXPECT_NE(before[kStages + 2], 21);  // nothing is sent before the flush
    rig.flush();
    const auto record = rig.activeRecord();
    EXPECT_EQ(record[kStages + 2], 21);
    EXPECT_EQ(record[kReportRate], 1);
    EXPECT_EQ(record[kLiftOff], 2);
    EXPECT_EQ(record[kDpiColour + 1], 77);
    EXPECT_EQ(record[kDpiColour + 2], 255);

    rig.control<QAbstractButton>("ms_DPI_color_btn_4")->click();  // 0xFF008AFF
    rig.flush();
    const auto swatch = rig.activeRecord();
    EXPECT_EQ((std::array<uint8_t, 3>{swatch[kDpiColour], swatch[kDpiColour + 1], swatch[kDpiColour + 2]}),
              (std::array<uint8_t, 3>{0x00, 0x8A, 0xFF}));
    EXPECT_EQ(Text(rig, "ms_DPI_edit_G"), "138");
}

TEST(DpiPage, ATypedDpiMovesTheSliderToTheNearestStep) {
    MouseRig rig(DeviceModel::Mouse2);  // 100-12000 in steps of 100
    auto* edit = rig.control<QLineEdit>("ms_DPI2_label_value");
    ASSERT_NE(edit, nullptr);
    EXPECT_FALSE(edit->isReadOnly());
    struct Case { const char* typed; int position; const char* shown; };
    for (const auto& c : {Case{"1234", 11, "1200"}, Case{"99999", 119, "12000"}, Case{"0", 0, "100"}}) {
        SCOPED_TRACE(c.typed);
        edit->setText(QString::fromLatin1(c.typed));
        Q_EMIT edit->editingFinished();  // Return or the focus leaving
        EXPECT_EQ(rig.control<QAbstractSlider>("ms_DPI2_slider")->value(), c.position);
        EXPECT_EQ(edit->text(), c.shown);
        rig.flush();
        EXPECT_EQ(rig.activeRecord()[kStages + 1], c.position);
    }
}

TEST(DpiPage, TenSliderMovesMakeOneReport) {
    MouseRig rig;
    auto& mouse = rig.device(DeviceModel::Mouse);
    mouse.resetCounters();
    for (int i = 1; i <= 10; ++i) rig.control<QAbstractSlider>("ms_DPI1_slider")->setValue(i);
    EXPECT_EQ(mouse.requestCount(), 0u);
    rig.flush();
    EXPECT_EQ(mouse.requestCount(), 1u);
    EXPECT_EQ(rig.activeRecord()[kStages], 10);
    rig.flush();  // nothing changed since
    EXPECT_EQ(mouse.requestCount(), 1u);
}

TEST(DpiPage, WheelLinesAndPointerSpeed) {
    MouseRig rig;
    struct Case {
        const char* start;
        const char* button;
        const char* expected;
    };
    for (const auto& c : {Case{"10", "ms_gunlun_speed_up_btn", "10"}, Case{"1", "ms_gunlun_speed_down_btn", "1"},
                          Case{"", "ms_gunlun_speed_up_btn", "2"}, Case{"", "ms_gunlun_speed_down_btn", "1"},
                          Case{"4", "ms_gunlun_speed_up_btn", "5"}}) {
        SCOPED_TRACE(std::string(c.start) + " " + c.button);
        rig.control<QLineEdit>("ms_gunlun_speed_edit")->setText(c.start);
        rig.control<QAbstractButton>(c.button)->click();
        EXPECT_EQ(Text(rig, "ms_gunlun_speed_edit"), c.expected);
        EXPECT_EQ(rig.devices->mouse.snapshot().wheelLines, QString(c.expected).toInt());
    }
    rig.control<QAbstractSlider>("ms_point_speed_slider")->setValue(9);
    EXPECT_EQ(rig.devices->mouse.snapshot().pointerSpeed, 20);
    rig.devices->pointer.waitIdle();
    EXPECT_EQ(rig.devices->pointer.pointerSpeed(), 20);
}

TEST(MouseSlots, SlotButtonsSwitchTheMousesActiveSlot) {
    MouseRig rig;
    std::vector<uint8_t> slot3;
    rig.firmware(DeviceModel::Mouse, [&](sim::DeviceFirmware& fw) {
        const auto r = fw.slotRecord(3);
        slot3.assign(r.begin(), r.end());
    });
    rig.control<QAbstractButton>("ms_profile_3")->click();
    rig.settle();  // the switch runs as a mouse job
    EXPECT_EQ(rig.activeSlot(DeviceModel::Mouse), 3);
    EXPECT_EQ(rig.devices->mouse.state().activeSlot(), 3);
    EXPECT_EQ(rig.control<QAbstractSlider>("ms_DPI4_slider")->value(), slot3[kStages + 3]);
    EXPECT_TRUE(rig.control("ms_profile_3")->property("current").toBool());

    auto& mouse = rig.device(DeviceModel::Mouse);
    mouse.resetCounters();
    rig.control<QAbstractButton>("ms_profile_3")->click();  // already active: only the one-byte read
    rig.settle();
    EXPECT_EQ(mouse.requestCount(), 1u);

    // An edit now goes to slot 3.
    rig.control<QAbstractSlider>("ms_DPI1_slider")->setValue(5);
    rig.flush();
    EXPECT_EQ(rig.settings(DeviceModel::Mouse)[3 * kSlotStride + kStages], 5);
}

TEST(MouseSlots, RestoreDefaultsResetsTheMouseAndThePointerControls) {
    MouseRig rig;
    rig.control<QAbstractSlider>("ms_point_speed_slider")->setValue(1);
    rig.control<QLineEdit>("ms_gunlun_speed_edit")->setText("8");
    rig.control<QAbstractButton>("ms_one_profile_default")->click();
    EXPECT_EQ(rig.control<QAbstractSlider>("ms_point_speed_slider")->value(), 5);
    EXPECT_EQ(Text(rig, "ms_gunlun_speed_edit"), "3");
    rig.settle();
    uint64_t resets = 0;
    rig.firmware(DeviceModel::Mouse, [&](sim::DeviceFirmware& fw) { resets = fw.factoryResetCount(); });
    EXPECT_EQ(resets, 1u);
}

}  // namespace
