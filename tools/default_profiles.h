// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The bodies of the default profile files shipped next to the program, made from the
// emulated devices' factory contents: the factory key table is a key profile, slot record 0
// a mouse or mousepad lighting profile; a keyboard lighting profile is the factory slot-0
// lighting, a white paint colour on layer 0 and unpainted colour layers.
// gen_defaults writes them; a unit test checks that the shipped files still match.

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include "keyboard/keyboard_records.h"
#include "profiles/profile_lists.h"
#include "sim/firmware_profiles.h"

namespace orvane::tools {

struct DefaultProfile {
    std::string_view fileName;
    profiles::ListId list;
    std::vector<uint8_t> body;
};

inline std::vector<uint8_t> KeyboardLightingDefault(device::DeviceModel model) {
    keyboard::KeyboardLightingBody body{};
    const auto slot = sim::FactorySlotRecord(sim::ProfileFor(model), 0);
    std::copy(slot.begin(), slot.end(), body.slot.bytes.begin());
    body.paint.setRgb(keyboard::CustomPaintState::off::colour, {0xFF, 0xFF, 0xFF});
    const auto* bytes = reinterpret_cast<const uint8_t*>(&body);
    return {bytes, bytes + sizeof(body)};
}

template <class Bytes>
std::vector<uint8_t> Body(const Bytes& bytes) {
    return {bytes.begin(), bytes.end()};
}

inline std::vector<DefaultProfile> DefaultProfiles() {
    using device::DeviceModel;
    using profiles::ListId;
    const auto keys = [](DeviceModel m) { return Body(sim::FactoryKeyTable(sim::ProfileFor(m))); };
    const auto slot0 = [](DeviceModel m) { return Body(sim::FactorySlotRecord(sim::ProfileFor(m), 0)); };
    return {
        {"kbkeydefault.pro", ListId::KeyboardKeys, keys(DeviceModel::RgbKeyboard)},
        {"kbkeyonecolordefault.pro", ListId::KeyboardKeys, keys(DeviceModel::MonoKeyboard)},
        {"kbdengdefault.led", ListId::KeyboardLighting, KeyboardLightingDefault(DeviceModel::RgbKeyboard)},
        {"kbonecolordengdefault.led", ListId::KeyboardLighting, KeyboardLightingDefault(DeviceModel::MonoKeyboard)},
        {"mskeydefault.pro", ListId::MouseKeys, keys(DeviceModel::Mouse)},
        {"msdengdefault.led", ListId::MouseLighting, slot0(DeviceModel::Mouse)},
        {"msdengdefault2.led", ListId::MouseLighting, slot0(DeviceModel::Mouse2)},
        {"mpdengdefault.led", ListId::PadLighting, slot0(DeviceModel::Mousepad)},
    };
}

}  // namespace orvane::tools
