#pragma once
// ProfileWiring: the profile store of the running program and its five panels. It fills the
// device wiring's profile seams (saves after read-backs and page edits, the mouse's lighting
// profile before its read-back, the recorded selections on arrival), routes the profile
// controls to the panels, fills the lists at window init, and puts selected profiles into
// effect on their pages. Create it after the DeviceWiring and before the window's
// initialise(); it stops the window's workers before it goes.

#include <filesystem>
#include <functional>
#include <vector>

#include "ui/pages/profile_panels.h"

namespace orvane::app {

class MainWindow;
class DeviceWiring;

class ProfileWiring {
public:
    struct Folders {
        std::filesystem::path data;                   ///< holds kb/, ms/, mp/
        std::vector<std::filesystem::path> defaults;  ///< where the shipped default files are
    };
    /// The user's data folder ($ORVANE_DATA_DIR or the documents' "KX") and the default
    /// files beside the program or in its install prefix.
    static Folders ProgramFolders();

    ProfileWiring(MainWindow& window, DeviceWiring& devices, Folders folders = ProgramFolders());
    ~ProfileWiring();
    ProfileWiring(const ProfileWiring&) = delete;
    ProfileWiring& operator=(const ProfileWiring&) = delete;

    profiles::ProfileStore store;
    profiles::ProfileOperations operations;
    ui::pages::ProfilePanels panels;

    /// Key label pages built later: run after a key profile was loaded.
    std::function<void()> renderKeyLabels;
    std::function<void()> refreshButtonLabels;

private:
    void applyPage(profiles::ListId id, const profiles::ProfileResult& r);

    MainWindow& window_;
    DeviceWiring& devices_;
};

}  // namespace orvane::app
