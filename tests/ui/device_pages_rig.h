#pragma once
// A window with the real skin, its device wiring and emulated devices (replies without link
// delay), for the presence and page tests.

#include <QAbstractButton>
#include <QTemporaryDir>

#include <functional>
#include <initializer_list>
#include <memory>

#include "app/main_window.h"
#include "app/presence_wiring.h"
#include "platform/pointer_settings.h"
#include "shell_test_support.h"
#include "sim/emulator.h"
#include "sim/firmware_device.h"

namespace pagestest {

using orvane::device::DeviceModel;

class DeviceRig {
public:
    /// beforeStart runs after the devices are added and before the monitors start.
    explicit DeviceRig(std::initializer_list<DeviceModel> models,
                       const std::function<void(DeviceRig&)>& beforeStart = {}) {
        backend.setLink({std::chrono::microseconds(0)});
        for (auto m : models) backend.add(m);
        if (beforeStart) beforeStart(*this);
        window = std::make_unique<orvane::app::MainWindow>(
            backend, orvane::app::MainWindow::Options{.skinFolder = shelltest::SourceSkin(),
                                                       .mainIni = path("main.ini"),
                                                       .machineSettings = path("machine.ini"),
                                                       .dialogs = &dialogs,
                                                       .tray = false});
        devices = std::make_unique<orvane::app::DeviceWiring>(*window, orvane::platform::MakeFallbackPointerBackend());
        devices->install();
        window->initialise();
    }
    ~DeviceRig() {
        devices.reset();  // stops the monitors
        window->shutdown();
    }

    std::filesystem::path path(const char* name) const {
        return std::filesystem::path(dir.path().toStdString()) / name;
    }
    QWidget* control(const char* name) const { return window->control(QLatin1String(name)); }
    template <class T>
    T* control(const char* name) const { return window->control<T>(QLatin1String(name)); }
    /// The control exists and is not hidden (its window may be).
    bool shown(const char* name) const {
        QWidget* w = control(name);
        return w && !w->isHidden();
    }
    bool checked(const char* name) const {
        auto* b = control<QAbstractButton>(name);
        return b && b->isChecked();
    }

    orvane::sim::EmulatedDevice& device(DeviceModel model) { return *backend.find(model); }
    void firmware(DeviceModel model, const std::function<void(orvane::sim::DeviceFirmware&)>& fn) {
        device(model).withFirmware([&](orvane::sim::Firmware& f) { fn(static_cast<orvane::sim::DeviceFirmware&>(f)); });
    }
    /// A copy of the device's settings memory.
    std::vector<uint8_t> settings(DeviceModel model) {
        std::vector<uint8_t> out;
        firmware(model, [&](orvane::sim::DeviceFirmware& fw) {
            out.assign(fw.settingsMemory().begin(), fw.settingsMemory().end());
        });
        return out;
    }
    uint8_t activeSlot(DeviceModel model) {
        uint8_t slot = 0xFF;
        firmware(model, [&](orvane::sim::DeviceFirmware& fw) { slot = fw.activeSlot(); });
        return slot;
    }

    /// Waits until the device's connect actions have shown its tab.
    bool waitForTab(const char* tab) {
        return shelltest::WaitUntil([&] { return shown(tab); });
    }
    /// Lets the monitors run a few probe periods.
    void settle(int ms = 350) {
        shelltest::WaitUntil([] { return false; }, ms);
    }

    QTemporaryDir dir;
    orvane::sim::EmulatorBackend backend;
    orvane::ui::ScriptedDialogs dialogs;
    std::unique_ptr<orvane::app::MainWindow> window;
    std::unique_ptr<orvane::app::DeviceWiring> devices;
};

}  // namespace pagestest
