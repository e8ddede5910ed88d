// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/paths.h"

#include <QDir>
#include <QStandardPaths>

#include <cstdlib>
#include <system_error>

namespace orvane::platform {

std::filesystem::path DocumentsFolder() {
    auto folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty()) folder = QDir::homePath() + "/Documents";
    return std::filesystem::path(folder.toStdString());
}

std::filesystem::path DataFolder() {
    // ORVANE_DATA_DIR moves all of the user's data (tests, scripts, a second set of profiles).
    const char* given = std::getenv(kDataFolderVariable);
    const auto folder = given && *given ? std::filesystem::path(given) : DocumentsFolder() / kDataFolderName;
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return folder;
}

std::filesystem::path MainIniPath() { return DataFolder() / kMainIniName; }

std::filesystem::path ExecutableFolder() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::current_path(ec) : exe.parent_path();
}

}  // namespace orvane::platform
