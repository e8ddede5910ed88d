// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The logic behind the mouse's performance page, as pure functions: DPI of a stage slider
// and its label text, the limits per sensor, the active-stage highlight, the colour edits,
// the desktop pointer speed and the wheel-line stepping. The page calls these and shows the
// results; nothing here touches a control or a device.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "mouse/mouse_records.h"
#include "mouse/sensors.h"

namespace orvane::mouse {

/// DPI shown for a stage slider position: minimum DPI + position x DPI step, both from the
/// information record (whatever minimum it holds when the sensor is unknown).
uint32_t DpiOfPosition(const MouseDeviceInfo& info, int position);
/// The slider position of a typed DPI: the nearest the sensor's step reaches (halves round
/// up), held to 0 ... the highest position.
int PositionOfDpi(const MouseDeviceInfo& info, int dpi);
/// The decimal text of DpiOfPosition, for "ms_DPI1_label_value" ... "ms_DPI6_label_value".
std::string DpiLabelText(const MouseDeviceInfo& info, int position);

/// The limits of the connected sensor. A known sensor writes its minimum DPI into the
/// information record and returns its row; an unknown one changes nothing and returns null,
/// so the limit labels keep their texts.
const SensorLimits* ApplySensorLimits(MouseDeviceInfo& info);

/// Text colour of the rank and value labels of one stage: the accent colour for the stage in
/// use, the text colour for the others, or nullopt where the label keeps its colour.
enum class StageMark : uint8_t { Active, Inactive };
/// One entry per stage 1-6. For an active stage 0-5, that stage is Active and the other
/// five Inactive. A value above 5 cannot be shown as a stage; stage 1 is marked Active,
/// stages 2-4 Inactive and stages 5 and 6 keep their colours.
std::array<std::optional<StageMark>, kDpiStageCount> StageHighlight(uint8_t activeStage);
// The skin's accent (in its lighter hover tone, readable as text on the dark panels) and its
// text colour.
inline constexpr uint32_t kActiveStageColour = 0xFFEE4650;
inline constexpr uint32_t kInactiveStageColour = 0xFFE4E7EC;

/// Lift-off height stored for a slider position (a negative position is stored as 0).
uint8_t LiftOffFromSlider(int position);

/// A colour component typed into an R, G or B edit: above 255 the edit shows "255" and 255
/// is stored; below 0 (not typeable in the edits, but a value from elsewhere) 0.
uint8_t ClampColourComponent(int value);
/// 0xFFRRGGBB for a palette or swatch.
constexpr uint32_t ArgbOf(Rgb c) { return 0xFF000000u | (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b; }
constexpr Rgb RgbOf(uint32_t argb) {
    return {static_cast<uint8_t>(argb >> 16), static_cast<uint8_t>(argb >> 8), static_cast<uint8_t>(argb)};
}

// ---- desktop pointer speed and wheel lines ------------------------------------------------

inline constexpr int kMinPointerSpeed = 1;
inline constexpr int kMaxPointerSpeed = 20;
inline constexpr int kMinWheelLines = 1;
inline constexpr int kMaxWheelLines = 10;
/// What "ms_one_profile_default" restores: speed 10 (slider 5), wheel lines 3.
inline constexpr int kDefaultPointerSpeed = 10;
inline constexpr int kDefaultWheelLines = 3;

/// Speed stored for a position of "ms_point_speed_slider": (position + 1) x 2; a negative
/// position gives 2. Applying clamps it to 1-20 (ClampPointerSpeed).
int PointerSpeedFromSlider(int position);
/// Slider position shown for a stored speed (a profile load): speed / 2.
int PointerSliderFromSpeed(int speed);
/// 1-20: 0 and below become 1, above 20 becomes 20.
int ClampPointerSpeed(int speed);
/// 1-10.
int ClampWheelLines(int lines);
/// Speed and lines as a lighting profile holds them: 0 is read as 1.
int StoredPointerSpeed(uint8_t fileByte);
int StoredWheelLines(uint8_t fileByte);

/// The up (+1) and down (-1) buttons of "ms_gunlun_speed_edit". `current` is the number in
/// the edit (0 for an empty or unreadable edit). Up: below 1 counts as 1, then +1, at most
/// 10. Down: above 10 counts as 10, then -1, at least 1.
int StepWheelLines(int current, int direction);
/// The number an edit text holds, as the wheel-line buttons read it: leading decimal
/// digits, 0 when there are none.
int EditNumber(const std::string& text);

}  // namespace orvane::mouse
