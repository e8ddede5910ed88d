// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The devices the device suites run on, behind one of two backends. In the integration tests
// the code under test talks to the emulator directly. In the hidraw tests (ORVANE_TEST_HIDRAW)
// it talks to hidapi's hidraw backend, and the emulator's devices are hidraw nodes of a
// umockdev test bed: enumeration goes through libudev and sysfs, every report through the
// node. Tests add, unplug and inspect devices the same way on both.

#include <algorithm>
#include <chrono>
#include <string>

#include "device/hid/hid_backend.h"
#include "device/models.h"
#include "sim/emulator.h"

#ifndef ORVANE_TEST_HIDRAW
#define ORVANE_TEST_HIDRAW 0
#endif

#if ORVANE_TEST_HIDRAW
#include "device/hid/hidapi_backend.h"
#include "sim/hidraw_bed.h"
#endif

namespace orvane::testing {

struct DeviceBed {
    static constexpr bool kHidraw = ORVANE_TEST_HIDRAW;

    sim::EmulatorBackend emulator;  // the devices themselves, on a zero-time link
#if ORVANE_TEST_HIDRAW
    sim::HidrawBed hidraw;
    hid::HidapiBackend hidapi;
#endif

    DeviceBed() { emulator.setLink({std::chrono::microseconds(0)}); }

    /// What the code under test talks to.
    hid::Backend& backend() {
#if ORVANE_TEST_HIDRAW
        return hidapi;
#else
        return emulator;
#endif
    }

    /// Plugs in a device of `model`.
    sim::EmulatedDevice& add(device::DeviceModel model) {
        sim::EmulatedDevice& device = emulator.add(model);
#if ORVANE_TEST_HIDRAW
        hidraw.add(emulator, device);
#endif
        return device;
    }

    /// Plugs in the devices of a comma list (kb, kb1, ms, ms2, mp).
    void addList(const std::string& list) {
        std::string::size_type start = 0;
        while (start <= list.size()) {
            const auto end = std::min(list.find(',', start), list.size());
            if (auto model = device::ModelByShortName(list.substr(start, end - start))) add(*model);
            start = end + 1;
        }
    }

    /// Unplugs a device: it leaves the enumeration, and its open handles fail from now on.
    void unplug(sim::EmulatedDevice& device) {
#if ORVANE_TEST_HIDRAW
        hidraw.remove(device);
#endif
        device.unplug();
    }
};

}  // namespace orvane::testing
