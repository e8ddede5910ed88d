// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the program holds about the connected mouse. One MouseModel lives for the whole run;
// the presence monitor, the window thread and the lighting animation share it, so the
// records are reached through snapshot()/update() under the model's own lock, never while
// a report is on its way (device operations read into scratch buffers and commit after).

#include <atomic>
#include <cstdint>
#include <mutex>

#include "device/guarded_data.h"
#include "device/models.h"
#include "mouse/mouse_records.h"

namespace orvane::mouse {

struct MouseData {
    MouseDeviceInfo info;
    MouseDefaultKeys defaultKeys;
    MouseSettingsBlock block;
    MouseState state;
    /// Desktop pointer speed (1-20) and wheel lines (1-10) the lighting profile keeps.
    uint8_t pointerSpeed = 0;
    uint8_t wheelLines = 0;
};

class MouseModel : public device::GuardedData<MouseData> {
public:
    MouseState state() const {
        return read([](const MouseData& d) { return d.state; });
    }

    /// Set by every editor that changes what the mouse stores (DPI, report rate, lift-off,
    /// lighting mode, DPI colour, a lighting profile load); cleared by FlushMouseState.
    std::atomic<bool> stateDirty{false};
    /// The mouse last found (the first model until then); the second model has a sixth DPI
    /// stage and its own default lighting.
    std::atomic<device::DeviceModel> model{device::DeviceModel::Mouse};
    const device::ModelRow& row() const { return device::RowOf(model.load()); }
};

/// Stages the lighting profile in slot record 0 (whatever slot is active): the current
/// state in bytes 0-22, pointer speed and wheel lines in bytes 23 and 24. Returns the
/// record, which is the 64-byte ".led" body.
MouseSlotRecord StageLightingProfile(MouseData& data);

}  // namespace orvane::mouse
