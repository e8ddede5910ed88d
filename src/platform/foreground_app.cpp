// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/foreground_app.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QLoggingCategory>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>

#include "platform/sandbox_path.h"

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

constexpr std::string_view kDeletedSuffix = " (deleted)";

/// The process's start time (field 22 of /proc/PID/stat, after the parenthesised name that
/// may itself hold spaces and parentheses); nullopt when unreadable.
std::optional<uint64_t> StartTimeOf(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(in, line)) return std::nullopt;
    const auto close = line.rfind(')');
    if (close == std::string::npos) return std::nullopt;
    std::istringstream fields(line.substr(close + 1));
    std::string field;
    for (int i = 3; i <= 22; ++i)
        if (!(fields >> field)) return std::nullopt;
    uint64_t value = 0;
    for (const char c : field) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + uint64_t(c - '0');
    }
    return value;
}

}  // namespace

namespace orvane::platform {

std::optional<std::string> ExecutableOfProcess(pid_t pid) {
    if (pid <= 0) return std::nullopt;
    const std::string link = "/proc/" + std::to_string(pid) + "/exe";
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink(link, ec);
    if (ec || !exe.is_absolute()) return std::nullopt;
    std::string path = exe.string();
    if (path.ends_with(kDeletedSuffix)) {
        // Removed or replaced since it started: the kernel appends the marker. A file really
        // named so is the running image itself.
        struct stat running{}, named{};
        const bool real = ::stat(link.c_str(), &running) == 0 && ::stat(path.c_str(), &named) == 0 &&
                          running.st_dev == named.st_dev && running.st_ino == named.st_ino;
        if (!real) path.resize(path.size() - kDeletedSuffix.size());
    }
    return path;
}

std::optional<std::string> ExecutableMemo::of(pid_t pid) {
    const auto start = StartTimeOf(pid);
    if (!start) return std::nullopt;  // gone, or no process
    if (const auto it = seen_.find(pid); it != seen_.end() && it->second.startTime == *start)
        return it->second.executable;
    auto executable = ExecutableOfProcess(pid);
    if (!executable) return std::nullopt;
    // A Flatpak application's file as the host names it (the one a user links).
    if (auto host = FlatpakHostPath("/proc/" + std::to_string(pid) + "/root", *executable)) executable = std::move(host);
    // A process that ended while being read must not leave its answer to a successor.
    if (StartTimeOf(pid) != start) return std::nullopt;
    if (seen_.size() >= kLimit) seen_.clear();
    seen_[pid] = {*start, *executable};
    return executable;
}

ForegroundApp::ForegroundApp(std::string display) : display_(std::move(display)) {}

ForegroundApp::~ForegroundApp() {
    std::lock_guard guard(mutex_);
    disconnectLocked();
    if (listener_) xcb_disconnect(listener_);
    if (wakeFd_ >= 0) ::close(wakeFd_);
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
            path = executables_.of(*pid);
    }
    if (xcb_connection_has_error(connection_)) disconnectLocked();  // the server went away
    return path;
}

std::string ForegroundApp::describe() { return query().value_or(kUnknown); }

bool ForegroundApp::listenLocked() {
    if (listener_ && !xcb_connection_has_error(listener_)) return true;
    if (listener_) xcb_disconnect(listener_);
    listener_ = nullptr;
    const char* name = display_.empty() ? std::getenv("DISPLAY") : display_.c_str();
    if (!name || !*name) return false;
    const auto now = std::chrono::steady_clock::now();
    if (lastListenFailure_ && now - *lastListenFailure_ < kRetryPeriod) return false;
    if (wakeFd_ < 0) wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    int screen = 0;
    listener_ = xcb_connect(name, &screen);
    auto it = xcb_setup_roots_iterator(xcb_get_setup(listener_));
    for (int i = 0; !xcb_connection_has_error(listener_) && i < screen && it.rem; ++i) xcb_screen_next(&it);
    bool ready = wakeFd_ >= 0 && !xcb_connection_has_error(listener_) && it.rem;
    if (ready) {
        const char atom[] = "_NET_ACTIVE_WINDOW";
        auto* reply = xcb_intern_atom_reply(
            listener_, xcb_intern_atom(listener_, 0, uint16_t(sizeof atom - 1), atom), nullptr);
        listenerAtom_ = reply ? reply->atom : 0;
        std::free(reply);
        // Other clients may select property changes on the root too; each gets its own events.
        const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_generic_error_t* error = xcb_request_check(
            listener_, xcb_change_window_attributes_checked(listener_, it.data->root, XCB_CW_EVENT_MASK, &mask));
        ready = listenerAtom_ != 0 && !error;
        std::free(error);
    }
    if (!ready) {
        qCDebug(lcForeground) << "no change events from" << name << "; looking periodically";
        xcb_disconnect(listener_);
        listener_ = nullptr;
        lastListenFailure_ = now;
        return false;
    }
    lastListenFailure_.reset();
    return true;
}

void ForegroundApp::readChanges(std::stop_token stop, std::chrono::steady_clock::time_point deadline) {
    std::stop_callback wake(stop, [fd = wakeFd_] {
        const uint64_t one = 1;
        [[maybe_unused]] const auto n = ::write(fd, &one, sizeof one);
    });
    while (!stop.stop_requested()) {
        bool changed = false;
        while (xcb_generic_event_t* event = xcb_poll_for_event(listener_)) {
            if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY &&
                reinterpret_cast<xcb_property_notify_event_t*>(event)->atom == listenerAtom_)
                changed = true;
            std::free(event);
        }
        if (changed) {
            std::lock_guard lock(changeMutex_);
            ++changes_;
            return;
        }
        if (xcb_connection_has_error(listener_)) return;  // the server went away: listenLocked reconnects
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return;
        pollfd fds[2] = {{xcb_get_file_descriptor(listener_), POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        ::poll(fds, 2, int(std::min<int64_t>(left.count(), INT_MAX)));
        // A wake-up meant for an earlier reader must not keep this one's poll spinning.
        if (fds[1].revents & POLLIN) {
            uint64_t drained = 0;
            [[maybe_unused]] const auto n = ::read(wakeFd_, &drained, sizeof drained);
        }
    }
}

bool ForegroundApp::waitForChange(std::stop_token stop, std::chrono::milliseconds timeout, uint64_t& seen) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::unique_lock lock(changeMutex_);
    for (;;) {
        if (stop.stop_requested()) return false;
        if (changes_ != seen) {
            seen = changes_;
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) return true;
        if (!reading_) {
            if (!listenLocked()) {
                // No X display to listen to: the periodic look is all there is.
                return !changed_.wait_until(lock, stop, deadline, [] { return false; }) && !stop.stop_requested();
            }
            reading_ = true;  // this thread reads; the others wait for what it counts
            lock.unlock();
            readChanges(stop, deadline);
            lock.lock();
            reading_ = false;
            changed_.notify_all();
            continue;
        }
        changed_.wait_until(lock, stop, deadline, [&] { return changes_ != seen || !reading_; });
    }
}

}  // namespace orvane::platform
