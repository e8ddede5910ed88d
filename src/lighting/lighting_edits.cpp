// SPDX-License-Identifier: GPL-3.0-or-later
#include "lighting/lighting_edits.h"

#include "lighting/keyboard_tables.h"

namespace orvane::lighting {

using keyboard::KeyboardData;
using keyboard::KeyboardVariant;
using keyboard::KeyColourMap;

uint8_t PaintSlotOf(KeyboardVariant v, size_t position) {
    if (position >= kKeyCount) return kNoKey;
    return v == KeyboardVariant::Rgb ? kRgbSlot[position] : kMonoSlot[position];
}

size_t PaintLayer(const KeyboardData& d) {
    const size_t layer = d.paint.layer();
    return layer < keyboard::kColourLayerCount ? layer : 0;
}

bool PaintsKey(uint8_t mode, KeyboardVariant v, size_t position) {
    return mode == CustomModeOf(v) && PaintSlotOf(v, position) < keyboard::kLedSlotCount;
}

bool PaintKey(KeyboardData& d, KeyboardVariant v, size_t position, PaintTool tool) {
    if (!PaintsKey(d.lighting.mode(), v, position)) return false;
    const uint8_t slot = PaintSlotOf(v, position);
    const size_t layer = PaintLayer(d);
    const bool light = tool == PaintTool::Light;
    if (v == KeyboardVariant::Rgb)
        d.colours.setColourAt(layer, slot, light ? d.paint.colour() : device::Rgb{});
    else
        d.colours.setLevelAt(layer, slot, light ? 255 : 0);
    return true;
}

void FillLayer(KeyboardData& d, KeyboardVariant v) {
    const size_t layer = PaintLayer(d);
    for (size_t slot = 0; slot < keyboard::kLedSlotCount; ++slot) {
        if (v == KeyboardVariant::Rgb) {
            const device::Rgb c = d.colours.colourAt(layer, slot);
            if (c.r == 0 && c.g == 0 && c.b == 0) d.colours.setColourAt(layer, slot, d.paint.colour());
        } else if (d.colours.levelAt(layer, slot) == 0) {
            d.colours.setLevelAt(layer, slot, 255);
        }
    }
}

void ClearLayer(KeyboardData& d, KeyboardVariant v) {
    const size_t layer = PaintLayer(d);
    const size_t bytes = v == KeyboardVariant::Rgb ? KeyColourMap::kLayerSize : keyboard::kLedSlotCount;
    for (size_t i = 0; i < bytes; ++i) d.colours.set(KeyColourMap::kLayerSize * layer + i, 0);
}

}  // namespace orvane::lighting
