// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/foreground.h"

#include <cstdlib>

#include "platform/desktop_entry.h"
#include "platform/foreground_wlr.h"

namespace orvane::platform {

std::string ForegroundApplication::describe() const {
    if (executable) return *executable;
    if (!appId) return ForegroundApp::kUnknown;
    return "app_id " + *appId + (appIdProgram ? " (" + *appIdProgram + ")" : std::string());
}

Foreground::Foreground() : Foreground(Options{}) {}

Foreground::Foreground(Options options) : x11_(options.x11Display) {
    // Only where a Wayland session names its display: libwayland would otherwise try
    // "wayland-0" and complain on stderr in every X11 session.
    const char* named = std::getenv("WAYLAND_DISPLAY");
    if (options.useWayland && (!options.waylandDisplay.empty() || (named && *named)))
        wlr_ = WlrForeground::Connect(options.waylandDisplay);
}

Foreground::~Foreground() = default;

bool Foreground::waylandConnected() { return wlr_ && wlr_->connected(); }

std::string_view Foreground::backend() {
    if (waylandConnected()) return "wlroots";
    return x11_.hasDisplay() ? "x11" : "none";
}

ForegroundApp::Coverage Foreground::coverage() {
    return waylandConnected() ? ForegroundApp::Coverage::AllWindows : x11_.coverage();
}

ForegroundApplication Foreground::query() {
    ForegroundApplication app(x11_.query());
    if (app.executable || !waylandConnected()) return app;
    app.appId = wlr_->activeAppId();
    if (app.appId) app.appIdProgram = DesktopEntryProgram(*app.appId, ApplicationFolders());
    return app;
}

bool Foreground::waitForChange(std::stop_token stop, std::chrono::milliseconds timeout, uint64_t& seen) {
    if (waylandConnected()) return wlr_->waitForChange(stop, timeout, seen);
    return x11_.waitForChange(stop, timeout, seen);
}

}  // namespace orvane::platform
