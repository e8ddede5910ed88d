// SPDX-License-Identifier: GPL-3.0-or-later
#include "integrations/openrgb/sdk_devices.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

#include "keyboard/key_positions.h"
#include "keyboard/keyboard_model.h"
#include "lighting/keyboard_tables.h"
#include "lighting/lighting_edits.h"
#include "mousepad/pad_records.h"

namespace orvane::integrations::openrgb {

namespace {

using device::DeviceKind;
using device::DeviceModel;

/// How a kind's LEDs are laid out and what its slowest speed byte is.
struct KindRow {
    DeviceKind kind;
    DeviceType type;
    std::string_view zoneName;
    bool keyGrid;         ///< LEDs are the keys of the lighting grid, shown as a matrix
    uint8_t slowestSpeed; ///< speed byte 0 is the fastest
};
constexpr std::array<KindRow, 3> kKinds{{
    {DeviceKind::Keyboard, DeviceType::Keyboard, "Keyboard", true, lighting::kSlowestSpeed},
    {DeviceKind::Mouse, DeviceType::Mouse, "Mouse", false, lighting::kSlowestSpeed},
    {DeviceKind::Mousepad, DeviceType::Mousemat, "Mousepad", false, mousepad::kSlowestSpeed},
}};

const KindRow& KindOf(DeviceKind kind) {
    for (const auto& k : kKinds)
        if (k.kind == kind) return k;
    return kKinds[0];
}

Colour ToColour(device::Rgb c) { return {c.r, c.g, c.b}; }

Mode DirectMode() {
    Mode m;
    m.name = "Direct";
    m.value = kDirectModeValue;
    m.flags = mode_flag::kHasPerLedColour;
    m.colourMode = ColourMode::PerLed;
    return m;
}

Mode EffectMode(const EffectRow& e, const KindRow& kind, const lighting::LightingChoice& now) {
    Mode m;
    m.name = std::string(e.name);
    m.value = e.mode;
    if (e.speed) {
        m.flags |= mode_flag::kHasSpeed;
        m.speedMin = kind.slowestSpeed;  // slowest first, as the sliders show it
        m.speedMax = 0;
        m.speed = std::min<uint32_t>(now.speed, kind.slowestSpeed);
    }
    if (e.brightness) {
        m.flags |= mode_flag::kHasBrightness;
        m.brightnessMax = lighting::kBrightnessSteps - 1;
        m.brightness = std::min<uint32_t>(now.brightness, m.brightnessMax);
    }
    if (e.direction) {
        m.flags |= mode_flag::kHasDirectionLeftRight;
        m.direction = now.forward() ? kDirectionLeft : kDirectionRight;
    }
    if (e.colour) {
        m.flags |= mode_flag::kHasModeSpecificColour;
        m.coloursMin = m.coloursMax = 1;
        m.colourMode = ColourMode::ModeSpecific;
        m.colours = {ToColour(now.colour)};
    }
    if (e.sevenColour) {
        m.flags |= mode_flag::kHasRandomColour;
        if (now.seven()) m.colourMode = ColourMode::Random;
    }
    return m;
}

/// "Key: <key name>"; a key without a name of its own is named by its position, and a lit
/// position with no key (the lamps beside the function keys) is a "Light".
std::string LedNameOf(size_t position) {
    const keyboard::KeyPosition& key = keyboard::kKeyPositions[position];
    if (key.empty()) return "Light " + std::to_string(position);
    if (key.name.empty()) return "Key: Position " + std::to_string(position);
    return "Key: " + std::string(key.name);
}

/// The keyboard's LEDs in key-position order (the order of the page, row by row): each
/// position the lighting grid shows that drives an LED slot of this variant. The matrix is
/// the grid itself, 6 rows of 23 light columns; a wide key fills the cells it covers.
void AddKeyGrid(Controller& c, keyboard::KeyboardVariant variant) {
    std::array<bool, lighting::kKeyCount> inGrid{};
    for (uint8_t cell : lighting::kGrid)
        if (lighting::IsKey(cell)) inGrid[cell] = true;
    std::array<uint32_t, lighting::kKeyCount> ledOf{};
    ledOf.fill(kNoLed);
    for (size_t position = 0; position < lighting::kKeyCount; ++position) {
        const uint8_t slot = lighting::PaintSlotOf(variant, position);
        if (!inGrid[position] || !lighting::IsKey(slot)) continue;
        ledOf[position] = static_cast<uint32_t>(c.leds.size());
        c.leds.push_back({LedNameOf(position), slot});
    }
    MatrixMap m{uint32_t(lighting::kGridRows), uint32_t(lighting::kGridColumns), {}};
    for (size_t row = 0; row < lighting::kGridRows; ++row)
        for (size_t column = 0; column < lighting::kGridColumns; ++column) {
            const uint8_t cell = lighting::GridCell(column, row);
            m.cells.push_back(lighting::IsKey(cell) ? ledOf[cell] : kNoLed);
        }
    c.zones.back().type = ZoneType::Matrix;
    c.zones.back().matrix = std::move(m);
}

}  // namespace

std::span<const EffectRow> EffectsOf(DeviceModel model) { return lighting::EffectsOf(model); }

Controller ControllerOf(DeviceModel model, const lighting::LightingChoice& current, bool direct) {
    const device::ModelRow& row = device::RowOf(model);
    const KindRow& kind = KindOf(row.kind);
    Controller c;
    c.type = kind.type;
    c.name = std::string(row.displayName);
    c.vendor = "Orvane";
    c.description = "Orvane Configurator";
    char ids[16];
    std::snprintf(ids, sizeof ids, "%04x:%04x", row.vendorId, row.productId);
    c.location = "USB " + std::string(ids);
    c.modes.push_back(DirectMode());
    for (const EffectRow& e : EffectsOf(model)) {
        if (!direct && e.mode == current.mode) c.activeMode = static_cast<int32_t>(c.modes.size());
        c.modes.push_back(EffectMode(e, kind, current));
    }
    c.zones.push_back({std::string(kind.zoneName), ZoneType::Linear, 0, 0, 0, std::nullopt});
    if (kind.keyGrid) {
        AddKeyGrid(c, keyboard::VariantOf(model));
    } else {
        for (uint32_t i = 0; i < row.ledCount; ++i) c.leds.push_back({"LED " + std::to_string(i + 1), i});
    }
    Zone& zone = c.zones.back();
    zone.ledsMin = zone.ledsMax = zone.ledsCount = static_cast<uint32_t>(c.leds.size());
    c.colours.assign(c.leds.size(), Colour{});
    return c;
}

std::optional<lighting::LightingChoice> ChoiceOf(DeviceModel model, const Mode& mode, lighting::LightingChoice base) {
    for (const EffectRow& e : EffectsOf(model)) {
        if (mode.value != e.mode) continue;
        base.mode = e.mode;
        if (e.speed) base.speed = static_cast<uint8_t>(std::min<uint32_t>(mode.speed, KindOf(device::RowOf(model).kind).slowestSpeed));
        if (e.brightness) base.brightness = static_cast<uint8_t>(std::min<uint32_t>(mode.brightness, lighting::kBrightnessSteps - 1));
        if (e.direction) base.direction = mode.direction == kDirectionLeft ? 1 : 0;
        if (e.colour && !mode.colours.empty()) base.colour = {mode.colours[0].r, mode.colours[0].g, mode.colours[0].b};
        if (e.sevenColour) base.sevenColour = mode.colourMode == ColourMode::Random ? 1 : 0;
        return base;
    }
    return std::nullopt;
}

std::vector<uint8_t> FrameOf(DeviceModel model, const Controller& c) {
    const device::ModelRow& row = device::RowOf(model);
    std::vector<uint8_t> frame(row.frameBytes(), 0);
    const size_t count = std::min(c.leds.size(), c.colours.size());
    for (size_t i = 0; i < count; ++i) {
        const size_t at = size_t(c.leds[i].value) * row.coloursPerLed;
        if (at + row.coloursPerLed > frame.size()) continue;
        const Colour colour = c.colours[i];
        if (row.singleColour()) {
            frame[at] = std::max({colour.r, colour.g, colour.b});
        } else {
            frame[at] = colour.r;
            frame[at + 1] = colour.g;
            frame[at + 2] = colour.b;
        }
    }
    return frame;
}

}  // namespace orvane::integrations::openrgb
