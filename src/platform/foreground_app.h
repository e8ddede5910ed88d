// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// ForegroundApp: the executable of the application whose window is in front, as the profile
// watchers compare it with the linked applications.
//
// On an X11 display (an X11 session, or the X11 windows of a Wayland session through
// XWayland) the window manager names the active window in the root window's
// _NET_ACTIVE_WINDOW; its _NET_WM_PID names the process, and /proc/PID/exe the executable.
// Without an X display, or when any step fails (no active window, no pid, a window of
// another machine, a process whose executable cannot be read), the answer is "unknown",
// which matches no link: a wrong match is worse than none.
//
// A query makes the few round trips it needs; one connection serves every thread and
// queries are serialised. waitForChange() lets the watchers sleep until the window manager
// names another active window (a PropertyNotify of _NET_ACTIVE_WINDOW on the root window,
// read on a second connection by one waiting thread at a time), so a switch is seen at once
// instead of at the next periodic look. Without an X display it is a plain sleep.
//
// A process keeps the executable it had when this object first saw it (ExecutableMemo): a
// linked program renamed while it runs, or replaced by a package upgrade (its
// /proc/PID/exe then reads "/usr/bin/x (deleted)"), is still the program that was linked.
//
// Which executable a process is: a process that is gone has none (unknown). A Flatpak
// application's /proc/PID/exe names its file inside the sandbox ("/app/bin/x"); it is read
// as the host's file (FlatpakHostPath), the one a user links. A Snap application's file is a
// host path already (/snap/NAME/REVISION/…). A script's process is its interpreter
// (/usr/bin/python3): only a link to the interpreter matches it, and then every script it
// runs does.

#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <unordered_map>

struct xcb_connection_t;

namespace orvane::platform {

/// The executable of each process as it was when first asked about, keyed by pid and the
/// process's start time (a reused pid is another process). Forgets everything when it grows
/// past kLimit entries.
class ExecutableMemo {
public:
    static constexpr size_t kLimit = 256;
    std::optional<std::string> of(pid_t pid);

private:
    struct Seen {
        uint64_t startTime = 0;
        std::string executable;
    };
    std::unordered_map<pid_t, Seen> seen_;
};

class ForegroundApp {
public:
    /// What the tool and the logs print for an unknown foreground application.
    static constexpr char kUnknown[] = "unknown";

    /// Connects to `display`, or to $DISPLAY when it is empty. A failed connection is
    /// tried again by a query at least kRetryPeriod later (an X server that starts later,
    /// or restarts).
    static constexpr std::chrono::seconds kRetryPeriod{10};
    explicit ForegroundApp(std::string display = {});
    ~ForegroundApp();
    ForegroundApp(const ForegroundApp&) = delete;
    ForegroundApp& operator=(const ForegroundApp&) = delete;

    /// True when an X display is connected now.
    bool hasDisplay();

    /// Which windows the answer can cover: every window (an X11 session), only the X11
    /// windows of a Wayland session (XWayland), or none (no X display). The link controls
    /// say so once in a tooltip when it is not every window.
    enum class Coverage { AllWindows, X11WindowsOnly, None };
    Coverage coverage();

    /// The absolute path of the executable that owns the active window, or nullopt.
    std::optional<std::string> query();

    /// query() as text: the path or kUnknown.
    std::string describe();

    /// Waits until the active window may have changed since this caller's last return
    /// (`seen` keeps its place; start it at 0), `timeout` passed, or stop was requested
    /// (then false). Without an X display it waits out the timeout.
    bool waitForChange(std::stop_token stop, std::chrono::milliseconds timeout, uint64_t& seen);

private:
    bool connectLocked();
    void disconnectLocked();
    std::optional<uint32_t> atomLocked(const char* name);
    std::optional<uint32_t> activeWindowLocked();
    std::optional<pid_t> windowPidLocked(uint32_t window);
    bool windowIsLocalLocked(uint32_t window);

    std::mutex mutex_;
    std::string display_;
    xcb_connection_t* connection_ = nullptr;
    uint32_t root_ = 0;
    uint32_t activeAtom_ = 0, pidAtom_ = 0;
    std::optional<std::chrono::steady_clock::time_point> lastFailure_;
    ExecutableMemo executables_;

    // The change listener: its own connection, used only by the thread that holds `reading_`.
    bool listenLocked();
    void readChanges(std::stop_token stop, std::chrono::steady_clock::time_point deadline);
    std::mutex changeMutex_;
    std::condition_variable_any changed_;
    uint64_t changes_ = 0;  ///< counts the changes the reader saw
    bool reading_ = false;
    xcb_connection_t* listener_ = nullptr;
    uint32_t listenerAtom_ = 0;
    int wakeFd_ = -1;  ///< an eventfd that ends the reader's poll when its stop is requested
    std::optional<std::chrono::steady_clock::time_point> lastListenFailure_;
};

/// The executable of a process as /proc/PID/exe resolves it; nullopt when it cannot be read
/// (the process ended, another user's process, a kernel thread). The " (deleted)" the kernel
/// adds once the file was removed or replaced is taken off (a file whose name really ends so
/// keeps it).
std::optional<std::string> ExecutableOfProcess(pid_t pid);

}  // namespace orvane::platform
