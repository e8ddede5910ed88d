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
// Nothing is polled: each query() makes the few round trips it needs. One connection serves
// every thread; queries are serialised.

#include <sys/types.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

struct xcb_connection_t;

namespace orvane::platform {

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
};

/// The executable of a process as /proc/PID/exe resolves it; nullopt when it cannot be read
/// (the process ended, another user's process, a kernel thread).
std::optional<std::string> ExecutableOfProcess(pid_t pid);

}  // namespace orvane::platform
