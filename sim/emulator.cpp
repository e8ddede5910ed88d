// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/emulator.h"

#include <algorithm>
#include <cstring>
#include <sstream>
#include <utility>

#include "device/hid/report_descriptor.h"
#include "sim/descriptors.h"

namespace orvane::sim {

using Clock = std::chrono::steady_clock;
using protocol::Report;

namespace {

struct Pending {
    std::vector<uint8_t> bytes;
    Clock::time_point readyAt;
};

// hidraw keeps a short queue of input reports; older ones are dropped when it overflows.
constexpr size_t kInputQueueLimit = 64;

hid::ReportLayout LayoutOf(std::span<const uint8_t> descriptor) {
    auto parsed = hid::ParseReportDescriptor(descriptor);
    return parsed ? *parsed : hid::ReportLayout{};
}

}  // namespace

// Everything about one emulated device that its handles share. One recursive lock guards it
// all: firmware callbacks (a notification sent while a request is handled) re-enter it.
struct EmulatedDevice::Port {
    std::recursive_mutex mutex;
    std::condition_variable_any changed;

    bool plugged = true;
    uint64_t generation = 0;  // bumped on every replug; handles of an older one are dead
    std::optional<Clock::time_point> replugAt;
    LinkModel link;
    std::vector<Fault> faults;
    uint64_t requests = 0;
    Firmware* firmware = nullptr;

    hid::InterfaceInfo configInfo, consumerInfo;
    hid::ReportLayout configLayout, consumerLayout;
    bool hasConsumer = false;
    // Like hidraw, every open handle has its own queue and receives every input report of
    // its interface: a reply reaches every handle of the configuration interface.
    using Queue = std::deque<Pending>;
    std::vector<Queue*> configQueues;
    std::vector<Queue*> consumerQueues;

    void refreshPlug(Clock::time_point now) {
        if (!plugged && replugAt && now >= *replugAt) {
            plugged = true;
            ++generation;
            replugAt.reset();
            changed.notify_all();
        }
    }
    void unplugLocked() {
        plugged = false;
        for (Queue* q : configQueues) q->clear();
        for (Queue* q : consumerQueues) q->clear();
        changed.notify_all();
    }
    static void push(std::vector<Queue*>& queues, const std::vector<uint8_t>& bytes, Clock::time_point readyAt) {
        for (Queue* q : queues) {
            if (q->size() >= kInputQueueLimit) q->pop_front();
            q->push_back({bytes, readyAt});
        }
    }
    void pushInput(std::vector<uint8_t> bytes) {
        push(consumerQueues, bytes, Clock::now());
        changed.notify_all();
    }
    void pushReply(std::vector<uint8_t> bytes, Clock::time_point readyAt) {
        push(configQueues, bytes, readyAt);
        changed.notify_all();
    }
};

namespace {

class EmulatedHandle : public WaitableHandle {
public:
    // Made and registered under the port's lock.
    EmulatedHandle(std::shared_ptr<EmulatedDevice::Port> port, bool config, uint64_t generation)
        : port_(std::move(port)), config_(config), generation_(generation) {
        queues().push_back(&queue_);
    }
    ~EmulatedHandle() override {
        std::lock_guard lock(port_->mutex);
        auto& list = queues();
        list.erase(std::remove(list.begin(), list.end(), &queue_), list.end());
    }

    const hid::InterfaceInfo& info() const override {
        return config_ ? port_->configInfo : port_->consumerInfo;
    }
    const hid::ReportLayout& layout() const override {
        return config_ ? port_->configLayout : port_->consumerLayout;
    }

    bool read(std::span<uint8_t> buffer, int timeoutMs, size_t& transferred) override {
        transferred = 0;
        auto& p = *port_;
        std::unique_lock lock(p.mutex);
        const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
        auto& queue = queue_;
        for (;;) {
            const auto now = Clock::now();
            p.refreshPlug(now);
            if (std::exchange(abortPending_, false)) return false;
            if (!alive()) return false;
            if (!queue.empty() && queue.front().readyAt <= now) {
                const auto& bytes = queue.front().bytes;
                transferred = std::min(buffer.size(), bytes.size());
                std::memcpy(buffer.data(), bytes.data(), transferred);
                queue.pop_front();
                return true;
            }
            if (now >= deadline) return false;
            auto wake = deadline;
            if (!queue.empty()) wake = std::min(wake, queue.front().readyAt);
            if (p.replugAt) wake = std::min(wake, *p.replugAt);
            p.changed.wait_until(lock, wake);
        }
    }

