// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/runtime.h"

#include "device/log.h"
#include "runtime/ui_dispatcher.h"

namespace orvane::runtime {

namespace {

std::filesystem::path DataFolderOf(const RuntimeOptions& o) {
    return o.dataFolder.empty() ? profiles::ProfileDataFolder() : o.dataFolder;
}
std::vector<std::filesystem::path> DefaultFoldersOf(const RuntimeOptions& o) {
    return o.defaultFolders.empty() ? profiles::DefaultProfileFolders() : o.defaultFolders;
}

std::unique_ptr<protocol::DeviceConnection> ConnectionFor(hid::Backend& backend, DeviceKind kind) {
    auto c = std::make_unique<protocol::DeviceConnection>(backend, std::string(device::KindTag(kind)));
    // The identity every presence monitor looks for: the kind's vendor and the
    // configuration interface (the product ids are the kind's rows).
    const auto& row = device::RowOf(device::FirstModelOf(kind));
    c->vendorId = row.vendorId;
    c->productId = row.productId;
    c->usage = device::kConfigUsage;
    c->usagePage = device::kConfigUsagePage;
    return c;
}

// A job queue with its own thread, or (without job threads) one that runs every job at once.
std::unique_ptr<JobRunner> MakeJobs(bool threads, std::string name, protocol::DeviceConnection* connection,
                                    UiDispatcher* dispatcher, ProgressSink progress,
                                    std::vector<DeviceJobQueue*>& queues) {
    if (!threads)
        return std::make_unique<InlineJobs>([connection] { return !connection || connection->connected; });
    const Poster poster = dispatcher ? Poster([dispatcher](std::function<void()> fn) { dispatcher->post(std::move(fn)); })
                                     : Poster{};
    const Sender sender =
        dispatcher ? Sender([dispatcher](std::function<void()> fn, std::stop_token stop) {
            return dispatcher->send(std::move(fn), std::move(stop));
        })
                   : Sender{};
    auto queue = std::make_unique<DeviceJobQueue>(std::move(name), connection, poster, std::move(progress), sender);
    queues.push_back(queue.get());
    return queue;
}

}  // namespace

Runtime::Runtime(RuntimeOptions options)
    : stopBound_(options.stopBound),
      backend_(options.backend),
      hotplugWanted_(options.hotplug),
      connections_{ConnectionFor(*options.backend, DeviceKind::Keyboard),
                   ConnectionFor(*options.backend, DeviceKind::Mouse),
                   ConnectionFor(*options.backend, DeviceKind::Mousepad)},
      dispatcher_(options.deliverToCreatingThread ? std::make_unique<UiDispatcher>() : nullptr),
      desktopJobs_(MakeJobs(options.jobThreads, "desktop", nullptr, dispatcher_.get(), {}, queues_)),
      pointer(options.pointerBackend ? std::move(options.pointerBackend)
                                     : platform::MakeDesktopPointerBackend(options.pointerLog),
              options.pointerLog,
              [q = desktopJobs_.get()](std::function<void()> work) {
                  q->submit(JobOptions{.name = "pointer settings", .needsDevice = false}, std::move(work));
              }),
      store(DataFolderOf(options), DefaultFoldersOf(options), {&keyboard, &mouse, &pad}),
      operations(store, {connections_[0].get(), connections_[1].get(), &pointer}),
      macroStore(store.dataFolder(), DefaultFoldersOf(options), store.folderLock()),
      lighting({*connections_[0], *connections_[1], *connections_[2], keyboard, mouse, pad}, std::move(options.animation)) {
    const ProgressSink progress = [this](bool running) { events.progress.emit(running); };
    for (DeviceKind kind : kDeviceKinds)
        jobs_[IndexOf(kind)] = MakeJobs(options.jobThreads, std::string(device::KindTag(kind)),
                                        connections_[IndexOf(kind)].get(), dispatcher_.get(), progress, queues_);
    keyboardSession_ = std::make_unique<KeyboardSession>(*this);
    mouseSession_ = std::make_unique<MouseSession>(*this);
    padSession_ = std::make_unique<PadSession>(*this);
    sessions_ = {keyboardSession_.get(), mouseSession_.get(), padSession_.get()};
    keySessions_ = {keyboardSession_.get(), mouseSession_.get(), nullptr};
}

Runtime::~Runtime() { stop(); }

protocol::DeviceConnection& Runtime::connection(DeviceKind kind) const { return *connections_[IndexOf(kind)]; }

bool Runtime::connected(DeviceKind kind) const { return connections_[IndexOf(kind)]->connected; }

bool Runtime::anyConnected() const {
    for (DeviceKind kind : kDeviceKinds)
        if (connected(kind)) return true;
    return false;
}

JobRunner& Runtime::jobs(DeviceKind kind) { return *jobs_[IndexOf(kind)]; }

JobRunner& Runtime::desktopJobs() { return *desktopJobs_; }

void Runtime::start(const std::function<void()>& afterSynchronisedLighting) {
    if (hotplugWanted_ && !hotplug_) {
        hotplug_ = std::make_unique<device::UdevHotplugWatcher>();
        if (!hotplug_->start()) device::Log("hot-plug: udev is not available; devices are found by the scan");
    }
    workers.startAll(afterSynchronisedLighting);
}

StopOutcome Runtime::stop() {
    if (outcome_) return *outcome_;
    // A worker waiting for the window's thread is released by its stop token; jobs end after
    // the one in hand.
    if (hotplug_) hotplug_->stop();
    StopOutcome outcome = workers.stopAll(stopBound_);
    for (DeviceJobQueue* queue : queues_)
        if (!queue->stop(stopBound_)) outcome = StopOutcome::TimedOut;
    outcome_ = outcome;
    device::Log(OutcomeText(outcome));
    for (DeviceKind kind : {DeviceKind::Mousepad, DeviceKind::Mouse, DeviceKind::Keyboard}) {
        auto& c = connection(kind);
        {
            std::lock_guard guard(c.lock);
            c.connected = false;
        }
        // A straggler may still be inside an exchange: its handle stays open until it ends.
        if (outcome == StopOutcome::AllEnded) c.device.close();
    }
    return outcome;
}

DeviceSession& Runtime::session(DeviceKind kind) { return *sessions_[IndexOf(kind)]; }

KeyDeviceSession& Runtime::keySession(DeviceKind kind) {
    // The pad has no keys: asking for its key session is a caller's mistake, answered with
    // the keyboard's rather than a crash.
    KeyDeviceSession* keys = keySessions_[IndexOf(kind)];
    return keys ? *keys : *keyboardSession_;
}

}  // namespace orvane::runtime
