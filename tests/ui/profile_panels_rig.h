#pragma once
// A window with the real skin, its device wiring, the profile store on a scratch data folder
// (named by ORVANE_DATA_DIR, so main.ini lands there too) with the shipped default files, and
// emulated devices without link delay.

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>

#include "app/main_window.h"
#include "app/presence_wiring.h"
#include "app/profile_wiring.h"
#include "platform/pointer_settings.h"
#include "shell_test_support.h"
#include "sim/emulator.h"
#include "sim/firmware_device.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace profilestest {

using orvane::device::DeviceModel;
using orvane::profiles::ListId;
namespace fs = std::filesystem;

inline fs::path ShippedDefaults() { return fs::path(ORVANE_SOURCE_DIR) / "data" / "defaults"; }

inline std::string FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "<missing>";
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

/// Every file of the data folder with its contents, to show that nothing was written.
inline std::map<std::string, std::string> Snapshot(const fs::path& folder) {
    std::map<std::string, std::string> files;
    std::error_code ec;
    for (const auto& e : fs::recursive_directory_iterator(folder, ec))
        if (e.is_regular_file()) files[fs::relative(e.path(), folder).string()] = FileBytes(e.path());
    return files;
}

class ProfileWindowRig {
public:
    /// prepare runs on the data folder before the window exists (an earlier run's profiles).
    explicit ProfileWindowRig(std::initializer_list<DeviceModel> models,
                              const std::function<void(const fs::path& data)>& prepare = {})
        : data(fs::path(scratch.path().toStdString()) / "data" / "KX") {
        qputenv("ORVANE_DATA_DIR", QByteArray::fromStdString(data.string()));
        if (prepare) prepare(data);
        backend.setLink({std::chrono::microseconds(0)});
        for (auto m : models) backend.add(m);
        window = std::make_unique<orvane::app::MainWindow>(
            backend, orvane::app::MainWindow::Options{.skinFolder = shelltest::SourceSkin(),
                                                       .machineSettings = path("machine.ini"),
                                                       .dialogs = &dialogs,
                                                       .tray = false});
        devices = std::make_unique<orvane::app::DeviceWiring>(*window, orvane::platform::MakeFallbackPointerBackend());
        devices->install();
        profiles = std::make_unique<orvane::app::ProfileWiring>(
            *window, *devices,
            orvane::app::ProfileWiring::Folders{orvane::profiles::ProfileDataFolder(), {ShippedDefaults()}});
        window->initialise();
        QApplication::processEvents();  // messages posted by the first fill
    }
    ~ProfileWindowRig() {
        profiles.reset();  // stops the monitors
        devices.reset();
        window->shutdown();
        qunsetenv("ORVANE_DATA_DIR");
    }

    fs::path path(const char* name) const { return fs::path(scratch.path().toStdString()) / name; }
    template <class T = QWidget>
    T* control(const QString& name) const { return window->control<T>(name); }
    void click(const QString& name) {
        auto* b = control<QAbstractButton>(name);
        ASSERT_NE(b, nullptr) << name.toStdString();
        b->click();
    }
    QComboBox* combo(ListId id) const { return control<QComboBox>(names(id).combo); }
    QStringList entries(ListId id) const {
        QStringList out;
        if (auto* c = combo(id))
            for (int i = 0; i < c->count(); ++i) out << c->itemText(i);
        return out;
    }
    static orvane::ui::pages::ProfilePanelNames names(ListId id) { return orvane::ui::pages::ProfilePanelNames::Of(id); }
    fs::path file(ListId id, const std::string& name) const { return *profiles->store.profilePath(id, name); }
    QStringList messages() const {
        QStringList out;
        for (const auto& s : dialogs.shown) out << s.text;
        return out;
    }
    bool waitForTab(const char* tab) {
        return shelltest::WaitUntil([&] {
            QWidget* w = control(QLatin1String(tab));
            return w && !w->isHidden();
        });
    }
    std::vector<uint8_t> keyMemory(DeviceModel model, size_t n) {
        std::vector<uint8_t> out;
        backend.find(model)->withFirmware([&](orvane::sim::Firmware& f) {
            auto& fw = static_cast<orvane::sim::DeviceFirmware&>(f);
            out.assign(fw.keyMemory().begin(), fw.keyMemory().begin() + std::ptrdiff_t(n));
        });
        return out;
    }

    QTemporaryDir scratch;
    fs::path data;
    orvane::sim::EmulatorBackend backend;
    orvane::ui::ScriptedDialogs dialogs;
    std::unique_ptr<orvane::app::MainWindow> window;
    std::unique_ptr<orvane::app::DeviceWiring> devices;
    std::unique_ptr<orvane::app::ProfileWiring> profiles;
};

}  // namespace profilestest
