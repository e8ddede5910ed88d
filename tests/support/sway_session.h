// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A private headless sway for tests: its own runtime folder, no input devices, the pixman
// renderer; client windows are foot terminals with chosen app_ids, focused through sway's
// own IPC (swaymsg). sway refuses to run as root, so under root the compositor and its
// clients run as "nobody" (setpriv); the test itself connects as root. Everything is ended
// when the session goes.

#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace orvane::testing {

class SwaySession {
public:
    /// Starts sway; null (and `why` set) when sway or foot is not installed or sway does
    /// not start here.
    static std::unique_ptr<SwaySession> Start(std::string* why) {
        for (const char* tool : {"sway", "swaymsg", "foot"})
            if (!OnPath(tool)) return Fail(why, std::string(tool) + " is not installed (Debian packages sway, foot)");
        auto s = std::unique_ptr<SwaySession>(new SwaySession);
        std::string pattern = (std::filesystem::temp_directory_path() / "orvane-sway-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) return Fail(why, "no scratch folder");
        s->runtime_ = pattern;
        if (::geteuid() == 0) {
            const passwd* nobody = ::getpwnam("nobody");
            if (!nobody) return Fail(why, "running as root, and there is no user \"nobody\" to run sway as");
            s->asNobody_ = true;
            if (::chown(s->runtime_.c_str(), nobody->pw_uid, nobody->pw_gid) != 0) return Fail(why, "chown failed");
        }
        std::ofstream(s->runtime_ / "config") << "output HEADLESS-1 resolution 640x480\n";
        ::chmod((s->runtime_ / "config").c_str(), 0644);
        s->sway_ = s->spawn({"sway", "-c", (s->runtime_ / "config").string()}, s->runtime_ / "sway.log");
        if (s->sway_ < 0) return Fail(why, "sway did not start");
        for (int i = 0; i < 200 && s->ipc_.empty(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            std::error_code ec;
            for (const auto& e : std::filesystem::directory_iterator(s->runtime_, ec))
                if (e.path().filename().string().starts_with("sway-ipc.")) s->ipc_ = e.path();
            int status = 0;
            if (::waitpid(s->sway_, &status, WNOHANG) == s->sway_) {
                s->sway_ = -1;
                return Fail(why, "sway ended at start: " + s->log());
            }
        }
        if (s->ipc_.empty() || !std::filesystem::exists(s->runtime_ / "wayland-1"))
            return Fail(why, "sway did not open its sockets: " + s->log());
        return s;
    }

    ~SwaySession() {
        for (const pid_t pid : clients_) End(pid);
        End(sway_);
        std::error_code ec;
        if (!runtime_.empty()) std::filesystem::remove_all(runtime_, ec);
    }

    /// The compositor's socket as an absolute path (WAYLAND_DISPLAY may be one).
    std::string display() const { return (runtime_ / "wayland-1").string(); }
    const std::filesystem::path& folder() const { return runtime_; }

    /// Opens a foot window with `appId`; true once sway lists it.
    bool open(const std::string& appId) {
        const pid_t pid = spawn({"foot", "--app-id=" + appId, "--", "sleep", "3600"}, runtime_ / ("foot-" + appId + ".log"));
        if (pid < 0) return false;
        clients_.push_back(pid);
        for (int i = 0; i < 400; ++i) {
            if (tree().find("\"app_id\": \"" + appId + "\"") != std::string::npos) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
        return false;
    }

    /// Focuses the window with `appId` as a user would (sway's IPC); true when sway did.
    bool focus(const std::string& appId) { return swaymsg({"[app_id=\"" + appId + "\"] focus"}).find("\"success\": true") != std::string::npos; }

    /// Ends the compositor (its clients go with it).
    void stop() {
        End(sway_);
        sway_ = -1;
    }

    std::string tree() { return swaymsg({"-t", "get_tree"}); }
    std::string log() const {
        std::ifstream in(runtime_ / "sway.log");
        std::string text((std::istreambuf_iterator<char>(in)), {});
        return text.size() > 2000 ? text.substr(text.size() - 2000) : text;
    }

private:
    SwaySession() = default;

    static std::unique_ptr<SwaySession> Fail(std::string* why, const std::string& text) {
        if (why) *why = text;
        return nullptr;
    }

    static bool OnPath(const std::string& tool) {
        for (const char* dir : {"/usr/local/bin", "/usr/bin", "/bin"})
            if (::access((std::string(dir) + "/" + tool).c_str(), X_OK) == 0) return true;
        return false;
    }

    /// Runs a program in the session's environment (as nobody under root), output to `log`.
    pid_t spawn(std::vector<std::string> args, const std::filesystem::path& log) {
        if (asNobody_) args.insert(args.begin(), {"setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"});
        std::vector<std::string> env{"PATH=/usr/local/bin:/usr/bin:/bin", "HOME=" + runtime_.string(),
                                     "XDG_RUNTIME_DIR=" + runtime_.string(), "WAYLAND_DISPLAY=wayland-1",
                                     "WLR_BACKENDS=headless", "WLR_LIBINPUT_NO_DEVICES=1", "WLR_RENDERER=pixman",
                                     "LANG=C.UTF-8"};
        std::vector<char*> argv, envp;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        for (auto& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        pid_t pid = -1;
        const int rc = ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        return rc == 0 ? pid : -1;
    }

    std::string swaymsg(const std::vector<std::string>& args) {
        std::string command = "swaymsg -s '" + ipc_.string() + "'";
        for (const auto& a : args) command += " '" + a + "'";
        FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
        if (!pipe) return {};
        std::string out;
        char buffer[4096];
        while (const size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
        ::pclose(pipe);
        return out;
    }

    static void End(pid_t pid) {
        if (pid <= 0) return;
        ::kill(pid, SIGTERM);
        int status = 0;
        ::waitpid(pid, &status, 0);
    }

    std::filesystem::path runtime_, ipc_;
    bool asNobody_ = false;
    pid_t sway_ = -1;
    std::vector<pid_t> clients_;
};

}  // namespace orvane::testing
