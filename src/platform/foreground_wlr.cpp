// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/foreground_wlr.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <wayland-client.h>

#include <QLoggingCategory>

#include <algorithm>
#include <cstring>
#include <map>

#include "wlr-foreign-toplevel-management-unstable-v1-client-protocol.h"

namespace {
Q_LOGGING_CATEGORY(lcWlr, "orvane.foreground.wlr", QtInfoMsg)

/// The newest manager version whose events the listeners below handle (3 adds "parent").
constexpr uint32_t kManagerVersion = 3;
}  // namespace

namespace orvane::platform {

struct WlrForeground::State {
    struct Toplevel {
        std::string appId, pendingAppId;
        bool activated = false, pendingActivated = false;
    };
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    zwlr_foreign_toplevel_manager_v1* manager = nullptr;
    std::map<zwlr_foreign_toplevel_handle_v1*, Toplevel> toplevels;

    ~State() {
        for (auto& [handle, toplevel] : toplevels) zwlr_foreign_toplevel_handle_v1_destroy(handle);
        if (manager) zwlr_foreign_toplevel_manager_v1_destroy(manager);
        if (registry) wl_registry_destroy(registry);
        if (display) wl_display_disconnect(display);
    }

    /// The one activated toplevel's app_id; none when zero or several are activated.
    std::optional<std::string> active() const {
        const Toplevel* found = nullptr;
        for (const auto& [handle, toplevel] : toplevels) {
            if (!toplevel.activated) continue;
            if (found) return std::nullopt;  // several seats: which one is "in front" is not certain
            found = &toplevel;
        }
        if (!found || found->appId.empty()) return std::nullopt;
        return found->appId;
    }
};

namespace {

using State = WlrForeground::State;

void OnTitle(void*, zwlr_foreign_toplevel_handle_v1*, const char*) {}
void OnOutput(void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {}
void OnParent(void*, zwlr_foreign_toplevel_handle_v1*, zwlr_foreign_toplevel_handle_v1*) {}

void OnAppId(void* data, zwlr_foreign_toplevel_handle_v1* handle, const char* appId) {
    auto* state = static_cast<State*>(data);
    // Kept within reason: an app_id is a short reverse-DNS name.
    if (auto it = state->toplevels.find(handle); it != state->toplevels.end())
        it->second.pendingAppId = std::string(appId ? appId : "").substr(0, 4096);
}

void OnState(void* data, zwlr_foreign_toplevel_handle_v1* handle, wl_array* states) {
    auto* state = static_cast<State*>(data);
    auto it = state->toplevels.find(handle);
    if (it == state->toplevels.end() || !states) return;
    bool activated = false;
    const size_t count = states->size / sizeof(uint32_t);
    for (size_t i = 0; i < count; ++i) {
        uint32_t value = 0;
        std::memcpy(&value, static_cast<const char*>(states->data) + i * sizeof value, sizeof value);
        activated = activated || value == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED;
    }
    it->second.pendingActivated = activated;
}

void OnDone(void* data, zwlr_foreign_toplevel_handle_v1* handle) {
    auto* state = static_cast<State*>(data);
    if (auto it = state->toplevels.find(handle); it != state->toplevels.end()) {
        it->second.appId = it->second.pendingAppId;
        it->second.activated = it->second.pendingActivated;
    }
}

void OnClosed(void* data, zwlr_foreign_toplevel_handle_v1* handle) {
    auto* state = static_cast<State*>(data);
    state->toplevels.erase(handle);
    zwlr_foreign_toplevel_handle_v1_destroy(handle);
}

const zwlr_foreign_toplevel_handle_v1_listener kHandleListener = {
    OnTitle, OnAppId, OnOutput, OnOutput, OnState, OnDone, OnClosed, OnParent,
};

void OnToplevel(void* data, zwlr_foreign_toplevel_manager_v1*, zwlr_foreign_toplevel_handle_v1* handle) {
    auto* state = static_cast<State*>(data);
    state->toplevels[handle] = {};
    zwlr_foreign_toplevel_handle_v1_add_listener(handle, &kHandleListener, state);
}

void OnFinished(void* data, zwlr_foreign_toplevel_manager_v1*) {
    auto* state = static_cast<State*>(data);
    zwlr_foreign_toplevel_manager_v1_destroy(state->manager);
    state->manager = nullptr;
}

const zwlr_foreign_toplevel_manager_v1_listener kManagerListener = {OnToplevel, OnFinished};

void OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
    auto* state = static_cast<State*>(data);
    if (state->manager || std::strcmp(interface, zwlr_foreign_toplevel_manager_v1_interface.name) != 0) return;
    state->manager = static_cast<zwlr_foreign_toplevel_manager_v1*>(wl_registry_bind(
        registry, name, &zwlr_foreign_toplevel_manager_v1_interface, std::min(version, kManagerVersion)));
    zwlr_foreign_toplevel_manager_v1_add_listener(state->manager, &kManagerListener, state);
}

void OnGlobalRemove(void*, wl_registry*, uint32_t) {}

const wl_registry_listener kRegistryListener = {OnGlobal, OnGlobalRemove};

}  // namespace

std::unique_ptr<WlrForeground> WlrForeground::Connect(const std::string& display) {
    auto state = std::make_unique<State>();
    state->display = wl_display_connect(display.empty() ? nullptr : display.c_str());
    if (!state->display) return nullptr;  // no compositor (or WAYLAND_DISPLAY unset)
    state->registry = wl_display_get_registry(state->display);
    wl_registry_add_listener(state->registry, &kRegistryListener, state.get());
    // The first round trip lists the globals, the second the toplevels that exist now.
    if (wl_display_roundtrip(state->display) < 0 || !state->manager) return nullptr;
    if (wl_display_roundtrip(state->display) < 0) return nullptr;
    auto self = std::unique_ptr<WlrForeground>(new WlrForeground(std::move(state)));
    if (self->wakeFd_ < 0) return nullptr;
    return self;
}

WlrForeground::WlrForeground(std::unique_ptr<State> state) : state_(std::move(state)) {
    active_ = state_->active();
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd_ >= 0) thread_ = std::jthread([this](std::stop_token stop) { listen(stop); });
}

