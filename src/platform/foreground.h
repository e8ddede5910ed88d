// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Foreground: the application in front, from whichever source the session offers, as the
// profile watchers and `orvanectl foreground` see it.
//
//  - X11 (ForegroundApp): an X11 session, and the XWayland windows of a Wayland session;
//    names the process, so the executable is exact.
//  - wlroots (WlrForeground): a Wayland session whose compositor offers the foreign
//    toplevel manager (sway, Hyprland, river, labwc…); names only the app_id, which is
//    matched against the links by its desktop entry's program or by the executable's name.
//
// An X11 answer wins: XWayland names no active window while a native Wayland window is in
// front, and when it names one its process is certain. Change notices come from the
// Wayland compositor when there is one (it also sees XWayland windows come to the front),
// else from the X server.

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>

#include "platform/foreground_app.h"

namespace orvane::platform {

class WlrForeground;

/// What is known of the application in front.
struct ForegroundApplication {
    /// The executable of its process (exact), when the source names the process.
    std::optional<std::string> executable;
    /// The compositor's name for it, when only that is known.
    std::optional<std::string> appId;
    /// The program the desktop entry "<appId>.desktop" starts, when there is a usable one.
    std::optional<std::string> appIdProgram;

    ForegroundApplication() = default;
    // An executable alone, as X11 and the tests give it.
    ForegroundApplication(std::optional<std::string> exe) : executable(std::move(exe)) {}  // NOLINT: implicit by design
    ForegroundApplication(std::string exe) : executable(std::move(exe)) {}                 // NOLINT
    ForegroundApplication(const char* exe) : executable(std::string(exe)) {}               // NOLINT
    ForegroundApplication(std::nullopt_t) {}                                                // NOLINT: unknown
    bool operator==(const ForegroundApplication&) const = default;

    bool known() const { return executable || appId; }
    /// One line: the path, "app_id ID (PROGRAM)", "app_id ID", or "unknown".
    std::string describe() const;
};

class Foreground {
public:
    struct Options {
        std::string x11Display;      ///< empty: $DISPLAY
        std::string waylandDisplay;  ///< empty: $WAYLAND_DISPLAY
        bool useWayland = true;      ///< false: X11 only (tests of the X11 source)
    };
    Foreground();
    explicit Foreground(Options options);
    ~Foreground();
    Foreground(const Foreground&) = delete;
    Foreground& operator=(const Foreground&) = delete;

    /// The source in use: "wlroots", "x11", or "none".
    std::string_view backend();
    /// How much of the desktop the answer covers (the link controls' hint).
    ForegroundApp::Coverage coverage();
    ForegroundApplication query();
    /// As ForegroundApp::waitForChange, from the source that tells of changes.
    bool waitForChange(std::stop_token stop, std::chrono::milliseconds timeout, uint64_t& seen);

    ForegroundApp& x11() { return x11_; }

private:
    bool waylandConnected();

    ForegroundApp x11_;
    std::unique_ptr<WlrForeground> wlr_;
};

}  // namespace orvane::platform
