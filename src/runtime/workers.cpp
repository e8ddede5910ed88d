// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/workers.h"

#include <condition_variable>
#include <mutex>

namespace orvane::runtime {

const char* OutcomeText(StopOutcome outcome) {
    switch (outcome) {
    case StopOutcome::AllEnded: return "所有对象处于激发状态\n";
    case StopOutcome::TimedOut: return "所有对象处于非激发状态，超时\n";
    }
    return "错误\n";
}

// Outlives the set when a worker is left running past the bound.
struct WorkerSet::Shared {
    std::mutex mutex;
    std::condition_variable ended;
    std::array<bool, kWorkerCount> running{};
};

WorkerSet::WorkerSet() : shared_(std::make_shared<Shared>()) {}

WorkerSet::~WorkerSet() { stopAll(); }

void WorkerSet::plug(WorkerSlot slot, WorkerBody body) { slots_[size_t(slot)].body = std::move(body); }

void WorkerSet::unplug(WorkerSlot slot) { slots_[size_t(slot)].body = {}; }

bool WorkerSet::plugged(WorkerSlot slot) const { return bool(slots_[size_t(slot)].body.run); }

void WorkerSet::startAll(const std::function<void()>& afterSynchronisedLighting) {
    for (size_t i = 0; i < kWorkerCount; ++i) {
        auto& slot = slots_[i];
        if (slot.body.run && !slot.thread.joinable()) {
            {
                std::lock_guard guard(shared_->mutex);
                shared_->running[i] = true;
            }
            slot.thread = std::jthread([shared = shared_, run = slot.body.run, i](std::stop_token stop) {
                run(stop);
                {
                    std::lock_guard guard(shared->mutex);
                    shared->running[i] = false;
                }
                shared->ended.notify_all();
            });
        }
        if (i == size_t(WorkerSlot::SynchronisedLighting) && afterSynchronisedLighting)
            afterSynchronisedLighting();
    }
}

StopOutcome WorkerSet::stopAll(std::chrono::milliseconds bound) {
    constexpr size_t kVersionCheck = size_t(WorkerSlot::VersionCheck);
    for (auto& slot : slots_) {
        if (!slot.thread.joinable()) continue;
        slot.thread.request_stop();
        if (slot.body.cancel) slot.body.cancel();
    }
    if (slots_[kVersionCheck].thread.joinable()) slots_[kVersionCheck].thread.detach();

    const auto deadline = std::chrono::steady_clock::now() + bound;
    bool allEnded = false;
    {
        std::unique_lock lock(shared_->mutex);
        allEnded = shared_->ended.wait_until(lock, deadline, [&] {
            for (size_t i = 0; i < kWorkerCount; ++i)
                if (i != kVersionCheck && shared_->running[i]) return false;
            return true;
        });
    }
    for (size_t i = 0; i < kWorkerCount; ++i) {
        auto& thread = slots_[i].thread;
        if (!thread.joinable()) continue;
        bool stillRunning;
        {
            std::lock_guard guard(shared_->mutex);
            stillRunning = shared_->running[i];
        }
        if (stillRunning) thread.detach();  // left to end by itself
        else thread.join();                 // it is past its last statement: returns at once
    }
    return allEnded ? StopOutcome::AllEnded : StopOutcome::TimedOut;
}

size_t WorkerSet::running() const {
    std::lock_guard guard(shared_->mutex);
    size_t n = 0;
    for (bool r : shared_->running) n += r;
    return n;
}

}  // namespace orvane::runtime
