// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/foreground_app.h"

#include <unistd.h>
#include <xcb/xcb.h>

#include <QLoggingCategory>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string_view>

namespace {
Q_LOGGING_CATEGORY(lcForeground, "orvane.foreground", QtInfoMsg)

/// The reply of a 32-bit property with at least one value; freed on scope exit.
struct PropertyReply {
    xcb_get_property_reply_t* reply = nullptr;
    ~PropertyReply() { std::free(reply); }
    std::optional<uint32_t> first32(xcb_atom_t type) const {
        if (!reply || reply->type != type || reply->format != 32 || xcb_get_property_value_length(reply) < 4)
            return std::nullopt;
        uint32_t value = 0;
        std::memcpy(&value, xcb_get_property_value(reply), sizeof value);
        return value;
    }
    std::string_view text() const {
        if (!reply || reply->format != 8) return {};
        const int length = xcb_get_property_value_length(reply);
        return {static_cast<const char*>(xcb_get_property_value(reply)), size_t(length > 0 ? length : 0)};
    }
};

PropertyReply GetProperty(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property, xcb_atom_t type,
                          uint32_t longs) {
    xcb_generic_error_t* error = nullptr;
    const auto cookie = xcb_get_property(c, 0, window, property, type, 0, longs);
    PropertyReply r{xcb_get_property_reply(c, cookie, &error)};
    std::free(error);  // a window that went away meanwhile: no reply, no answer
    return r;
}

}  // namespace

namespace orvane::platform {

std::optional<std::string> ExecutableOfProcess(pid_t pid) {
    if (pid <= 0) return std::nullopt;
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/exe", ec);
    if (ec || !exe.is_absolute()) return std::nullopt;
    return exe.string();
}

ForegroundApp::ForegroundApp(std::string display) : display_(std::move(display)) {}

ForegroundApp::~ForegroundApp() {
    std::lock_guard guard(mutex_);
    disconnectLocked();
}

void ForegroundApp::disconnectLocked() {
    if (connection_) xcb_disconnect(connection_);
    connection_ = nullptr;
    root_ = activeAtom_ = pidAtom_ = 0;
}

bool ForegroundApp::connectLocked() {
    if (connection_ && !xcb_connection_has_error(connection_)) return true;
    disconnectLocked();
    const char* name = display_.empty() ? std::getenv("DISPLAY") : display_.c_str();
    if (!name || !*name) return false;  // no X display: a pure Wayland session, a console
    const auto now = std::chrono::steady_clock::now();
    if (lastFailure_ && now - *lastFailure_ < kRetryPeriod) return false;
    int screen = 0;
    connection_ = xcb_connect(name, &screen);
    if (xcb_connection_has_error(connection_)) {
        qCDebug(lcForeground) << "no X display at" << name;
        disconnectLocked();
        lastFailure_ = now;
        return false;
    }
    lastFailure_.reset();
    auto it = xcb_setup_roots_iterator(xcb_get_setup(connection_));
    for (int i = 0; i < screen && it.rem; ++i) xcb_screen_next(&it);
    if (!it.rem) {
        disconnectLocked();
        lastFailure_ = now;
        return false;
    }
    root_ = it.data->root;
    const auto active = atomLocked("_NET_ACTIVE_WINDOW");
    const auto pid = atomLocked("_NET_WM_PID");
    if (!active || !pid) {
        disconnectLocked();
        lastFailure_ = now;
        return false;
    }
    activeAtom_ = *active;
    pidAtom_ = *pid;
    return true;
}

std::optional<uint32_t> ForegroundApp::atomLocked(const char* name) {
    // Interned even when no client made it yet: a window manager that starts later sets it.
    const auto cookie = xcb_intern_atom(connection_, 0, uint16_t(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection_, cookie, nullptr);
    if (!reply) return std::nullopt;
    const uint32_t atom = reply->atom;
    std::free(reply);
    return atom ? std::optional(atom) : std::nullopt;
}

std::optional<uint32_t> ForegroundApp::activeWindowLocked() {
    const auto r = GetProperty(connection_, root_, activeAtom_, XCB_ATOM_WINDOW, 1);
    const auto window = r.first32(XCB_ATOM_WINDOW);
    // None (0): no window is active, or a window XWayland does not manage is (Wayland).
    return window && *window ? window : std::nullopt;
}

std::optional<pid_t> ForegroundApp::windowPidLocked(uint32_t window) {
    const auto pid = GetProperty(connection_, window, pidAtom_, XCB_ATOM_CARDINAL, 1).first32(XCB_ATOM_CARDINAL);
    if (!pid || *pid == 0 || *pid > uint32_t(INT_MAX)) return std::nullopt;
    return pid_t(*pid);
}

bool ForegroundApp::windowIsLocalLocked(uint32_t window) {
    // A pid is only meaningful on the machine the client runs on (a remote X client's pid
    // would name an unrelated local process). Clients that do not say are taken as local.
    const auto r = GetProperty(connection_, window, XCB_ATOM_WM_CLIENT_MACHINE, XCB_ATOM_STRING, 64);
    std::string_view machine = r.text();
    if (!r.reply || r.reply->type == XCB_ATOM_NONE || machine.empty()) return true;
    while (!machine.empty() && machine.back() == '\0') machine.remove_suffix(1);
    char host[HOST_NAME_MAX + 1] = {};
    if (::gethostname(host, sizeof host - 1) != 0) return true;
    return machine == std::string_view(host);
}

bool ForegroundApp::hasDisplay() {
    std::lock_guard guard(mutex_);
    return connectLocked();
}

ForegroundApp::Coverage ForegroundApp::coverage() {
    if (!hasDisplay()) return Coverage::None;
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const char* session = std::getenv("XDG_SESSION_TYPE");
    const bool waylandSession = (wayland && *wayland) || (session && std::string_view(session) == "wayland");
    return waylandSession ? Coverage::X11WindowsOnly : Coverage::AllWindows;
}

std::optional<std::string> ForegroundApp::query() {
    std::lock_guard guard(mutex_);
    if (!connectLocked()) return std::nullopt;
    std::optional<std::string> path;
    if (const auto window = activeWindowLocked()) {
        if (const auto pid = windowPidLocked(*window); pid && windowIsLocalLocked(*window))
            path = ExecutableOfProcess(*pid);
    }
    if (xcb_connection_has_error(connection_)) disconnectLocked();  // the server went away
    return path;
}

std::string ForegroundApp::describe() { return query().value_or(kUnknown); }

}  // namespace orvane::platform
