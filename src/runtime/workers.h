// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's worker threads. Each runs on a std::jthread and ends when its stop token is
// triggered; platform::SleepUnlessStopped() is the one way a worker sleeps, so a stop wakes
// it at once. The set starts the workers in a fixed order and stops them all within a
// bound: workers that end in time are joined, the others are left to end by themselves
// (their shared state stays alive) and the outcome says so. The start-up version check is
// cancelled, never waited for.

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <stop_token>
#include <string>
#include <thread>

namespace orvane::runtime {

/// The workers in the order they start.
enum class WorkerSlot : uint8_t {
    KeyboardPresence,
    MousePresence,
    MousepadPresence,
    MouseListener,
    KeyboardListener,
    KeyboardLighting,
    MouseLighting,
    MousepadLighting,
    SynchronisedLighting,  // the timers start after this one
    KeyboardWatcherA,
    KeyboardWatcherB,
    MouseWatcherA,
    MouseWatcherB,
    MousepadWatcher,
    VersionCheck,  // runs once; cancelled at exit, not waited for
    Count
};
inline constexpr size_t kWorkerCount = size_t(WorkerSlot::Count);

struct WorkerBody {
    std::string name;
    std::function<void(std::stop_token)> run;
    /// Called at stop besides the stop request (to abort a network request, say).
    std::function<void()> cancel;
};

enum class StopOutcome { AllEnded, TimedOut };

/// The log text for an outcome.
const char* OutcomeText(StopOutcome outcome);

class WorkerSet {
public:
    WorkerSet();
    ~WorkerSet();  ///< stops what still runs, with the default bound
    WorkerSet(const WorkerSet&) = delete;
    WorkerSet& operator=(const WorkerSet&) = delete;

    static constexpr std::chrono::milliseconds kStopBound{10000};

    /// Gives a slot its worker; only before startAll().
    void plug(WorkerSlot slot, WorkerBody body);
    /// Forgets a slot's worker (its owner is going); a thread still running keeps its own
    /// copy of the body.
    void unplug(WorkerSlot slot);
    bool plugged(WorkerSlot slot) const;
    /// Starts the plugged workers in slot order; afterSynchronisedLighting runs right after
    /// the ninth slot's turn, whether that slot is plugged or not.
    void startAll(const std::function<void()>& afterSynchronisedLighting = {});
    /// Requests every worker to stop and waits at most `bound` for all but the version
    /// check. Safe to call more than once.
    StopOutcome stopAll(std::chrono::milliseconds bound = kStopBound);
    size_t running() const;

private:
    struct Shared;
    struct Slot {
        WorkerBody body;
        std::jthread thread;
    };
    std::shared_ptr<Shared> shared_;
    std::array<Slot, kWorkerCount> slots_;
};

}  // namespace orvane::runtime
