// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/device_jobs.h"

#include "device/log.h"
#include "device/protocol/connection.h"

namespace orvane::runtime {

const char* JobStatusText(JobStatus status) {
    switch (status) {
    case JobStatus::Done: return "done";
    case JobStatus::NotConnected: return "not connected";
    case JobStatus::Stopped: return "stopped";
    }
    return "?";
}

// What the queue's thread and the deliveries it posted share; outlives the queue when a
// job in hand overruns the stop bound.
struct DeviceJobQueue::Shared : std::enable_shared_from_this<Shared> {
    std::string name;
    std::mutex mutex;
    std::condition_variable_any changed;
    std::deque<Item> items;
    bool running = false;                  ///< a job is in hand
    std::atomic<int> undelivered{0};       ///< onDone calls posted and not yet run
    std::atomic<bool> closed{false};       ///< stopped: nothing more is delivered
    protocol::DeviceConnection* connection = nullptr;
    Poster poster;
    ProgressSink progress;
    Sender sender;
    std::stop_token stop;                  ///< the thread's, for a nested job's wait
    std::thread::id thread;                ///< the queue's thread

    /// Hands fn to the window's thread (or runs it here without a poster), unless closed.
    void post(std::function<void()> fn) {
        if (closed) return;
        if (!poster) {
            fn();
            return;
        }
        ++undelivered;
        poster([self = shared_from_this(), fn = std::move(fn)] {
            if (!self->closed) fn();
            --self->undelivered;
        });
    }
};

namespace {
// Set by NestedJobsAtOnce on a queue's thread.
thread_local bool tNestedAtOnce = false;
}  // namespace

DeviceJobQueue::NestedJobsAtOnce::NestedJobsAtOnce() : previous_(tNestedAtOnce) { tNestedAtOnce = true; }
DeviceJobQueue::NestedJobsAtOnce::~NestedJobsAtOnce() { tNestedAtOnce = previous_; }

DeviceJobQueue::DeviceJobQueue(std::string name, protocol::DeviceConnection* connection, Poster poster,
                               ProgressSink progress, Sender sender)
    : name_(std::move(name)), connection_(connection), poster_(std::move(poster)), progress_(std::move(progress)),
      sender_(std::move(sender)), shared_(std::make_shared<Shared>()) {
    shared_->name = name_;
    shared_->connection = connection_;
    shared_->poster = poster_;
    shared_->progress = progress_;
    shared_->sender = sender_;
    std::lock_guard guard(shared_->mutex);  // the thread reads `stop` and `thread` under it
    thread_ = std::jthread([shared = shared_](std::stop_token stop) { Serve(stop, shared); });
    shared_->stop = thread_.get_stop_token();
    shared_->thread = thread_.get_id();
}

DeviceJobQueue::~DeviceJobQueue() { stop(std::chrono::milliseconds(10000)); }

void DeviceJobQueue::enqueue(JobOptions options, std::function<void()> run, std::function<void(JobStatus)> done) {
    if (tNestedAtOnce && std::this_thread::get_id() == shared_->thread) {
        // A job of a job of this queue: at once (see NestedJobsAtOnce).
        if (shared_->closed) return;
        JobStatus status = JobStatus::Done;
        if (options.needsDevice && shared_->connection && !shared_->connection->connected) {
            status = JobStatus::NotConnected;
        } else {
            if (options.progress && shared_->progress) shared_->post([sink = shared_->progress] { sink(true); });
            if (run) run();
        }
        const bool progress = options.progress && status == JobStatus::Done;
        auto deliver = [done = std::move(done), status, progress, sink = shared_->progress] {
            if (done) done(status);
            if (progress && sink) sink(false);
        };
        if (shared_->sender) shared_->sender(std::move(deliver), shared_->stop);
        else deliver();
        return;
    }
    {
        std::lock_guard guard(shared_->mutex);
        if (!shared_->closed) {
            shared_->items.push_back({std::move(options), std::move(run), std::move(done)});
            shared_->changed.notify_all();
            return;
        }
    }
    // After stop nothing runs and nothing is delivered.
}

bool DeviceJobQueue::idle() const {
    std::lock_guard guard(shared_->mutex);
    return shared_->items.empty() && !shared_->running && shared_->undelivered == 0;
}

// The queue's thread. It reaches nothing of the queue but `shared`, which it keeps alive,
// so a job that overruns the stop bound can end after the queue is gone.
void DeviceJobQueue::Serve(std::stop_token stop, std::shared_ptr<Shared> shared) {
    for (;;) {
        Item item;
        {
            std::unique_lock lock(shared->mutex);
            shared->changed.wait(lock, stop, [&] { return !shared->items.empty(); });
            if (stop.stop_requested()) return;
            item = std::move(shared->items.front());
            shared->items.pop_front();
            shared->running = true;
        }
        JobStatus status = JobStatus::Done;
        if (item.options.needsDevice && shared->connection && !shared->connection->connected) {
            status = JobStatus::NotConnected;
        } else {
            if (item.options.progress && shared->progress) shared->post([sink = shared->progress] { sink(true); });
            if (item.run) item.run();
        }
        if (status != JobStatus::Done) device::Log("job " + shared->name + "/" + item.options.name + ": " + JobStatusText(status));
        const bool progress = item.options.progress && status == JobStatus::Done;
        shared->post([done = std::move(item.done), status, progress, sink = shared->progress] {
            if (done) done(status);
            if (progress && sink) sink(false);
        });
        {
            std::lock_guard guard(shared->mutex);
            shared->running = false;
        }
        shared->changed.notify_all();
    }
}

bool DeviceJobQueue::stop(std::chrono::milliseconds bound) {
    if (!thread_.joinable()) return true;
    std::deque<Item> dropped;
    {
        std::lock_guard guard(shared_->mutex);
        shared_->closed = true;
        dropped.swap(shared_->items);
    }
    thread_.request_stop();
    bool ended;
    {
        std::unique_lock lock(shared_->mutex);
        ended = shared_->changed.wait_for(lock, bound, [&] { return !shared_->running; });
    }
    if (ended) thread_.join();
    else thread_.detach();  // the job in hand keeps `Shared` alive and ends by itself
    if (!dropped.empty()) device::Log("job queue " + name_ + ": " + std::to_string(dropped.size()) + " jobs dropped at stop");
    return ended;
}

void InlineJobs::enqueue(JobOptions options, std::function<void()> run, std::function<void(JobStatus)> done) {
    submitted_.push_back(options.name);
    JobStatus status = JobStatus::Done;
    if (options.needsDevice && !connected_()) status = JobStatus::NotConnected;
    else if (run) run();
    if (done) done(status);
}

}  // namespace orvane::runtime
