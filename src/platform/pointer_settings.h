// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop's pointer speed (1-20) and wheel scroll lines (1-10), which the mouse page
// manages for the mouse. Values are applied through a desktop backend off the caller's
// thread (the program's desktop job queue, or a short-lived thread), so a caller never waits
// for the desktop; quick changes coalesce and the latest value is the one that stays applied.

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

namespace orvane::platform {

/// One way of applying the settings to the desktop. Calls come from the worker thread, one
/// at a time. false: this desktop could not take the value.
class PointerBackend {
public:
    virtual ~PointerBackend() = default;
    virtual std::string name() const = 0;
    virtual bool applyPointerSpeed(int speed) = 0;  ///< 1-20
    virtual bool applyWheelLines(int lines) = 0;    ///< 1-10
};

using LogSink = std::function<void(std::string_view line)>;

/// GNOME: "gsettings set org.gnome.desktop.peripherals.mouse speed X" with the speed 1-20
/// mapped onto -1..1. GNOME has no wheel-lines setting, so those are refused.
std::unique_ptr<PointerBackend> MakeGnomePointerBackend(LogSink log);
/// Keeps nothing on the desktop: every value is refused (and the caller logs it).
std::unique_ptr<PointerBackend> MakeFallbackPointerBackend();
/// The backend for the running desktop: GNOME when XDG_CURRENT_DESKTOP names it and
/// gsettings is on the PATH, else the fallback.
std::unique_ptr<PointerBackend> MakeDesktopPointerBackend(LogSink log);

/// GNOME's mouse speed (-1..1) for a pointer speed 1-20.
double GnomeSpeedOf(int speed);

class PointerSettings {
public:
    /// Runs the desktop calls off the caller's thread (a job queue of the program).
    using Executor = std::function<void(std::function<void()> work)>;

    /// log receives one line for every value the backend cannot apply (stderr when empty).
    /// Without an executor the settings keep a short-lived thread of their own.
    explicit PointerSettings(std::unique_ptr<PointerBackend> backend, LogSink log = {}, Executor executor = {});
    /// Waits for a running worker (at most one desktop call).
    ~PointerSettings();
    PointerSettings(const PointerSettings&) = delete;
    PointerSettings& operator=(const PointerSettings&) = delete;

    /// Clamps to 1-20, keeps the value and applies it on a worker.
    void setPointerSpeed(int speed);
    /// Clamps to 1-10, keeps the value and applies it on a worker.
    void setWheelLines(int lines);

    /// The values last set (0 before the first).
    int pointerSpeed() const;
    int wheelLines() const;

    /// Waits until every value set so far has been handed to the backend (tests, exit).
    void waitIdle();

    std::string backendName() const { return backend_->name(); }

private:
    /// Starts the worker unless one runs; takes the caller's lock, which it lets go before
    /// handing the work to the executor (an executor may run it at once, on this thread).
    void startWorker(std::unique_lock<std::mutex>& lock);
    void work(std::stop_token stop);

    std::unique_ptr<PointerBackend> backend_;
    LogSink log_;
    Executor executor_;
    mutable std::mutex mutex_;
    std::condition_variable idle_;
    int speed_ = 0;
    int lines_ = 0;
    std::optional<int> pendingSpeed_;
    std::optional<int> pendingLines_;
    bool working_ = false;
    std::jthread worker_;
};

}  // namespace orvane::platform
