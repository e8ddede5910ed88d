// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/runtime_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace orvane::platform {

namespace {

std::filesystem::path FolderPath() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime) return std::filesystem::path(runtime) / "orvane";
    return std::filesystem::path("/tmp") / ("orvane-" + std::to_string(::getuid()));
}

std::string OctalMode(mode_t mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%04o", unsigned(mode & 07777));
    return text;
}

}  // namespace

RuntimeFolder PrivateRuntimeFolder() {
    RuntimeFolder out;
    const std::filesystem::path folder = FolderPath();
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        out.problem = "cannot make the run-time folder " + folder.string() + ": " + std::strerror(errno);
        return out;
    }
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0) {
        out.problem = "cannot use the run-time folder " + folder.string() + ": " + std::strerror(errno);
        return out;
    }
    if (!S_ISDIR(st.st_mode)) {
        out.problem = "the run-time folder " + folder.string() + " is not a folder";
    } else if (st.st_uid != ::getuid()) {
        out.problem = "the run-time folder " + folder.string() + " belongs to another user";
    } else if ((st.st_mode & 077) != 0) {
        out.problem = "the run-time folder " + folder.string() + " is open to other users (mode " +
                      OctalMode(st.st_mode) + ")";
    } else if (::access(folder.c_str(), W_OK | X_OK) != 0) {
        out.problem = "cannot write in the run-time folder " + folder.string() + ": " + std::strerror(errno);
    }
    if (out.ok()) out.path = folder;
    return out;
}

std::string FileNameOf(const std::string& text) {
    std::string name;
    for (char ch : text.substr(0, 100)) {
        const bool keep = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
                          ch == '.' || ch == '-' || ch == '_';
        name += keep ? ch : '_';
    }
    if (name.empty() || name[0] == '.') name.insert(name.begin(), '_');
    return name;
}

}  // namespace orvane::platform
