// SPDX-License-Identifier: GPL-3.0-or-later
// The mouse's records and the performance page's logic: DPI labels per sensor, typed DPI, the stage
// highlight, pointer speed and wheel-line stepping, colour edits.

#include <gtest/gtest.h>

#include "mouse/colour_presets.h"
#include "mouse/dpi.h"
#include "mouse/mouse_model.h"
#include "mousepad/pad_records.h"

namespace orvane::mouse {
namespace {

MouseDeviceInfo Info(uint16_t sensor, uint8_t step, uint16_t minimumInRecord) {
    MouseDeviceInfo info;
    info.setLe16(MouseDeviceInfo::off::sensorId, sensor);
    info.set(MouseDeviceInfo::off::dpiStep, step);
    info.setMinimumDpi(minimumInRecord);
    return info;
}

TEST(MouseDpi, LabelsAndLimitsPerSensor) {
    struct Case {
        uint16_t sensor; uint8_t step; uint16_t recordMinimum; int position;
        const char* label; const char* minLabel; const char* maxLabel;  // null: unknown sensor
    };
    for (const auto& c : {
             Case{0x3360, 100, 0, 0, "100", "100", "12000"},
             Case{0x3360, 100, 0, 119, "12000", "100", "12000"},
             Case{0x3325, 100, 999, 48, "5000", "200", "5000"},
             Case{0x3050, 50, 0, 75, "4000", "250", "4000"},
             Case{0x3050, 50, 0, -4, "250", "250", "4000"},
             // An unknown sensor keeps the minimum the record holds and no limit texts.
             Case{0x1234, 50, 400, 2, "500", nullptr, nullptr},
             Case{0x0000, 0, 0, 200, "0", nullptr, nullptr},
         }) {
        SCOPED_TRACE(::testing::Message() << std::hex << c.sensor << std::dec << " @" << c.position);
        MouseDeviceInfo info = Info(c.sensor, c.step, c.recordMinimum);
        const SensorLimits* limits = ApplySensorLimits(info);
        if (c.minLabel) {
            ASSERT_NE(limits, nullptr);
            EXPECT_EQ(limits->minLabel, c.minLabel);
            EXPECT_EQ(limits->maxLabel, c.maxLabel);
            EXPECT_EQ(std::to_string(info.minimumDpi()), c.minLabel);
        } else {
            EXPECT_EQ(limits, nullptr);
            EXPECT_EQ(info.minimumDpi(), c.recordMinimum);
        }
        EXPECT_EQ(DpiLabelText(info, c.position), c.label);
    }
}

TEST(MouseDpi, ATypedDpiSnapsToTheSensorsStepAndRange) {
    struct Case { uint8_t step; uint16_t minimum; uint8_t highest; int typed; int position; };
    for (const auto& c : {
             Case{100, 100, 119, 1234, 11},   // 1200: the nearest step
             Case{100, 100, 119, 1250, 12},   // halfway rounds up: 1300
             Case{100, 200, 48, 99999, 48},   // above the range: the top
             Case{100, 200, 48, 0, 0},        // below it: the minimum
             Case{50, 250, 75, 1234, 20},     // 1250 on a 50-step sensor
             Case{0, 0, 10, 7, 7},            // a record without a step moves by one
         }) {
        SCOPED_TRACE(c.typed);
        MouseDeviceInfo info = Info(0x1234, c.step, c.minimum);
        info.set(MouseDeviceInfo::off::highestPosition, c.highest);
        EXPECT_EQ(PositionOfDpi(info, c.typed), c.position);
    }
}

TEST(MouseDpi, ActiveStageHighlight) {
    using M = std::optional<StageMark>;
    const M on = StageMark::Active, off = StageMark::Inactive, keep = std::nullopt;
    struct Case { uint8_t active; std::array<M, 6> marks; };
    for (const auto& c : {Case{0, {on, off, off, off, off, off}},
                          Case{3, {off, off, off, on, off, off}},
                          Case{5, {off, off, off, off, off, on}},
                          Case{6, {on, off, off, off, keep, keep}},
                          Case{7, {on, off, off, off, keep, keep}},
                          Case{255, {on, off, off, off, keep, keep}}}) {
        EXPECT_EQ(StageHighlight(c.active), c.marks) << int(c.active);
    }
}

TEST(MousePointer, SpeedSliderAndWheelLines) {
    struct Speed { int slider; int speed; };
    for (const auto& c : {Speed{9, 20}, Speed{0, 2}, Speed{-1, 2}, Speed{4, 10}, Speed{12, 26}})
        EXPECT_EQ(PointerSpeedFromSlider(c.slider), c.speed) << c.slider;
    EXPECT_EQ(ClampPointerSpeed(26), 20);
    EXPECT_EQ(ClampPointerSpeed(0), 1);
    EXPECT_EQ(PointerSliderFromSpeed(20), 10);
    EXPECT_EQ(PointerSliderFromSpeed(kDefaultPointerSpeed), 5);
    EXPECT_EQ(StoredPointerSpeed(0), 1);
    EXPECT_EQ(StoredWheelLines(0), 1);
    EXPECT_EQ(ClampWheelLines(11), 10);

    struct Step { const char* edit; int direction; int lines; };
    for (const auto& c : {Step{"10", +1, 10}, Step{"1", -1, 1}, Step{"", +1, 2}, Step{"", -1, 1},
                          Step{"3", +1, 4}, Step{"3", -1, 2}, Step{"15", -1, 9}, Step{"15", +1, 10},
                          Step{"2", -1, 1}, Step{"abc", +1, 2}, Step{"9", +1, 10}}) {
        EXPECT_EQ(StepWheelLines(EditNumber(c.edit), c.direction), c.lines) << '"' << c.edit << "\" " << c.direction;
    }
}

TEST(MouseColour, EditsAndPresets) {
    EXPECT_EQ(ClampColourComponent(300), 255);
    EXPECT_EQ(ClampColourComponent(255), 255);
    EXPECT_EQ(ClampColourComponent(-5), 0);
    EXPECT_EQ(ArgbOf({0x12, 0x34, 0x56}), 0xFF123456u);
    EXPECT_EQ(RgbOf(0xFF48B1FA), (Rgb{0x48, 0xB1, 0xFA}));
    EXPECT_EQ(kSwatchColours[0], 0xFFFF0000u);
    EXPECT_EQ(kSwatchColours[21], 0xFF000000u);
    EXPECT_EQ(kSwatchColours[29], 0xFF4776A4u);
    EXPECT_EQ(LiftOffFromSlider(-3), 0);
}

TEST(MouseRecords, LayoutsKeepEveryByte) {
    MouseSlotRecord record;
    for (size_t i = 0; i < record.bytes.size(); ++i) record.bytes[i] = static_cast<uint8_t>(i + 1);
    MouseState state = record.state();
    EXPECT_EQ(state.activeSlot(), 1);
    EXPECT_EQ(state.reportRate(), 15);
    EXPECT_EQ(state.dpiStage(0), 16);
    EXPECT_EQ(state.dpiStage(5), 21);
    EXPECT_EQ(state.activeDpiStage(), 22);
    EXPECT_EQ(state.liftOff(), 23);
    EXPECT_EQ(state.dpiColour(), (Rgb{12, 13, 14}));
    EXPECT_EQ(record.pointerSpeed(), 24);
    EXPECT_EQ(record.wheelLines(), 25);
    state.setDpiStage(2, 99);
    const MouseSlotRecord before = record;
    record.setState(state);
    EXPECT_EQ(record.at(MouseState::off::dpiStages + 2), 99);
    for (size_t i = 23; i < 64; ++i) EXPECT_EQ(record.at(i), before.at(i)) << i;

    MouseData data;
    data.state = state;
    data.pointerSpeed = 14;
    data.wheelLines = 6;
    const MouseSlotRecord body = StageLightingProfile(data);
    EXPECT_EQ(body.state(), state);
    EXPECT_EQ(body.pointerSpeed(), 14);
    EXPECT_EQ(body.wheelLines(), 6);
    EXPECT_EQ(data.block.bytes()[MouseSettingsBlock::kSlotsOffset + MouseSlotRecord::off::wheelLines], 6);
}

TEST(PadRecords, SpeedSlider) {
    EXPECT_EQ(mousepad::PadSpeedFromSlider(0), 14);
    EXPECT_EQ(mousepad::PadSpeedFromSlider(14), 0);
    EXPECT_EQ(mousepad::PadSpeedFromSlider(20), 0);
    EXPECT_EQ(mousepad::PadSliderFromSpeed(14), 0);
}

}  // namespace
}  // namespace orvane::mouse
