// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A private X server for tests: Xvfb on a free display number (it picks one itself and
// reports it through -displayfd), client windows made by the x_window helper — copied under
// other names so that two windows belong to two different executables — and the root's
// _NET_ACTIVE_WINDOW set as a window manager would. Everything is ended when the session
// goes.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace orvane::testing {

class XSession {
public:
    struct Window {
        pid_t pid = -1;
        uint32_t id = 0;
        int input = -1;  ///< the client's stdin; closing it ends the client
        std::filesystem::path executable;
    };

    /// Starts Xvfb; null (and `why` set) when it is not installed or does not start.
    static std::unique_ptr<XSession> Start(std::string* why) {
        auto session = std::unique_ptr<XSession>(new XSession);
        int fds[2];
        if (::pipe(fds) != 0) return Fail(why, "pipe failed");
        ::fcntl(fds[0], F_SETFD, FD_CLOEXEC);
        const std::string fd = std::to_string(fds[1]);
        session->server_ = Spawn({"Xvfb", "-displayfd", fd, "-screen", "0", "320x240x24", "-nolisten", "tcp"},
                                 {}, nullptr, nullptr);
        ::close(fds[1]);
        if (session->server_ < 0) {
            ::close(fds[0]);
            return Fail(why, "Xvfb is not installed");
        }
        const auto line = ReadLine(fds[0], 20000);
        ::close(fds[0]);
        if (!line || line->empty()) return Fail(why, "Xvfb did not start");
        session->display_ = ":" + *line;
        return session;
    }

    ~XSession() {
        for (auto& w : windows_) {
            if (w.input >= 0) ::close(w.input);
            End(w.pid);
        }
        End(server_);
        std::error_code ec;
        if (!scratch_.empty()) std::filesystem::remove_all(scratch_, ec);
    }

    const std::string& display() const { return display_; }

    /// A copy of `program` under `name` in the session's scratch folder.
    std::filesystem::path copyAs(const std::filesystem::path& program, const std::string& name) {
        if (scratch_.empty()) {
            std::string pattern = (std::filesystem::temp_directory_path() / "orvane-x-XXXXXX").string();
            scratch_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
        }
        const auto copy = scratch_ / name;
        std::filesystem::copy_file(program, copy, std::filesystem::copy_options::overwrite_existing);
        return copy;
    }

    /// Maps a window of `program` (x_window or a copy of it); its _NET_WM_PID is the client's
    /// pid, or `ownerPid` when given; its WM_CLIENT_MACHINE this host, or `machine`.
    std::optional<Window> open(const std::filesystem::path& program, std::optional<pid_t> ownerPid = {},
                               const std::string& machine = {}) {
        std::vector<std::string> args{program.string()};
        if (ownerPid) args.insert(args.end(), {"--pid", std::to_string(*ownerPid)});
        if (!machine.empty()) args.insert(args.end(), {"--machine", machine});
        int in[2], out[2];
        if (::pipe2(in, O_CLOEXEC) != 0) return std::nullopt;
        if (::pipe2(out, O_CLOEXEC) != 0) return std::nullopt;
        Window w;
        w.pid = Spawn(args, display_, &in[0], &out[1]);
        ::close(in[0]);
        ::close(out[1]);
        w.input = in[1];
        w.executable = program;
        windows_.push_back(w);
        const auto line = ReadLine(out[0], 20000);
        ::close(out[0]);
        if (w.pid < 0 || !line || line->empty()) return std::nullopt;
        w.id = uint32_t(std::strtoul(line->c_str(), nullptr, 10));
        windows_.back().id = w.id;
        return w;
    }

    /// _NET_ACTIVE_WINDOW of the root (0: no window in front). Done when it returns.
    bool activate(const std::filesystem::path& helper, uint32_t window) {
        const pid_t pid = Spawn({helper.string(), "--activate", std::to_string(window)}, display_, nullptr, nullptr);
        int status = 0;
        return pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    /// Closes a client's window (the client ends).
    void close(const Window& w) {
        for (auto& own : windows_) {
            if (own.pid != w.pid) continue;
            if (own.input >= 0) ::close(own.input);
            own.input = -1;
            int status = 0;
            ::waitpid(own.pid, &status, 0);
            own.pid = -1;
        }
    }

private:
    XSession() = default;

    static std::unique_ptr<XSession> Fail(std::string* why, const char* text) {
        if (why) *why = text;
        return nullptr;
    }

    /// posix_spawnp with DISPLAY set (when given) and optional stdin/stdout pipes.
    static pid_t Spawn(const std::vector<std::string>& args, const std::string& display, const int* stdinFd,
                       const int* stdoutFd) {
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e)
            if (std::strncmp(*e, "DISPLAY=", 8) != 0) env.emplace_back(*e);
        if (!display.empty()) env.push_back("DISPLAY=" + display);
        std::vector<char*> argv, envp;
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (stdinFd) posix_spawn_file_actions_adddup2(&actions, *stdinFd, 0);
        if (stdoutFd) posix_spawn_file_actions_adddup2(&actions, *stdoutFd, 1);
        // Xvfb's messages stay out of the test output.
        if (!stdoutFd) posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        pid_t pid = -1;
        const int rc = ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        return rc == 0 ? pid : -1;
    }

    static std::optional<std::string> ReadLine(int fd, int timeoutMs) {
        std::string line;
        while (line.find('\n') == std::string::npos) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, timeoutMs) <= 0) return std::nullopt;
            char buffer[64];
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n <= 0) return std::nullopt;
            line.append(buffer, size_t(n));
        }
        return line.substr(0, line.find('\n'));
    }

    static void End(pid_t pid) {
        if (pid <= 0) return;
        ::kill(pid, SIGTERM);
        int status = 0;
        ::waitpid(pid, &status, 0);
    }

    pid_t server_ = -1;
    std::string display_;
    std::filesystem::path scratch_;
    std::vector<Window> windows_;
};

}  // namespace orvane::testing