WlrForeground::~WlrForeground() {
    if (thread_.joinable()) {
        thread_.request_stop();
        const uint64_t one = 1;
        [[maybe_unused]] const auto n = ::write(wakeFd_, &one, sizeof one);
        thread_.join();
    }
    if (wakeFd_ >= 0) ::close(wakeFd_);
}

void WlrForeground::publish() {
    const auto now = state_->active();
    {
        std::lock_guard lock(mutex_);
        if (now == active_) return;
        active_ = now;
        ++changes_;
    }
    changed_.notify_all();
}

void WlrForeground::listen(std::stop_token stop) {
    wl_display* display = state_->display;
    const int fd = wl_display_get_fd(display);
    bool lost = false;
    while (!stop.stop_requested() && !lost) {
        bool prepared = true;
        while (prepared && wl_display_prepare_read(display) != 0) prepared = wl_display_dispatch_pending(display) >= 0;
        if (!prepared) {
            lost = true;
            break;
        }
        wl_display_flush(display);
        pollfd fds[2] = {{fd, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 || (fds[1].revents & POLLIN)) {
            wl_display_cancel_read(display);
            continue;  // a stop (or an interrupted poll): the loop's test decides
        }
        if (fds[0].revents & POLLIN) {
            lost = wl_display_read_events(display) < 0 || wl_display_dispatch_pending(display) < 0;
        } else {
            wl_display_cancel_read(display);
            lost = fds[0].revents & (POLLERR | POLLHUP | POLLNVAL);
        }
        // One look per batch of events: a focus change deactivates one toplevel and activates
        // another, and in between no answer should be seen.
        if (!lost) publish();
    }
    if (lost) {
        qCInfo(lcWlr) << "the compositor closed the connection";
        {
            std::lock_guard lock(mutex_);
            connected_ = false;
            active_.reset();
            ++changes_;
        }
        changed_.notify_all();
    }
}

std::optional<std::string> WlrForeground::activeAppId() {
    std::lock_guard lock(mutex_);
    return active_;
}

bool WlrForeground::connected() {
    std::lock_guard lock(mutex_);
    return connected_;
}

bool WlrForeground::waitForChange(std::stop_token stop, std::chrono::milliseconds timeout, uint64_t& seen) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, stop, timeout, [&] { return changes_ != seen; });
    if (stop.stop_requested()) return false;
    seen = changes_;
    return true;
}

}  // namespace orvane::platform
