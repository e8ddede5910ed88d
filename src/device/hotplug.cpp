// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/hotplug.h"

#include <libudev.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <thread>

#include "device/log.h"

namespace orvane::device {

// --- HotplugSignal --------------------------------------------------------------------------

void HotplugSignal::raise() {
    {
        std::lock_guard lock(mutex_);
        ++count_;
    }
    changed_.notify_all();
}

uint64_t HotplugSignal::count() const {
    std::lock_guard lock(mutex_);
    return count_;
}

HotplugSignal::Wake HotplugSignal::wait(std::stop_token stop, std::chrono::milliseconds timeout, uint64_t& seen) {
    std::unique_lock lock(mutex_);
    const bool changed = changed_.wait_for(lock, stop, timeout, [&] { return count_ != seen; });
    seen = count_;
    if (stop.stop_requested()) return Wake::Stopped;
    return changed ? Wake::Changed : Wake::TimedOut;
}

HotplugSignal& SystemHotplug() {
    static HotplugSignal signal;
    return signal;
}

// --- HotplugWaiter --------------------------------------------------------------------------

HotplugWaiter::HotplugWaiter(HotplugSignal& signal) : signal_(signal), seen_(signal.count()) {}

bool HotplugWaiter::wait(std::stop_token stop, std::chrono::milliseconds timeout) {
    const auto wake = signal_.wait(stop, timeout, seen_);
    wokenByChange_ = wake == HotplugSignal::Wake::Changed;
    return wake != HotplugSignal::Wake::Stopped;
}

// --- UdevHotplugWatcher ---------------------------------------------------------------------

namespace {

struct UdevDeleter {
    void operator()(udev* u) const { udev_unref(u); }
    void operator()(udev_monitor* m) const { udev_monitor_unref(m); }
    void operator()(udev_device* d) const { udev_device_unref(d); }
};

bool IsAddOrRemove(udev_device* device) {
    const char* action = udev_device_get_action(device);
    return action && (std::strcmp(action, "add") == 0 || std::strcmp(action, "remove") == 0);
}

}  // namespace

struct UdevHotplugWatcher::Watch {
    std::unique_ptr<udev, UdevDeleter> context;
    std::unique_ptr<udev_monitor, UdevDeleter> monitor;
    int stopFd = -1;
    std::atomic<uint64_t>* events = nullptr;
    std::atomic<bool> ended{false};
    std::thread thread;

    ~Watch() {
        if (stopFd >= 0) ::close(stopFd);
    }

    // Drains what the monitor has; true when a hidraw node came or went (or events were lost).
    bool drain() {
        bool changed = false;
        for (;;) {
            errno = 0;
            std::unique_ptr<udev_device, UdevDeleter> device(udev_monitor_receive_device(monitor.get()));
            if (!device) return changed || errno == ENOBUFS;  // an overflow may have hidden one
            if (IsAddOrRemove(device.get())) {
                events->fetch_add(1, std::memory_order_relaxed);
                changed = true;
            }
        }
    }

    void run(HotplugSignal& signal) {
        watch(signal);
        ended = true;
    }

    void watch(HotplugSignal& signal) {
        pollfd fds[2] = {{stopFd, POLLIN, 0}, {udev_monitor_get_fd(monitor.get()), POLLIN, 0}};
        for (;;) {
            const int ready = ::poll(fds, 2, -1);
            if (ready < 0 && errno == EINTR) continue;
            if (ready < 0 || (fds[0].revents & POLLIN)) return;
            if (fds[1].revents & (POLLERR | POLLNVAL)) {
                Log("udev hot-plug monitor failed; the periodic scans go on");
                return;
            }
            if ((fds[1].revents & POLLIN) && drain()) signal.raise();
        }
    }
};

UdevHotplugWatcher::UdevHotplugWatcher(HotplugSignal& signal) : signal_(signal) {}

UdevHotplugWatcher::~UdevHotplugWatcher() { stop(); }

bool UdevHotplugWatcher::start() {
    if (watch_) return true;
    auto watch = std::make_unique<Watch>();
    watch->context.reset(udev_new());
    if (!watch->context) return false;
    // "udev": events after the rules ran (permissions set), not the kernel's raw ones.
    watch->monitor.reset(udev_monitor_new_from_netlink(watch->context.get(), "udev"));
    if (!watch->monitor) return false;
    if (udev_monitor_filter_add_match_subsystem_devtype(watch->monitor.get(), "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(watch->monitor.get()) < 0)
        return false;
    watch->stopFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (watch->stopFd < 0) return false;
    watch->events = &events_;
    watch->thread = std::thread([w = watch.get(), this] { w->run(signal_); });
    watch_ = std::move(watch);
    return true;
}

void UdevHotplugWatcher::stop() {
    if (!watch_) return;
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(watch_->stopFd, &one, sizeof one);
    if (watch_->thread.joinable()) watch_->thread.join();
    watch_.reset();
}

bool UdevHotplugWatcher::running() const { return watch_ && !watch_->ended; }

uint64_t UdevHotplugWatcher::events() const { return events_.load(std::memory_order_relaxed); }

}  // namespace orvane::device
