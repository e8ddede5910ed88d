// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Device jobs: how the window gets device work done without waiting for it. Each device
// connection has one queue served by its own thread; submit(job, onDone) returns at once,
// the job runs on the queue's thread in submission order, and onDone is delivered on the
// window's thread (through the poster the runtime was given). A job that needs the device
// while it is not connected finishes at once with NotConnected, without running.
//
// JobRunner is the interface the pages and features see; DeviceJobQueue is the threaded
// queue of the program; InlineJobs runs everything at once on the caller's thread, for
// page tests without threads.

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

namespace orvane::protocol {
class DeviceConnection;
}

namespace orvane::runtime {

enum class JobStatus : uint8_t {
    Done,          ///< the job ran; its value is the job's own result
    NotConnected,  ///< the device was not connected: the job did not run
    Stopped,       ///< the program is ending: the job did not run
};
const char* JobStatusText(JobStatus status);

struct JobOptions {
    std::string name;          ///< for the log
    bool needsDevice = true;   ///< false: file work that may also send (runs while not connected)
    bool progress = false;     ///< long work: the progress ring shows while it runs
};

/// Runs a function on the window's thread later (UiDispatcher::post in the program).
using Poster = std::function<void(std::function<void()>)>;
/// Told on the window's thread when a job with progress starts (true) and ends (false).
using ProgressSink = std::function<void(bool running)>;
/// Runs a function on the window's thread and waits for it (UiDispatcher::send); false
/// when the stop token ended the wait before it ran.
using Sender = std::function<bool(std::function<void()>, std::stop_token)>;

class JobRunner {
public:
    virtual ~JobRunner() = default;

    /// job runs off the window's thread; onDone(status, value) on it.
    template <class R>
    void submit(JobOptions options, std::function<R()> job, std::function<void(JobStatus, const R&)> onDone) {
        auto value = std::make_shared<R>();
        enqueue(std::move(options), [job = std::move(job), value] { *value = job(); },
                [onDone = std::move(onDone), value](JobStatus status) {
                    if (onDone) onDone(status, *value);
                });
    }
    void submit(JobOptions options, std::function<void()> job, std::function<void(JobStatus)> onDone = {}) {
        enqueue(std::move(options), std::move(job), [onDone = std::move(onDone)](JobStatus status) {
            if (onDone) onDone(status);
        });
    }

    /// No job waits or runs and no onDone is still to be delivered.
    virtual bool idle() const = 0;

protected:
    virtual void enqueue(JobOptions options, std::function<void()> run, std::function<void(JobStatus)> done) = 0;
};

/// One connection's queue and its thread.
class DeviceJobQueue final : public JobRunner {
public:
    /// connection: null for a queue of desktop work that needs no device.
    DeviceJobQueue(std::string name, protocol::DeviceConnection* connection, Poster poster,
                   ProgressSink progress = {}, Sender sender = {});
    ~DeviceJobQueue() override;
    DeviceJobQueue(const DeviceJobQueue&) = delete;
    DeviceJobQueue& operator=(const DeviceJobQueue&) = delete;

    bool idle() const override;
    /// Ends the thread after the job in hand; jobs still waiting end with Stopped, and no
    /// onDone is delivered from then on. Waits at most `bound`; false when the job in hand
    /// did not end in time (the thread is then left to end by itself).
    bool stop(std::chrono::milliseconds bound);
    const std::string& name() const { return name_; }

    /// While one lives on a queue's thread (a whole orvanectl command running as one job),
    /// a job that job submits to the same queue runs at once, before the command goes on,
    /// and its onDone is run on the window's thread and waited for: the command reads the
    /// result it asked for, and the pages hear of it as of any job. Without it such a job
    /// would wait behind the one that submitted it.
    class NestedJobsAtOnce {
    public:
        NestedJobsAtOnce();
        ~NestedJobsAtOnce();
        NestedJobsAtOnce(const NestedJobsAtOnce&) = delete;
        NestedJobsAtOnce& operator=(const NestedJobsAtOnce&) = delete;

    private:
        bool previous_;
    };

protected:
    void enqueue(JobOptions options, std::function<void()> run, std::function<void(JobStatus)> done) override;

private:
    struct Item {
        JobOptions options;
        std::function<void()> run;
        std::function<void(JobStatus)> done;
    };
    struct Shared;
    static void Serve(std::stop_token stop, std::shared_ptr<Shared> shared);

    std::string name_;
    protocol::DeviceConnection* connection_;
    Poster poster_;
    ProgressSink progress_;
    Sender sender_;
    std::shared_ptr<Shared> shared_;
    std::jthread thread_;
};

/// Runs each job at once on the calling thread and delivers onDone right after it.
class InlineJobs final : public JobRunner {
public:
    /// connected: whether the device counts as connected (jobs that need it run only then).
    explicit InlineJobs(std::function<bool()> connected = [] { return true; }) : connected_(std::move(connected)) {}
    bool idle() const override { return true; }
    /// The names of the jobs submitted so far, in order (tests).
    const std::vector<std::string>& submitted() const { return submitted_; }

protected:
    void enqueue(JobOptions options, std::function<void()> run, std::function<void(JobStatus)> done) override;

private:
    std::function<bool()> connected_;
    std::vector<std::string> submitted_;
};

}  // namespace orvane::runtime
