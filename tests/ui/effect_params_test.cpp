// SPDX-License-Identifier: GPL-3.0-or-later
// The lighting pages' mode rows against the lighting's one table of what each effect takes
// (lighting/effect_params.h, which the OpenRGB SDK's modes are built from too): a control a
// row enables belongs to a parameter the effect takes, and one it disables to a parameter
// it does not.
#include <gtest/gtest.h>

#include <optional>

#include "lighting/effect_params.h"
#include "ui/pages/keyboard_lighting_page.h"
#include "ui/pages/mouse_lighting_page.h"
#include "ui/pages/pad_page.h"

namespace orvane::ui::pages {
namespace {

using device::DeviceModel;

/// Whether a row's Show value enables the control (nullopt: it says nothing about that).
std::optional<bool> Enables(Show how) {
    switch (how) {
    case Show::Shown:
    case Show::Enabled:
    case Show::EnabledHidden: return true;
    case Show::Off:
    case Show::Disabled:
    case Show::VisibleDisabled: return false;
    default: return std::nullopt;
    }
}

struct Columns {
    Show direction, colour, sevenColour, speed;
};

void Check(DeviceModel model, uint8_t mode, const Columns& row) {
    const lighting::EffectParams* effect = lighting::EffectOf(model, mode);
    if (!effect) return;  // a mode the table leaves out (no name of its own, custom, no frames)
    SCOPED_TRACE(::testing::Message() << int(model) << " mode " << int(mode) << " " << effect->name);
    const std::pair<Show, bool> columns[] = {{row.direction, effect->direction},
                                             {row.colour, effect->colour},
                                             {row.sevenColour, effect->sevenColour},
                                             {row.speed, effect->speed}};
    for (const auto& [show, takes] : columns)
        if (const auto enabled = Enables(show)) EXPECT_EQ(*enabled, takes);
}

TEST(EffectParams, ThePagesModeRowsAgreeWithTheSharedTable) {
    for (uint8_t m = 0; m < kRgbKeyboardModes.size(); ++m) {
        const auto& r = kRgbKeyboardModes[m];
        Check(DeviceModel::RgbKeyboard, m, {r.direction, r.colour, r.sevenColour, r.speed});
    }
    for (uint8_t m = 0; m < kMonoKeyboardModes.size(); ++m) {
        const auto& r = kMonoKeyboardModes[m];
        // The grid flash keeps its (hidden) direction control enabled; it has no direction.
        const Show direction = m == 8 ? Show::Keep : r.direction;
        Check(DeviceModel::MonoKeyboard, m, {direction, r.colour, r.sevenColour, r.speed});
    }
    for (uint8_t m = 0; m < kMouseModes.size(); ++m) {
        const auto& r = kMouseModes[m];
        Check(DeviceModel::Mouse, m, {r.direction, r.colour, r.sevenColour, r.speed});
    }
    for (uint8_t m = 0; m < kPadModes.size(); ++m) {
        const auto& r = kPadModes[m];
        // "Off" leaves the pad's colour controls usable for the next mode; it takes none.
        if (m == 9) continue;
        Check(DeviceModel::Mousepad, m, {r.direction, r.colour, r.sevenColour, r.speed});
    }
}

}  // namespace
}  // namespace orvane::ui::pages
