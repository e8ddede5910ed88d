// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program as main() builds it — runtime, window, the features of the table — on the
// real skin (or the fixture skin), emulated devices without link delay, a scratch folder for
// main.ini, the machine settings and the profile data, and scripted dialogs. A rig may
// install only some of the features.

#include <QAbstractButton>
#include <QTemporaryDir>

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

#include "app/program.h"
#include "device/protocol/window_thread_guard.h"
#include "platform/pointer_settings.h"
#include "shell_test_support.h"
#include "sim/emulator.h"
#include "sim/firmware_device.h"

namespace programtest {

using orvane::device::DeviceModel;
namespace fs = std::filesystem;

inline fs::path ShippedDefaults() { return fs::path(ORVANE_SOURCE_DIR) / "data" / "defaults"; }

struct RigOptions {
    std::vector<DeviceModel> models;
    /// Feature names from kFeatures; nullopt: all of them.
    std::optional<std::vector<std::string_view>> features;
    QString skinFolder = shelltest::SourceSkin();
    std::chrono::milliseconds stopBound = orvane::runtime::WorkerSet::kStopBound;
    bool tray = false;
    bool zeroLightingWaits = true;  ///< no start waits for the lighting workers
    /// The start wait of all three device workers instead (zeroLightingWaits aside).
    std::optional<std::chrono::milliseconds> lightingStartWaits;
    /// Runs on the rig after the devices are added and before the program is built.
    std::function<void(class ProgramRig&)> beforeBuild;
    /// Runs after the program is built and before it starts (workers plugged by a test).
    std::function<void(class ProgramRig&)> beforeStart;
    bool start = true;
    /// The data folder (and main.ini with it) named by ORVANE_DATA_DIR, as the program finds
    /// it; otherwise the runtime is given the scratch data folder and main.ini directly.
    bool dataFromEnvironment = false;
    bool startMinimized = false;
    /// The language of the run (as --language gives it, not stored); nullopt: the stored one.
    std::optional<int> language;
    /// Whether the desktop has a system tray (with `tray`); nullopt: ask Qt.
    std::optional<bool> trayAvailable;
};

class ProgramRig {
public:
    explicit ProgramRig(RigOptions o) : data(fs::path(scratch.path().toStdString()) / "data" / "KX") {
        backend.setLink({std::chrono::microseconds(0)});
        for (auto m : o.models) backend.add(m);
        if (o.beforeBuild) o.beforeBuild(*this);
        orvane::app::ProgramOptions options;
        options.runtime.backend = &backend;
        if (o.dataFromEnvironment) qputenv("ORVANE_DATA_DIR", QByteArray::fromStdString(data.string()));
        else options.runtime.dataFolder = data;
        options.runtime.defaultFolders = {ShippedDefaults()};
        options.runtime.pointerBackend = orvane::platform::MakeFallbackPointerBackend();
        options.runtime.pointerLog = [](std::string_view) {};
        options.runtime.stopBound = o.stopBound;
        if (o.zeroLightingWaits)
            options.runtime.animation.keyboardStartWait = options.runtime.animation.mouseStartWait =
                options.runtime.animation.padStartWait = std::chrono::milliseconds(0);
        if (o.lightingStartWaits)
            options.runtime.animation.keyboardStartWait = options.runtime.animation.mouseStartWait =
                options.runtime.animation.padStartWait = *o.lightingStartWaits;
        options.window = {.skinFolder = o.skinFolder,
                          .mainIni = o.dataFromEnvironment ? fs::path() : path("main.ini"),
                          .machineSettings = path("machine.ini"),
                          .dialogs = &dialogs,
                          .tray = o.tray,
                          .startMinimized = o.startMinimized,
                          .trayAvailable = o.trayAvailable,
                          .language = o.language};
        options.features = o.features;
        environment_ = o.dataFromEnvironment;
        exchangesBefore_ = orvane::protocol::ExchangesOnForbiddenThread();
        program = std::make_unique<orvane::app::Program>(std::move(options));
        if (o.beforeStart) o.beforeStart(*this);
        if (o.start) {
            program->initialise();
            QApplication::processEvents();  // messages posted by the first fill
        }
    }
    ~ProgramRig() {
        program.reset();
        EXPECT_EQ(orvane::protocol::ExchangesOnForbiddenThread(), exchangesBefore_)
            << "a device exchange ran on the window's thread";
        if (environment_) qunsetenv("ORVANE_DATA_DIR");
    }

    orvane::app::MainWindow& window() { return program->window(); }
    orvane::runtime::Runtime& runtime() { return program->runtime(); }
    template <class F>
    F* feature() const { return program->feature<F>(); }

    fs::path path(const char* name) const { return fs::path(scratch.path().toStdString()) / name; }
    QWidget* control(const QString& name) { return window().control(name); }
    QWidget* control(const char* name) { return window().control(QLatin1String(name)); }
    template <class T>
    T* control(const char* name) { return window().control<T>(QLatin1String(name)); }
    template <class T>
    T* control(const QString& name) { return window().control<T>(name); }
    /// The control exists and is not hidden (its window may be).
    bool shown(const char* name) {
        QWidget* w = control(name);
        return w && !w->isHidden();
    }
    bool checked(const char* name) {
        auto* b = control<QAbstractButton>(name);
        return b && b->isChecked();
    }
    bool waitForTab(const char* tab) { return shelltest::WaitUntil([&] { return shown(tab); }); }

    /// Waits until every device job has run and its result reached the window.
    bool settle(int timeoutMs = 10000) {
        auto& rt = runtime();
        return shelltest::WaitUntil([&] {
            for (auto kind : orvane::runtime::kDeviceKinds)
                if (!rt.jobs(kind).idle()) return false;
            return rt.desktopJobs().idle();
        }, timeoutMs);
    }
    /// Lets the monitors run a few probe periods, then settles the jobs.
    void wait(int ms = 350) {
        shelltest::WaitUntil([] { return false; }, ms);
        settle();
    }
    /// The 1-second push, now.
    void flush() {
        settle();
        runtime().events.flushTick.emit();
        settle();
    }

    orvane::sim::EmulatedDevice& device(DeviceModel model) { return *backend.find(model); }
    void firmware(DeviceModel model, const std::function<void(orvane::sim::DeviceFirmware&)>& fn) {
        device(model).withFirmware([&](orvane::sim::Firmware& f) { fn(static_cast<orvane::sim::DeviceFirmware&>(f)); });
    }
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
    std::vector<uint8_t> keyMemory(DeviceModel model, size_t n) {
        std::vector<uint8_t> out;
        firmware(model, [&](orvane::sim::DeviceFirmware& fw) {
            out.assign(fw.keyMemory().begin(), fw.keyMemory().begin() + std::ptrdiff_t(n));
        });
        return out;
    }

    QTemporaryDir scratch;
    fs::path data;
    orvane::sim::EmulatorBackend backend;
    orvane::ui::ScriptedDialogs dialogs;
    std::unique_ptr<orvane::app::Program> program;

private:
    bool environment_ = false;
    uint64_t exchangesBefore_ = 0;
};

}  // namespace programtest
