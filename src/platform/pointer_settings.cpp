// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/pointer_settings.h"

#include <algorithm>
#include <iostream>
#include <utility>

namespace orvane::platform {

namespace {

constexpr int kMinSpeed = 1, kMaxSpeed = 20;
constexpr int kMinLines = 1, kMaxLines = 10;

class FallbackBackend final : public PointerBackend {
public:
    std::string name() const override { return "none"; }
    bool applyPointerSpeed(int) override { return false; }
    bool applyWheelLines(int) override { return false; }
};

}  // namespace

std::unique_ptr<PointerBackend> MakeFallbackPointerBackend() { return std::make_unique<FallbackBackend>(); }

double GnomeSpeedOf(int speed) {
    const int s = std::clamp(speed, kMinSpeed, kMaxSpeed);
    return -1.0 + 2.0 * (s - kMinSpeed) / (kMaxSpeed - kMinSpeed);
}

PointerSettings::PointerSettings(std::unique_ptr<PointerBackend> backend, LogSink log, Executor executor)
    : backend_(backend ? std::move(backend) : MakeFallbackPointerBackend()), log_(std::move(log)),
      executor_(std::move(executor)) {
    if (!log_) log_ = [](std::string_view line) { std::cerr << line << '\n'; };
}

PointerSettings::~PointerSettings() {
    std::jthread worker;
    {
        std::lock_guard lock(mutex_);
        worker = std::move(worker_);
    }
    // Destroying the worker asks it to stop: it finishes the desktop call in hand (one
    // short process run) and leaves what is still pending.
}

void PointerSettings::setPointerSpeed(int speed) {
    std::unique_lock lock(mutex_);
    speed_ = std::clamp(speed, kMinSpeed, kMaxSpeed);
    pendingSpeed_ = speed_;
    startWorker(lock);
}

void PointerSettings::setWheelLines(int lines) {
    std::unique_lock lock(mutex_);
    lines_ = std::clamp(lines, kMinLines, kMaxLines);
    pendingLines_ = lines_;
    startWorker(lock);
}

int PointerSettings::pointerSpeed() const {
    std::lock_guard lock(mutex_);
    return speed_;
}

int PointerSettings::wheelLines() const {
    std::lock_guard lock(mutex_);
    return lines_;
}

void PointerSettings::waitIdle() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return !working_; });
}

void PointerSettings::startWorker(std::unique_lock<std::mutex>& lock) {
    if (working_) return;  // the running worker picks the new value up before it ends
    working_ = true;
    if (executor_) {
        // orvanectl's executor runs the work at once, on this thread: it takes the lock itself.
        lock.unlock();
        executor_([this] { work({}); });
        return;
    }
    // A previous worker has cleared working_ as its last step, so this join is immediate.
    if (worker_.joinable()) worker_.join();
    worker_ = std::jthread([this](std::stop_token stop) { work(stop); });
}

void PointerSettings::work(std::stop_token stop) {
    std::unique_lock lock(mutex_);
    while (!stop.stop_requested() && (pendingSpeed_ || pendingLines_)) {
        const auto speed = std::exchange(pendingSpeed_, std::nullopt);
        const auto lines = std::exchange(pendingLines_, std::nullopt);
        lock.unlock();
        std::string failures;
        if (speed && !backend_->applyPointerSpeed(*speed))
            failures += "pointer speed " + std::to_string(*speed);
        if (lines && !backend_->applyWheelLines(*lines))
            failures += (failures.empty() ? "" : ", ") + std::string("wheel lines ") + std::to_string(*lines);
        if (!failures.empty())
            log_("pointer settings: the " + backend_->name() + " desktop backend cannot apply " + failures +
                 "; the value is kept");
        lock.lock();
    }
    working_ = false;
    idle_.notify_all();
}

}  // namespace orvane::platform
