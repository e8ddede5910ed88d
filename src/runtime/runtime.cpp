// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/runtime.h"

#include <thread>

#include "device/log.h"
#include "keyboard/keyboard_device.h"
#include "mouse/dpi.h"
#include "mouse/mouse_device.h"
#include "mousepad/pad_device.h"
#include "profiles/profile_connect.h"
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
    auto queue = std::make_unique<DeviceJobQueue>(std::move(name), connection, poster, std::move(progress));
    queues.push_back(queue.get());
    return queue;
}

// The keyboard needs a moment after it was opened before it answers.
constexpr std::chrono::milliseconds kKeyboardSettleAfterOpen{100};

}  // namespace

Runtime::Runtime(RuntimeOptions options)
    : stopBound_(options.stopBound),
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
      macroStore(store.dataFolder(), DefaultFoldersOf(options)),
      lighting({*connections_[0], *connections_[1], *connections_[2], keyboard, mouse, pad}, std::move(options.animation)) {
    const ProgressSink progress = [this](bool running) { events.progress.emit(running); };
    for (DeviceKind kind : kDeviceKinds)
        jobs_[IndexOf(kind)] = MakeJobs(options.jobThreads, std::string(device::KindTag(kind)),
                                        connections_[IndexOf(kind)].get(), dispatcher_.get(), progress, queues_);
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

ArrivalReport Runtime::arrive(DeviceKind kind, const hid::InterfaceInfo& attributes) {
    ArrivalReport report;
    switch (kind) {
    case DeviceKind::Keyboard: {
        std::this_thread::sleep_for(kKeyboardSettleAfterOpen);
        flags.keyboardVersion = attributes.versionNumber;
        // The model is known from the product id before anything is read, so the read-back,
        // the profile selection and the page all work with this keyboard's variant.
        keyboard.model = device::ModelAfterConnect(kind, attributes.productId, keyboard.model);
        const auto readBack = keyboard::ReadBackKeyboard(connection(kind), keyboard);
        report.readBack = readBack.result;
        report.tooManyKeys = readBack.tooManyKeys;
        if (readBack.ok()) saveSelected(kind, false);
        break;
    }
    case DeviceKind::Mouse: {
        // First: the profile load picks the model's default lighting, the page its stages.
        mouse.model = device::ModelAfterConnect(kind, attributes.productId, mouse.model);
        // The state shown is the selected lighting profile's; without a readable one, the
        // state the mouse keeps in its own slots.
        if (profiles::LoadRecordedMouseLighting(store) != profiles::ReadResult::Read &&
            mouse::ReadMouseSlotRecords(connection(kind), mouse) == protocol::kOk)
            mouse.update([](mouse::MouseData& d) {
                const auto& slot0 = d.block.slots[0];
                d.pointerSpeed = uint8_t(mouse::StoredPointerSpeed(slot0.pointerSpeed()));
                d.wheelLines = uint8_t(mouse::StoredWheelLines(slot0.wheelLines()));
            });
        report.readBack = readBack(kind);
        break;
    }
    case DeviceKind::Mousepad: report.readBack = readBack(kind); break;
    }
    lighting.changed();
    return report;
}

int32_t Runtime::readBack(DeviceKind kind) {
    int32_t r = protocol::kNoReply;
    switch (kind) {
    case DeviceKind::Keyboard: {
        const auto readBack = keyboard::ReadBackKeyboard(connection(kind), keyboard);
        r = readBack.tooManyKeys ? protocol::kNoReply : readBack.result;
        if (readBack.ok()) saveSelected(kind, false);
        break;
    }
    case DeviceKind::Mouse:
        r = mouse::ReadBackMouse(connection(kind), mouse);
        if (r == protocol::kOk) {
            saveSelected(kind, true);
            saveSelected(kind, false);
        }
        break;
    case DeviceKind::Mousepad:
        r = mousepad::ReadBackPad(connection(kind), pad);
        if (r == protocol::kOk) saveSelected(kind, true);
        break;
    }
    lighting.changed();
    return r;
}

int32_t Runtime::reloadMouseSlotZero() {
    const int32_t r = mouse::ReloadMouseSlotZero(connection(DeviceKind::Mouse), mouse);
    if (r == protocol::kOk) saveSelected(DeviceKind::Mouse, true);
    lighting.changed();
    return r;
}

std::optional<int32_t> Runtime::flush(DeviceKind kind) {
    std::optional<int32_t> r;
    if (kind == DeviceKind::Mouse) r = mouse::FlushMouseState(connection(kind), mouse);
    if (kind == DeviceKind::Mousepad) r = mousepad::FlushPadState(connection(kind), pad);
    // Command 6 ended the device's synchronised lighting: its own worker takes over.
    if (r) lighting.changed();
    return r;
}

device::SlotSwitchResult Runtime::selectSlot(DeviceKind kind, unsigned n) {
    device::SlotSwitchResult result;
    if (kind == DeviceKind::Mouse) result = mouse::SelectMouseSlot(connection(kind), mouse, n);
    if (kind == DeviceKind::Mousepad) result = mousepad::SelectPadSlot(connection(kind), pad, n);
    if (result.outcome == device::SlotSwitch::Switched) lighting.changed();
    return result;
}

int32_t Runtime::resetDefaults(DeviceKind kind) {
    if (kind == DeviceKind::Mouse) return mouse::ResetMouseDefaults(connection(kind), pointer);
    if (kind == DeviceKind::Mousepad) return mousepad::ResetPadDefaults(connection(kind));
    return protocol::kNoReply;
}

bool Runtime::saveSelected(DeviceKind kind, bool lighting) {
    const bool saved = lighting ? store.saveSelectedLighting(kind) : store.saveSelectedKeys(kind);
    if (saved) return true;
    const std::string message(store.lastWriteMessage());
    if (message.empty()) return false;  // nothing selected to save into
    auto tell = [this, message] { events.message.emit(message); };
    if (dispatcher_) dispatcher_->post(tell);
    else tell();
    return false;
}

void Runtime::sameLightingMode(DeviceKind source) {
    const auto outcome = lighting.copyForSameMode(LightingDeviceOf(source));
    for (lighting::LightingDevice other : outcome.others) {
        events.modelChanged.emit(KindOf(other));
        saveSelected(KindOf(other), true);
    }
    lighting.startSynchronised();
}

}  // namespace orvane::runtime
