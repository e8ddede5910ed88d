// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// WlrForeground: the application in front on a wlroots compositor (sway, Hyprland, river,
// labwc…), told by the compositor through its foreign toplevel manager: every toplevel with
// its app_id and whether it is activated.
//
// The protocol names no process, only the app_id, so what this reports is the app_id of the
// one activated toplevel; none when no toplevel or more than one (several seats) is
// activated, or the one activated has no app_id.
//
// Event driven: one thread blocks on the Wayland connection and an eventfd that ends it, so
// an idle desktop costs nothing and a stop is seen at once. All Wayland objects are used by
// that thread only (after the constructor's first round trips); readers get a copy under a
// lock. When the compositor goes away the thread ends and the answer is none.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>

namespace orvane::platform {

class WlrForeground {
public:
    /// Connects to `display` (a socket name or path), or to $WAYLAND_DISPLAY when empty, and
    /// starts listening; nullptr when there is no compositor or it offers no foreign
    /// toplevel manager (GNOME, KDE Plasma).
    static std::unique_ptr<WlrForeground> Connect(const std::string& display = {});
    ~WlrForeground();
    WlrForeground(const WlrForeground&) = delete;
    WlrForeground& operator=(const WlrForeground&) = delete;

    /// The app_id of the activated toplevel, nullopt when none is certain.
    std::optional<std::string> activeAppId();
    /// False once the compositor closed the connection.
    bool connected();
    /// Waits until the activated toplevel changed since this caller's last return (`seen`
    /// keeps its place; start it at 0; true), `timeout` passed (true), or stop was requested
    /// (false).
    bool waitForChange(std::stop_token stop, std::chrono::milliseconds timeout, uint64_t& seen);

    struct State;  ///< the Wayland side, used by the listening thread

private:
    explicit WlrForeground(std::unique_ptr<State> state);
    void listen(std::stop_token stop);
    void publish();

    std::unique_ptr<State> state_;
    std::mutex mutex_;
    std::condition_variable_any changed_;
    std::optional<std::string> active_;
    bool connected_ = true;
    uint64_t changes_ = 0;
    int wakeFd_ = -1;
    std::jthread thread_;  ///< last: joined before the members it uses go
};

}  // namespace orvane::platform
