// SPDX-License-Identifier: GPL-3.0-or-later
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

#include "platform/paths.h"
#include "program_rig.h"
#include "ui/pages/profile_panel.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE

namespace profilestest {

using orvane::device::DeviceModel;
using orvane::profiles::ListId;
namespace fs = std::filesystem;

using programtest::ShippedDefaults;

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

class ProfileWindowRig : public programtest::ProgramRig {
public:
    /// prepare runs on the data folder before the window exists (an earlier run's profiles).
    explicit ProfileWindowRig(std::initializer_list<DeviceModel> models,
                              const std::function<void(const fs::path& data)>& prepare = {})
        : ProgramRig(Options(models, prepare)), window(&ProgramRig::window()), devices(&runtime()) {
        settle();
    }

    /// Waits for the device's tab, then for the jobs its arrival started.
    bool waitForTab(const char* tab) {
        const bool shown = ProgramRig::waitForTab(tab);
        settle();
        return shown;
    }
    void click(const QString& name) {
        auto* b = control<QAbstractButton>(name);
        ASSERT_NE(b, nullptr) << name.toStdString();
        b->click();
        settle();
    }
    QComboBox* combo(ListId id) { return control<QComboBox>(names(id).combo); }
    QStringList entries(ListId id) {
        QStringList out;
        if (auto* c = combo(id))
            for (int i = 0; i < c->count(); ++i) out << c->itemText(i);
        return out;
    }
    static orvane::ui::pages::ProfilePanelNames names(ListId id) { return orvane::ui::pages::ProfilePanelNames::Of(id); }
    fs::path file(ListId id, const std::string& name) { return *runtime().store.profilePath(id, name); }
    QStringList messages() const {
        QStringList out;
        for (const auto& s : dialogs.shown) out << s.text;
        return out;
    }

    orvane::app::MainWindow* window;
    orvane::runtime::Runtime* devices;  ///< models, store

    /// The options the rig runs with, for a run that needs more (a language).
    static programtest::RigOptions Options(std::initializer_list<DeviceModel> models,
                                           const std::function<void(const fs::path& data)>& prepare) {
        programtest::RigOptions o;
        o.models.assign(models.begin(), models.end());
        o.features = std::vector<std::string_view>{"presence", "profiles", "mouse page", "mousepad page", "key pages"};
        o.dataFromEnvironment = true;
        if (prepare) o.beforeBuild = [prepare](programtest::ProgramRig& rig) { prepare(rig.data); };
        return o;
    }
};

}  // namespace profilestest
