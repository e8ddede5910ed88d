// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Orvane device models as data: one row per model with its identity (which HID
// interfaces belong to it), its variant, its key, LED and DPI-stage counts, its shipped
// default profile files and the size of its lighting frames. Everything that differs
// between the models is read from these rows; a unit test checks them.

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

struct ModelRow {
    DeviceModel model;
    DeviceKind kind;
    uint16_t vendorId;
    uint16_t productId;
    bool hasNotificationInterface;  ///< consumer-control interface with the device's own events
    std::string_view shortName;     ///< command-line name: kb, kb1, ms, ms2, mp
    std::string_view displayName;
    uint8_t coloursPerLed;          ///< 3: red, green, blue; 1: one level per LED (single colour)
    uint8_t keyCount;               ///< key positions of the keyboard page, or the mouse's buttons
    uint8_t ledCount;               ///< LEDs of its lighting, one preview cell each on its page
    uint8_t dpiStages;              ///< DPI stages the page shows; 0 without a sensor
    std::string_view defaultKeyProfile;       ///< shipped default files; empty where it has none
    std::string_view defaultLightingProfile;

    /// The bytes of a whole lighting frame (one value per LED and colour).
    constexpr uint16_t frameBytes() const { return uint16_t(ledCount * coloursPerLed); }
    constexpr bool singleColour() const { return coloursPerLed == 1; }
};

// clang-format off
inline constexpr std::array<ModelRow, 5> kModels{{
    // model                  kind                 vendor            product notify  cli    name
    //   colours keys LEDs DPI stages  default key profile          default lighting profile
    {DeviceModel::RgbKeyboard, DeviceKind::Keyboard, kKeyboardVendor, 0x3021, true, "kb", "Orvane RGB keyboard",
       3, 126, 126, 0, "kbkeydefault.pro", "kbdengdefault.led"},
    {DeviceModel::MonoKeyboard, DeviceKind::Keyboard, kKeyboardVendor, 0x0000, false, "kb1", "Orvane single-colour keyboard",
       1, 126, 126, 0, "kbkeyonecolordefault.pro", "kbonecolordengdefault.led"},
    {DeviceModel::Mouse, DeviceKind::Mouse, kPeripheralVendor, 0x5523, true, "ms", "Orvane mouse",
       3, 6, 20, 5, "mskeydefault.pro", "msdengdefault.led"},
    {DeviceModel::Mouse2, DeviceKind::Mouse, kPeripheralVendor, 0x6717, true, "ms2", "Orvane mouse (second model)",
       3, 6, 20, 6, "mskeydefault.pro", "msdengdefault2.led"},
    {DeviceModel::Mousepad, DeviceKind::Mousepad, kPeripheralVendor, 0x5104, false, "mp", "Orvane mousepad",
       3, 0, 15, 0, "", "mpdengdefault.led"},
}};
// clang-format on

/// The model a kind starts with before any device was found (and the keyboard's model for
/// first-run profile creation).
constexpr DeviceModel FirstModelOf(DeviceKind kind) {
    for (const auto& m : kModels)
        if (m.kind == kind) return m.model;
    return DeviceModel::RgbKeyboard;
}

constexpr std::string_view KindTag(DeviceKind kind) {
    // The short name of the kind's first model.
    for (const auto& m : kModels)
        if (m.kind == kind && m.model == FirstModelOf(kind)) return m.shortName;
    return "??";
}

/// The folder inside the data folder that holds a kind's profiles, macros and cursor
/// sequences: its tag ("kb", "ms", "mp").
constexpr std::string_view DataFolderOf(DeviceKind kind) { return KindTag(kind); }

constexpr const ModelRow& RowOf(DeviceModel model) {
    for (const auto& m : kModels)
        if (m.model == model) return m;
    return kModels[0];
}
/// The older name of RowOf, for the identity columns.
constexpr const ModelRow& Identity(DeviceModel model) { return RowOf(model); }

/// The model of this kind that the product id stands for, or `previous` for an id that is
/// none of the kind's (the device answered with an unexpected id: keep what was known).
constexpr DeviceModel ModelAfterConnect(DeviceKind kind, uint16_t productId, DeviceModel previous) {
    for (const auto& m : kModels)
        if (m.kind == kind && m.productId == productId) return m.model;
    return previous;
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
