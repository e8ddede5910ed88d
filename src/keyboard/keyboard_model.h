#pragma once
// What the program holds about the keyboard, for the whole run. The presence monitor, the
// window thread and the lighting animation share it: records are reached through
// snapshot()/update() under the model's lock, never while a report is on its way.

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

#include "device/guarded_data.h"
#include <string_view>

#include "device/identity.h"
#include "keyboard/keyboard_records.h"

namespace orvane::keyboard {

enum class KeyboardVariant : uint8_t { Rgb = 0, SingleColour = 1 };

/// What the variant flag selects.
struct VariantRow {
    KeyboardVariant variant;
    std::string_view tab;
    std::string_view modeCombo;
    std::string_view defaultKeyProfile;
    std::string_view defaultLightingProfile;
};
inline constexpr std::array<VariantRow, 2> kVariants{{
    {KeyboardVariant::Rgb, "kb_tab", "kb_deng_combo_modeSelect", "kbkeydefault.pro", "kbdengdefault.led"},
    {KeyboardVariant::SingleColour, "kb_onecolor_tab", "kb_deng_onecolor_combo_modeSelect",
     "kbkeyonecolordefault.pro", "kbonecolordengdefault.led"},
}};
constexpr const VariantRow& RowOf(KeyboardVariant v) { return kVariants[static_cast<size_t>(v)]; }

/// The variant after a keyboard with this product id was found: the RGB keyboard's id gives
/// RGB, product id 0 single colour, any other id keeps the previous variant.
constexpr KeyboardVariant VariantAfterConnect(uint16_t productId, KeyboardVariant previous) {
    if (productId == device::Identity(device::DeviceModel::RgbKeyboard).productId) return KeyboardVariant::Rgb;
    if (productId == device::Identity(device::DeviceModel::MonoKeyboard).productId) return KeyboardVariant::SingleColour;
    return previous;
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
    std::atomic<KeyboardVariant> variant{KeyboardVariant::Rgb};
};

}  // namespace orvane::keyboard
