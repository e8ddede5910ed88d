// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A runtime on emulated devices without a window: job results arrive on the job threads.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "device/discovery.h"
#include "platform/pointer_settings.h"
#include "runtime/runtime.h"
#include "sim/emulator.h"

namespace orvane {

using device::DeviceKind;
using device::DeviceModel;
using profiles::ListId;

inline std::string FileBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct RuntimeRig {
    explicit RuntimeRig(std::initializer_list<DeviceModel> models) {
        backend.setLink({std::chrono::microseconds(0)});
        for (auto m : models) backend.add(m);
        runtime::RuntimeOptions o;
        o.backend = &backend;
        o.dataFolder = std::filesystem::path(dir.path().toStdString()) / "KX";
        o.defaultFolders = {std::filesystem::path(ORVANE_SOURCE_DIR) / "data" / "defaults"};
        o.pointerBackend = platform::MakeFallbackPointerBackend();
        o.pointerLog = [](std::string_view) {};
        o.deliverToCreatingThread = false;
        o.animation.keyboardStartWait = o.animation.mouseStartWait = o.animation.padStartWait = std::chrono::milliseconds(0);
        rt = std::make_unique<runtime::Runtime>(std::move(o));
        for (DeviceKind k : runtime::kDeviceKinds) EXPECT_TRUE(rt->store.initProfileLists(k).message.empty());
    }
    /// Opens the device of that kind as a presence monitor would and runs its arrival.
    runtime::ArrivalReport arrive(DeviceKind kind) {
        auto& c = rt->connection(kind);
        std::lock_guard guard(c.lock);
        EXPECT_EQ(device::ConnectFirst(kind, c), device::ConnectError::None);
        return rt->arrive(kind, c.device.attributes());
    }
    sim::EmulatedDevice& device(DeviceModel m) { return *backend.find(m); }

    QTemporaryDir dir;
    sim::EmulatorBackend backend;
    std::unique_ptr<runtime::Runtime> rt;
};

}  // namespace orvane