    bool waitReadable(int timeoutMs) override {
        auto& p = *port_;
        std::unique_lock lock(p.mutex);
        const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
        for (;;) {
            const auto now = Clock::now();
            p.refreshPlug(now);
            if (std::exchange(abortPending_, false)) return false;
            if (alive() && !queue_.empty() && queue_.front().readyAt <= now) return true;
            if (now >= deadline) return false;
            auto wake = deadline;
            if (!queue_.empty()) wake = std::min(wake, queue_.front().readyAt);
            if (p.replugAt) wake = std::min(wake, *p.replugAt);
            p.changed.wait_until(lock, wake);
        }
    }

    // The replies whose time has come, as a real interface's queue holds them; those still
    // on their way (a slow reply) are not there yet and arrive later.
    size_t drainInput(size_t limit) override {
        auto& p = *port_;
        std::lock_guard lock(p.mutex);
        const auto now = Clock::now();
        p.refreshPlug(now);
        if (!alive()) return 0;
        auto& queue = queue_;
        size_t dropped = 0;
        while (dropped < limit && !queue.empty() && queue.front().readyAt <= now) {
            queue.pop_front();
            ++dropped;
        }
        return dropped;
    }

    bool write(std::span<const uint8_t> bytes, int /*timeoutMs*/, size_t& transferred) override {
        transferred = 0;
        auto& p = *port_;
        std::unique_lock lock(p.mutex);
        const auto now = Clock::now();
        p.refreshPlug(now);
        if (!alive() || !config_ || bytes.size() != protocol::kReportSize) return false;

        Report request{};
        std::memcpy(request.data(), bytes.data(), protocol::kReportSize);
        const uint64_t number = ++p.requests;
        std::optional<Fault> fault = takeFault(number, request);
        auto delay = std::chrono::duration_cast<Clock::duration>(p.link.perExchange);
        std::optional<Report> reply;
        if (fault) {
            switch (fault->kind) {
            case FaultKind::FailWrite: return false;
            case FaultKind::Unplug:
                p.unplugLocked();
                if (fault->replugAfter) p.replugAt = now + *fault->replugAfter;
                return false;
            case FaultKind::NoReply:
                transferred = bytes.size();
                return true;
            case FaultKind::RefuseFF:
            case FaultKind::RefuseFE:
                reply = request;
                (*reply)[protocol::off::status] =
                    fault->kind == FaultKind::RefuseFF ? protocol::kStatusRefusedFF : protocol::kStatusRefusedFE;
                break;
            case FaultKind::SlowReply:
                delay += fault->delay;
                break;
            }
        }
        if (!reply && p.firmware) reply = p.firmware->handle(request);
        if (reply) p.pushReply(std::vector<uint8_t>(reply->begin(), reply->end()), now + delay);
        transferred = bytes.size();
        return true;
    }

    // Like the hidraw backend's: ends the read waiting now, or else fails the next one.
    void abort() override {
        std::lock_guard lock(port_->mutex);
        abortPending_ = true;
        port_->changed.notify_all();
    }

private:
    bool alive() const { return port_->plugged && port_->generation == generation_; }
    std::vector<EmulatedDevice::Port::Queue*>& queues() {
        return config_ ? port_->configQueues : port_->consumerQueues;
    }

    std::optional<Fault> takeFault(uint64_t number, const Report& request) {
        auto& faults = port_->faults;
        for (auto it = faults.begin(); it != faults.end(); ++it) {
            if (!it->when || !it->when(number, request)) continue;
            Fault hit = *it;
            if (it->times > 0 && --it->times == 0) faults.erase(it);
            return hit;
        }
        return std::nullopt;
    }

