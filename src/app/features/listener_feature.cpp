// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/listener_feature.h"

#include <condition_variable>
#include <functional>
#include <mutex>

#include "runtime/runtime.h"

namespace orvane::app {

using device::DeviceKind;

namespace {

/// A job's completion, awaited by the listener's thread (or given up at stop).
struct Completion {
    std::mutex mutex;
    std::condition_variable_any cv;
    bool done = false;
    void finish() {
        {
            std::lock_guard lock(mutex);
            done = true;
        }
        cv.notify_all();
    }
    void wait(std::stop_token stop) {
        std::unique_lock lock(mutex);
        cv.wait(lock, stop, [this] { return done; });
    }
};

/// Runs a mouse re-read as a job of its session (the page shows the new state on success)
/// and waits for it, so that two reactions never overlap.
void ReReadMouse(runtime::Runtime& rt, bool slotZero, std::stop_token stop) {
    auto completion = std::make_shared<Completion>();
    auto done = [completion](runtime::JobStatus, const int32_t&) { completion->finish(); };
    if (slotZero) rt.mouseSession().reloadSlotZero(done);
    else rt.mouseSession().readBack(done);
    completion->wait(stop);
}

}  // namespace

void ReactToMouseNotification(runtime::Runtime& rt, uint16_t usage, std::stop_token stop) {
    switch (usage) {
        case device::kNotifySlotZeroChanged:
            ReReadMouse(rt, true, stop);
            break;
        case device::kNotifySettingsChanged:
            ReReadMouse(rt, false, stop);
            break;
        case device::kNotifyReactiveTrigger:
            rt.lighting.triggers.click();
            rt.lighting.changed();
            break;
        default: break;  // not one of the mouse's
    }
}

void ListenerFeature::install(FeatureContext& context) {
    runtime::Runtime& rt = context.runtime;
    hid::Backend& backend = rt.connection(DeviceKind::Mouse).device.backend();
    mouse_ = std::make_shared<device::NotificationListener>(
        backend,
        device::ListenerConfig{
            {device::DeviceModel::Mouse, device::DeviceModel::Mouse2}, true, "鼠标同步线程设定测试退出"});
    keyboard_ = std::make_shared<device::NotificationListener>(
        backend, device::ListenerConfig{{device::DeviceModel::RgbKeyboard, device::DeviceModel::MonoKeyboard},
                                        false,
                                        "键盘同步线程设定退出"});
    plug(context, runtime::WorkerSlot::MouseListener,
         {"mouse listener",
          [listener = mouse_, &rt](std::stop_token stop) {
              listener->run(stop, [&rt, stop](uint16_t usage) { ReactToMouseNotification(rt, usage, stop); });
          },
          {}});
    plug(
        context, runtime::WorkerSlot::KeyboardListener,
        {"keyboard listener", [listener = keyboard_](std::stop_token stop) { listener->run(stop, {}); }, {}});
}

}  // namespace orvane::app
