#pragma once
// Which HID interfaces belong to which Orvane device. Data only: the presence monitors and
// notification listeners match enumerated interfaces against these rows.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "device/hid/hid_types.h"

namespace orvane::device {

enum class DeviceKind : uint8_t { Keyboard = 1, Mouse = 2, Mousepad = 3 };
enum class InterfaceRole : uint8_t { Configuration, Notification };

/// The model a product id stands for.
enum class DeviceModel : uint8_t { RgbKeyboard, MonoKeyboard, Mouse, Mouse2, Mousepad };

inline constexpr uint16_t kConfigUsagePage = 0xFF1C;
inline constexpr uint16_t kConfigUsage = 0x0092;
inline constexpr uint16_t kConsumerUsagePage = 0x000C;
inline constexpr uint16_t kConsumerUsage = 0x0001;

inline constexpr uint16_t kKeyboardVendor = 0x264A;
inline constexpr uint16_t kPeripheralVendor = 0x0C45;

struct ModelIdentity {
    DeviceModel model;
    DeviceKind kind;
    uint16_t vendorId;
    uint16_t productId;
    bool hasNotificationInterface;  ///< consumer-control interface with the device's own events
    std::string_view shortName;     ///< command-line name: kb, kb1, ms, ms2, mp
    std::string_view displayName;
};

inline constexpr std::array<ModelIdentity, 5> kModels{{
    {DeviceModel::RgbKeyboard, DeviceKind::Keyboard, kKeyboardVendor, 0x3021, true, "kb", "Orvane RGB keyboard"},
    {DeviceModel::MonoKeyboard, DeviceKind::Keyboard, kKeyboardVendor, 0x0000, false, "kb1", "Orvane single-colour keyboard"},
    {DeviceModel::Mouse, DeviceKind::Mouse, kPeripheralVendor, 0x5523, true, "ms", "Orvane mouse"},
    {DeviceModel::Mouse2, DeviceKind::Mouse, kPeripheralVendor, 0x6717, true, "ms2", "Orvane mouse (second model)"},
    {DeviceModel::Mousepad, DeviceKind::Mousepad, kPeripheralVendor, 0x5104, false, "mp", "Orvane mousepad"},
}};

constexpr std::string_view KindTag(DeviceKind kind) {
    switch (kind) {
    case DeviceKind::Keyboard: return "kb";
    case DeviceKind::Mouse: return "ms";
    case DeviceKind::Mousepad: return "mp";
    }
    return "??";
}

constexpr const ModelIdentity& Identity(DeviceModel model) {
    for (const auto& m : kModels)
        if (m.model == model) return m;
    return kModels[0];
}

/// The model whose vendor and product ids these are, whatever interface.
constexpr std::optional<DeviceModel> ModelFor(uint16_t vendorId, uint16_t productId) {
    for (const auto& m : kModels)
        if (m.vendorId == vendorId && m.productId == productId) return m.model;
    return std::nullopt;
}

/// Which device and role an enumerated interface is, when it is one of ours.
struct Match {
    DeviceModel model;
    InterfaceRole role;
};
constexpr std::optional<Match> MatchInterface(const hid::InterfaceInfo& info) {
    const auto model = ModelFor(info.vendorId, info.productId);
    if (!model) return std::nullopt;
    if (info.usagePage == kConfigUsagePage && info.usage == kConfigUsage)
        return Match{*model, InterfaceRole::Configuration};
    if (info.usagePage == kConsumerUsagePage && info.usage == kConsumerUsage &&
        Identity(*model).hasNotificationInterface)
        return Match{*model, InterfaceRole::Notification};
    return std::nullopt;
}

constexpr std::optional<DeviceModel> ModelByShortName(std::string_view name) {
    for (const auto& m : kModels)
        if (m.shortName == name) return m.model;
    return std::nullopt;
}

}  // namespace orvane::device