    std::shared_ptr<EmulatedDevice::Port> port_;
    bool config_;
    uint64_t generation_;
    EmulatedDevice::Port::Queue queue_;  // guarded by the port's mutex
    bool abortPending_ = false;  // guarded by the port's mutex
};

// Writes `value` into `bits` bits at `bitOffset` of data (little-endian bit order, as HID).
void PutBits(std::vector<uint8_t>& data, uint32_t bitOffset, uint16_t bits, uint32_t value) {
    for (uint16_t i = 0; i < bits; ++i) {
        const uint32_t bit = bitOffset + i;
        if (bit / 8 >= data.size()) return;
        if (value & (1u << i)) data[bit / 8] |= static_cast<uint8_t>(1u << (bit % 8));
    }
}

}  // namespace

// --- Fault ---------------------------------------------------------------------------------

Fault Fault::AtReport(uint64_t number, FaultKind kind) {
    Fault f;
    f.kind = kind;
    f.when = [number](uint64_t n, const Report&) { return n == number; };
    return f;
}

Fault Fault::OnCommand(uint8_t command, FaultKind kind, int times) {
    Fault f;
    f.kind = kind;
    f.times = times;
    f.when = [command](uint64_t, const Report& r) { return r[protocol::off::command] == command; };
    return f;
}

// --- EmulatedDevice ------------------------------------------------------------------------

EmulatedDevice::EmulatedDevice(device::DeviceModel model, std::string pathPrefix, std::string shareId,
                               LinkModel link)
    : model_(model), firmware_(MakeFirmware(model)), config_(std::make_shared<Port>()) {
    auto& p = *config_;
    const auto& id = device::Identity(model);
    p.link = link;
    p.firmware = firmware_.get();
    p.configLayout = LayoutOf(ConfigInterfaceDescriptor());
    p.configInfo = {pathPrefix + ":cfg", id.vendorId, id.productId, 0x0100,
                    p.configLayout.usagePage, p.configLayout.usage, 1, shareId};
    p.hasConsumer = id.hasNotificationInterface;
    if (p.hasConsumer) {
        p.consumerLayout = LayoutOf(ConsumerInterfaceDescriptor());
        p.consumerInfo = {pathPrefix + ":cc", id.vendorId, id.productId, 0x0100,
                          p.consumerLayout.usagePage, p.consumerLayout.usage, 2,
                          shareId.empty() ? "" : shareId + "-cc"};
        consumer_ = config_;
    }
    if (firmware_) {
        firmware_->notify = [this](uint16_t usage) { sendNotification(usage); };
    }
}

EmulatedDevice::~EmulatedDevice() {
    std::lock_guard lock(config_->mutex);
    config_->unplugLocked();
    config_->firmware = nullptr;  // handles may outlive the device; they then see it unplugged
}

void EmulatedDevice::withFirmware(const std::function<void(Firmware&)>& fn) {
    std::lock_guard lock(config_->mutex);
    if (firmware_) fn(*firmware_);
}

void EmulatedDevice::setLink(LinkModel link) {
    std::lock_guard lock(config_->mutex);
    config_->link = link;
}

void EmulatedDevice::addFault(Fault fault) {
    std::lock_guard lock(config_->mutex);
    config_->faults.push_back(std::move(fault));
}

void EmulatedDevice::clearFaults() {
    std::lock_guard lock(config_->mutex);
    config_->faults.clear();
}

void EmulatedDevice::unplug() {
    std::lock_guard lock(config_->mutex);
    config_->replugAt.reset();
    config_->unplugLocked();
}

void EmulatedDevice::plug() {
    std::lock_guard lock(config_->mutex);
    if (config_->plugged) return;
    config_->replugAt = Clock::now();
    config_->refreshPlug(Clock::now());
}

bool EmulatedDevice::plugged() const {
    std::lock_guard lock(config_->mutex);
    config_->refreshPlug(Clock::now());
    return config_->plugged;
}

uint64_t EmulatedDevice::requestCount() const {
    std::lock_guard lock(config_->mutex);
    return config_->requests;
}

void EmulatedDevice::resetCounters() {
    std::lock_guard lock(config_->mutex);
    config_->requests = 0;
}

void EmulatedDevice::sendNotification(uint16_t usage) {
    std::lock_guard lock(config_->mutex);
    auto& p = *config_;
    if (!p.hasConsumer || !p.plugged) return;
    const auto& layout = p.consumerLayout;
    if (layout.inputButtonCaps.empty() || layout.inputReportByteLength == 0) return;
    const auto& cap = layout.inputButtonCaps.front();
    auto makeReport = [&](uint16_t value) {
        std::vector<uint8_t> report(layout.inputReportByteLength, 0);
        const size_t header = layout.usesReportIds ? 1 : 0;
        if (header) report[0] = cap.reportId;
        std::vector<uint8_t> data(report.size() - header, 0);
        PutBits(data, cap.bitOffset, cap.bitSize, value);
        std::copy(data.begin(), data.end(), report.begin() + static_cast<std::ptrdiff_t>(header));
        return report;
    };
    // A press, then the release that follows it on the wire.
    p.pushInput(makeReport(usage));
    p.pushInput(makeReport(0));
}

std::vector<hid::InterfaceInfo> EmulatedDevice::interfaces() const {
    std::lock_guard lock(config_->mutex);
    config_->refreshPlug(Clock::now());
    std::vector<hid::InterfaceInfo> out;
    if (!config_->plugged) return out;
    out.push_back(config_->configInfo);
    if (config_->hasConsumer) out.push_back(config_->consumerInfo);
    return out;
}

std::shared_ptr<EmulatedDevice::Port> EmulatedDevice::portFor(const std::string& path) const {
    if (path == config_->configInfo.path) return config_;
    if (consumer_ && path == config_->consumerInfo.path) return consumer_;
    return nullptr;
}

// --- EmulatorBackend -----------------------------------------------------------------------

EmulatorBackend::EmulatorBackend() = default;

void EmulatorBackend::shareDevices() {
    std::lock_guard lock(mutex_);
    shared_ = true;
    for (auto& d : devices_) d->setShareId("sim-" + std::string(d->identity().shortName) + "-" + std::to_string(&d - &devices_[0]));
}

void EmulatedDevice::setShareId(const std::string& id) {
    std::lock_guard lock(config_->mutex);
    config_->configInfo.shareId = id;
    if (config_->hasConsumer) config_->consumerInfo.shareId = id + "-cc";
}
EmulatorBackend::~EmulatorBackend() = default;

EmulatedDevice& EmulatorBackend::add(device::DeviceModel model) {
    std::lock_guard lock(mutex_);
    const std::string name = std::string(device::Identity(model).shortName) + "-" + std::to_string(devices_.size());
    devices_.push_back(std::make_unique<EmulatedDevice>(model, "sim:" + name, shared_ ? "sim-" + name : "", link_));
    return *devices_.back();
}

EmulatedDevice* EmulatorBackend::find(device::DeviceModel model) {
    std::lock_guard lock(mutex_);
    for (auto& d : devices_)
        if (d->model() == model) return d.get();
    return nullptr;
}

EmulatedDevice* EmulatorBackend::find(device::DeviceKind kind) {
    std::lock_guard lock(mutex_);
    for (auto& d : devices_)
        if (d->identity().kind == kind) return d.get();
    return nullptr;
}

std::vector<EmulatedDevice*> EmulatorBackend::devices() {
    std::lock_guard lock(mutex_);
    std::vector<EmulatedDevice*> out;
    for (auto& d : devices_) out.push_back(d.get());
    return out;
}

void EmulatorBackend::setLink(LinkModel link) {
    std::lock_guard lock(mutex_);
    link_ = link;
    for (auto& d : devices_) d->setLink(link);
}

bool EmulatorBackend::enumerate(std::vector<hid::InterfaceInfo>& out) {
    std::lock_guard lock(mutex_);
    out.clear();
    for (auto& d : devices_) {
        auto list = d->interfaces();
        out.insert(out.end(), list.begin(), list.end());
    }
    return true;
}

std::unique_ptr<hid::Handle> EmulatorBackend::open(const std::string& path, const hid::OpenMode&,
                                                   hid::OpenError* error) {
    std::lock_guard lock(mutex_);
    for (auto& d : devices_) {
        auto port = d->portFor(path);
        if (!port) continue;
        std::lock_guard portLock(port->mutex);
        port->refreshPlug(Clock::now());
        if (!port->plugged) break;
        if (error) *error = hid::OpenError::None;
        return std::make_unique<EmulatedHandle>(port, path == port->configInfo.path, port->generation);
    }
    if (error) *error = hid::OpenError::NotFound;
    return nullptr;
}

bool EmulatorBackend::probePresent(const std::string& path) {
    std::lock_guard lock(mutex_);
    for (auto& d : devices_)
        if (d->portFor(path)) return d->plugged();
    return false;
}

bool EmulatorBackend::addFromList(const std::string& list, std::string* error) {
    std::vector<device::DeviceModel> models;
    std::stringstream in(list);
    std::string name;
    while (std::getline(in, name, ',')) {
        if (name.empty()) continue;
        auto model = device::ModelByShortName(name);
        if (!model) {
            if (error) *error = "unknown emulated device '" + name + "' (use kb, kb1, ms, ms2, mp)";
            return false;
        }
        models.push_back(*model);
    }
    for (auto m : models) add(m);
    return true;
}

}  // namespace orvane::sim
