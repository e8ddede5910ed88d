#include "platform/paths.h"

#include <QDir>
#include <QStandardPaths>

#include <system_error>

namespace orvane::platform {

std::filesystem::path DocumentsFolder() {
    auto folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty()) folder = QDir::homePath() + "/Documents";
    return std::filesystem::path(folder.toStdString());
}

std::filesystem::path DataFolder() {
    const auto folder = DocumentsFolder() / kDataFolderName;
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
