// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The device emulator as a HID backend: emulated Orvane devices that answer the report
// protocol in-process. Used by the tests, by `orvane --simulate` and `orvanectl --simulate`.
//
// Like hidraw, every open handle of an interface has its own input queue and receives every
// report the device sends on it, whoever asked.
//
// Each emulated device has a configuration interface (vendor page 0xFF1C, 64-byte reports,
// report id 4) and, where the model has one, a consumer-control interface that carries the
// device's own notifications. A link model spaces replies like a full-speed interrupt
// endpoint; faults can be injected at a chosen report or by a predicate; unplug and replug
// work at any time, from any thread.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "device/hid/hid_backend.h"
#include "device/models.h"
#include "device/protocol/report.h"
#include "sim/firmware.h"

namespace orvane::sim {

/// Time the link takes for one request/reply pair. The default is that of a full-speed
/// interrupt endpoint polled every millisecond.
struct LinkModel {
    std::chrono::microseconds perExchange{1000};
};

enum class FaultKind {
    NoReply,      ///< the request is taken, no reply comes
    RefuseFF,     ///< reply with status 0xFF
    RefuseFE,     ///< reply with status 0xFE
    FailWrite,    ///< the write itself fails
    Unplug,       ///< the device vanishes at this report (the write fails); see replugAfter
    SlowReply,    ///< the reply comes `delay` later than the link model says
};

struct Fault {
    FaultKind kind = FaultKind::NoReply;
    /// Which requests it hits: number is the 1-based count of requests written to the
    /// configuration interface since the device was created (or counters reset).
    std::function<bool(uint64_t number, const protocol::Report& request)> when;
    int times = 1;                          ///< how many hits before it is spent; <0 = forever
    std::chrono::milliseconds delay{0};     ///< SlowReply: extra delay
    std::optional<std::chrono::milliseconds> replugAfter;  ///< Unplug: comes back after this

    static Fault AtReport(uint64_t number, FaultKind kind);
    static Fault OnCommand(uint8_t command, FaultKind kind, int times = 1);
};

class EmulatedDevice;

/// What the emulator's handles offer besides hid::Handle: a wait for input that takes
/// nothing, so that the shared emulator's server can take a report and send it on in one
/// step that a drain never comes between.
class WaitableHandle : public hid::Handle {
public:
    /// true when an input report is waiting; false after timeoutMs, or at once on an abort
    /// (which it takes).
    virtual bool waitReadable(int timeoutMs) = 0;
};

class EmulatorBackend : public hid::Backend {
public:
    EmulatorBackend();
    ~EmulatorBackend() override;

    /// Adds (plugs in) a device of the given model and returns it. The backend owns it.
    EmulatedDevice& add(device::DeviceModel model);
    /// The first device of that model, or null.
    EmulatedDevice* find(device::DeviceModel model);
    /// The first device of that kind (keyboard, mouse, mousepad), or null.
    EmulatedDevice* find(device::DeviceKind kind);
    std::vector<EmulatedDevice*> devices();

    /// Applies to every device, present and added later.
    void setLink(LinkModel link);

    std::string name() const override { return "emulator"; }
    bool enumerate(std::vector<hid::InterfaceInfo>& out) override;
    std::unique_ptr<hid::Handle> open(const std::string& path, const hid::OpenMode& mode,
                                      hid::OpenError* error = nullptr) override;
    bool probePresent(const std::string& path) override;

    /// Parses a comma list of short names (kb, kb1, ms, ms2, mp) and adds those devices.
    /// false (and nothing added) when a name is unknown.
    bool addFromList(const std::string& list, std::string* error = nullptr);

    /// Gives every device, present and added later, a share id ("sim-kb-0"), so that the
    /// exchanges of every process that reaches them hold the device's lock file, as on real
    /// devices. The shared emulator does this (one per run-time folder, so the names are
    /// its own); a private one needs no lock. Call before any handle is opened.
    void shareDevices();

private:
    bool shared_ = false;
    mutable std::mutex mutex_;
    LinkModel link_;
    std::vector<std::unique_ptr<EmulatedDevice>> devices_;
};

class EmulatedDevice {
public:
    /// shareId: the configuration interface's hid::InterfaceInfo::shareId (empty: none).
    EmulatedDevice(device::DeviceModel model, std::string pathPrefix, std::string shareId, LinkModel link);
    ~EmulatedDevice();

    device::DeviceModel model() const { return model_; }
    const device::ModelRow& identity() const { return device::Identity(model_); }

    /// Runs fn with the firmware while no request is being handled (for tests that inspect
    /// or change the device's memory).
    void withFirmware(const std::function<void(Firmware&)>& fn);
    template <class T>
    T& firmwareAs() { return static_cast<T&>(*firmware_); }

    void setLink(LinkModel link);
    void addFault(Fault fault);
    void clearFaults();

    /// Unplug: open handles fail from now on, waiting reads return at once, the interfaces
    /// leave the enumeration. Plug: they come back (old handles stay dead, as after a real
    /// replug).
    void unplug();
    void plug();
    bool plugged() const;

    /// Requests written to the configuration interface so far.
    uint64_t requestCount() const;
    void resetCounters();

    /// Sends one consumer-control notification usage on the notification interface.
    void sendNotification(uint16_t usage);

    std::vector<hid::InterfaceInfo> interfaces() const;
    void setShareId(const std::string& id);

    struct Port;  // one interface; defined in emulator.cpp

private:
    friend class EmulatorBackend;
    std::shared_ptr<Port> portFor(const std::string& path) const;

    device::DeviceModel model_;
    std::unique_ptr<Firmware> firmware_;
    std::shared_ptr<Port> config_;
    std::shared_ptr<Port> consumer_;  // null when the model has no notification interface
};

}  // namespace orvane::sim
