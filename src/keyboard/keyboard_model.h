// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the program holds about the keyboard, for the whole run. The presence monitor, the
// window thread and the lighting animation share it: records are reached through
// snapshot()/update() under the model's lock, never while a report is on its way.

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

#include "device/guarded_data.h"
#include "device/models.h"
#include "keyboard/keyboard_records.h"

namespace orvane::keyboard {

/// How the keyboard's lighting is driven: colours per LED, or one level per LED.
enum class KeyboardVariant : uint8_t { Rgb = 0, SingleColour = 1 };

constexpr KeyboardVariant VariantOf(device::DeviceModel model) {
    return device::RowOf(model).singleColour() ? KeyboardVariant::SingleColour : KeyboardVariant::Rgb;
}

struct KeyboardData {
    KeyboardInfo info;
    NativeKeyTable nativeKeys;
    KeyAssignmentBanks banks{};
    PositionMap positionMap = InitialPositionMap();
    LightingSlots lightingSlots{};
    LightingRecord lighting;
    CustomPaintState paint;
    KeyColourMap colours;

    /// The bank the current lighting record's slot byte names (0 after every read-back); a
    /// slot byte above 4 (only a damaged ".led" file holds one) names bank 0.
    size_t activeBank() const { return lighting.slot() < kBankCount ? lighting.slot() : 0; }
};

class KeyboardModel : public device::GuardedData<KeyboardData> {
public:
    /// The keyboard last found (the RGB one until then).
    std::atomic<device::DeviceModel> model{device::DeviceModel::RgbKeyboard};
    KeyboardVariant variant() const { return VariantOf(model.load()); }
    const device::ModelRow& row() const { return device::RowOf(model.load()); }
};

}  // namespace orvane::keyboard
