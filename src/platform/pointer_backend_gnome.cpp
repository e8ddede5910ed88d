// SPDX-License-Identifier: GPL-3.0-or-later
// GNOME pointer speed through gsettings, run as a short-lived process.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "platform/pointer_settings.h"

extern char** environ;

namespace orvane::platform {

namespace {

constexpr auto kProcessTimeout = std::chrono::seconds(5);

/// Runs argv (no shell) with its output discarded; true when it exited with 0 in time.
bool RunQuietly(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return false;

    const auto deadline = std::chrono::steady_clock::now() + kProcessTimeout;
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) break;
        if (done < 0) return false;
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool OnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    if (!path) return false;
    std::string dirs = path;
    size_t start = 0;
    while (start <= dirs.size()) {
        const size_t end = dirs.find(':', start);
        const std::string dir = dirs.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!dir.empty() && access((dir + "/" + program).c_str(), X_OK) == 0) return true;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return false;
}

class GnomeBackend final : public PointerBackend {
public:
    explicit GnomeBackend(LogSink log) : log_(std::move(log)) {}
    std::string name() const override { return "GNOME"; }
    bool applyPointerSpeed(int speed) override {
        char value[32];
        std::snprintf(value, sizeof value, "%.4f", GnomeSpeedOf(speed));
        const bool ok = RunQuietly({"gsettings", "set", "org.gnome.desktop.peripherals.mouse", "speed", value});
        if (!ok && log_) log_(std::string("pointer settings: gsettings did not take the mouse speed ") + value);
        return ok;
    }
    bool applyWheelLines(int) override { return false; }  // GNOME keeps no such setting

private:
    LogSink log_;
};

bool NamesGnome(const char* desktop) {
    if (!desktop) return false;
    const std::string d = desktop;
    return d.find("GNOME") != std::string::npos || d.find("Unity") != std::string::npos;
}

}  // namespace

std::unique_ptr<PointerBackend> MakeGnomePointerBackend(LogSink log) {
    return std::make_unique<GnomeBackend>(std::move(log));
}

std::unique_ptr<PointerBackend> MakeDesktopPointerBackend(LogSink log) {
    if (NamesGnome(std::getenv("XDG_CURRENT_DESKTOP")) && OnPath("gsettings"))
        return MakeGnomePointerBackend(std::move(log));
    return MakeFallbackPointerBackend();
}

}  // namespace orvane::platform
