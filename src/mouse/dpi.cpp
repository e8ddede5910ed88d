// SPDX-License-Identifier: GPL-3.0-or-later
#include "mouse/dpi.h"

#include <algorithm>
#include <cctype>

namespace orvane::mouse {

uint32_t DpiOfPosition(const MouseDeviceInfo& info, int position) {
    // A slider never goes below 0; a negative position from elsewhere is read as 0.
    const uint32_t p = position < 0 ? 0u : static_cast<uint32_t>(position);
    return uint32_t{info.minimumDpi()} + p * info.dpiStep();
}

int PositionOfDpi(const MouseDeviceInfo& info, int dpi) {
    const int step = std::max<int>(info.dpiStep(), 1);  // a record without a step moves by one DPI
    const int above = std::max(dpi - int{info.minimumDpi()}, 0);
    return std::min((above + step / 2) / step, int{info.highestPosition()});
}

std::string DpiLabelText(const MouseDeviceInfo& info, int position) {
    return std::to_string(DpiOfPosition(info, position));
}

const SensorLimits* ApplySensorLimits(MouseDeviceInfo& info) {
    const SensorLimits* limits = FindSensorLimits(info.sensorId());
    if (limits) info.setMinimumDpi(limits->minimumDpi);
    return limits;
}

std::array<std::optional<StageMark>, kDpiStageCount> StageHighlight(uint8_t activeStage) {
    std::array<std::optional<StageMark>, kDpiStageCount> marks;
    if (activeStage < kDpiStageCount) {
        for (size_t i = 0; i < kDpiStageCount; ++i)
            marks[i] = i == activeStage ? StageMark::Active : StageMark::Inactive;
        return marks;
    }
    marks[0] = StageMark::Active;
    for (size_t i = 1; i < 4; ++i) marks[i] = StageMark::Inactive;
    return marks;  // stages 5 and 6 keep their colours
}

uint8_t LiftOffFromSlider(int position) { return static_cast<uint8_t>(std::clamp(position, 0, 255)); }

uint8_t ClampColourComponent(int value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); }

int PointerSpeedFromSlider(int position) { return position < 0 ? 2 : (position + 1) * 2; }

int PointerSliderFromSpeed(int speed) { return speed / 2; }

int ClampPointerSpeed(int speed) { return std::clamp(speed, kMinPointerSpeed, kMaxPointerSpeed); }

int ClampWheelLines(int lines) { return std::clamp(lines, kMinWheelLines, kMaxWheelLines); }

int StoredPointerSpeed(uint8_t fileByte) { return fileByte == 0 ? 1 : fileByte; }

int StoredWheelLines(uint8_t fileByte) { return fileByte == 0 ? 1 : fileByte; }

int StepWheelLines(int current, int direction) {
    int w = current;
    if (direction > 0) {
        if (w <= 0) w = 1;
        return std::min(w + 1, kMaxWheelLines);
    }
    if (w > kMaxWheelLines) w = kMaxWheelLines;
    return w >= 2 ? w - 1 : kMinWheelLines;
}

int EditNumber(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    int value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > 1000000) break;  // far beyond any setting; keeps the sum from overflowing
    }
    return value;
}

}  // namespace orvane::mouse
