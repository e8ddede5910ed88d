// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window's lighting preview cells: one per LED of each device, kind by kind in the order
// mouse, mousepad, keyboard, each kind shown by its family of preview controls in the skin.
// The counts come from the model rows.

#include <array>
#include <cstddef>

#include "device/models.h"

namespace orvane::app {

struct PreviewFamily {
    device::DeviceKind kind;
    const char* controlPrefix;  ///< + the LED's index
};
inline constexpr std::array<PreviewFamily, 3> kPreviewFamilies{{
    {device::DeviceKind::Mouse, "ms_dkey_"},
    {device::DeviceKind::Mousepad, "mp_dkey_"},
    {device::DeviceKind::Keyboard, "kb_dkey_"},
}};

constexpr size_t PreviewCellsOf(device::DeviceKind kind) {
    return device::RowOf(device::FirstModelOf(kind)).ledCount;
}

constexpr size_t FirstPreviewCellOf(device::DeviceKind kind) {
    size_t first = 0;
    for (const auto& family : kPreviewFamilies) {
        if (family.kind == kind) break;
        first += PreviewCellsOf(family.kind);
    }
    return first;
}

inline constexpr size_t kPreviewCellCount = [] {
    size_t n = 0;
    for (const auto& family : kPreviewFamilies) n += PreviewCellsOf(family.kind);
    return n;
}();
static_assert(kPreviewCellCount == 20 + 15 + 126);

}  // namespace orvane::app
