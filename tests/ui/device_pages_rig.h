// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The device pages on emulated devices: presence and the mouse and mousepad pages, without
// profiles or lighting workers (so that the devices see only the pages' own reports).

#include <functional>
#include <initializer_list>

#include "app/features.h"
#include "program_rig.h"

namespace pagestest {

using orvane::device::DeviceModel;

class DeviceRig : public programtest::ProgramRig {
public:
    /// beforeStart runs after the devices are added and before the monitors start.
    using Setup = std::function<void(programtest::ProgramRig&)>;
    explicit DeviceRig(std::initializer_list<DeviceModel> models, const Setup& beforeStart = {})
        : ProgramRig(Options(models, beforeStart)), window(&ProgramRig::window()), devices(&runtime()) {}

    /// Lets the monitors run a few probe periods.
    void settle(int ms = 350) { wait(ms); }

    orvane::app::MainWindow* window;
    orvane::runtime::Runtime* devices;  ///< models, flags, pointer settings

private:
    static programtest::RigOptions Options(std::initializer_list<DeviceModel> models, const Setup& beforeStart) {
        programtest::RigOptions o;
        o.models.assign(models.begin(), models.end());
        o.features = std::vector<std::string_view>{"presence", "mouse page", "mousepad page"};
        o.beforeBuild = beforeStart;
        return o;
    }
};

}  // namespace pagestest
