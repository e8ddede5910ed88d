// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/hidraw_bed.h"

#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <umockdev.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "device/models.h"
#include "sim/descriptors.h"

namespace orvane::sim {

using Clock = std::chrono::steady_clock;

namespace {

constexpr int kFirstNode = 64;         // the kernel numbers hidraw nodes below 64
constexpr int kHidrawMajor = 243;      // shown by stat() of a node; any value serves
constexpr int kReportQueue = 64;       // reports a node keeps unread, as hidraw does
constexpr int kPumpWaitMs = 50;        // a report pump's wait between looks at its stop
constexpr size_t kMaxReport = 16384;   // HID_MAX_BUFFER_SIZE

std::string Hex(uint32_t value, int digits, bool upper = false) {
    char text[16];
    std::snprintf(text, sizeof text, upper ? "%0*X" : "%0*x", digits, value);
    return text;
}

/// A device entry's path; umockdev's calls return strings to free.
std::string Take(gchar* path) {
    if (!path) throw std::runtime_error("umockdev test bed: device entry not created");
    std::string out(path);
    g_free(path);
    return out;
}

std::vector<const gchar*> Terminated(std::initializer_list<const char*> pairs) {
    std::vector<const gchar*> out(pairs.begin(), pairs.end());
    out.push_back(nullptr);
    return out;
}

}  // namespace

// One hidraw node: its descriptor and identity for the ioctls, the link to the emulated
// interface for writes, and a packet queue (an O_DIRECT pipe) whose read end is what the
// node opens: one packet per report, so a read gets one whole report and poll() sees it.
struct HidrawBed::Node {
    std::string path;                // "/dev/hidrawN"
    std::string syspath;             // the hidraw device's sysfs entry
    std::vector<uint8_t> descriptor;
    uint16_t vendorId = 0, productId = 0;
    EmulatorBackend* emulator = nullptr;
    std::string emulatorPath;        // the emulated interface; empty for a silent one
    std::unique_ptr<hid::Handle> link;
    int queue[2] = {-1, -1};
    std::atomic<bool> removed{false};
    std::jthread pump;

    ~Node() {
        shutDown();
        for (int fd : queue)
            if (fd >= 0) ::close(fd);
    }

    void shutDown() {
        removed = true;
        if (pump.joinable()) {
            pump.request_stop();
            if (link) link->abort();
            pump.join();
        }
    }

    /// A packet for readers waiting in poll(): they look again and find the node gone.
    void wakeReaders() const {
        const uint8_t gone = 0;
        [[maybe_unused]] const ssize_t n = ::write(queue[1], &gone, 1);
    }

    void startPump() {
        if (!link) return;
        pump = std::jthread([this](std::stop_token stop) {
            std::vector<uint8_t> report(kMaxReport);
            while (!stop.stop_requested()) {
                const auto start = Clock::now();
                size_t n = 0;
                if (link->read(report, kPumpWaitMs, n)) {
                    // Non-blocking: a full queue drops the report, as hidraw's does.
                    [[maybe_unused]] const ssize_t written = n > 0 ? ::write(queue[1], report.data(), n) : 0;
                    continue;
                }
                // A read that fails at once: the emulated device is unplugged; look again later.
                if (Clock::now() - start < std::chrono::milliseconds(kPumpWaitMs / 2))
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        });
    }

    static void Complete(UMockdevIoctlClient* client, long result, int error) {
        umockdev_ioctl_client_complete(client, result, error);
    }

    // Resolves the ioctl's argument as `size` bytes, lets fill() answer into them and completes
    // with its result (a negative result is an errno).
    template <class Fill>
    static void Answer(UMockdevIoctlClient* client, size_t size, Fill&& fill) {
        GError* error = nullptr;
        UMockdevIoctlData* data = umockdev_ioctl_data_resolve(umockdev_ioctl_client_get_arg(client), 0, size, &error);
        if (!data) {
            g_clear_error(&error);
            Complete(client, -1, EFAULT);
            return;
        }
        const long result = fill(data->data);
        Complete(client, result < 0 ? -1 : result, result < 0 ? static_cast<int>(-result) : 0);
        g_object_unref(data);
    }

    void answerIoctl(UMockdevIoctlClient* client) const {
        if (removed) return Complete(client, -1, ENODEV);
        switch (umockdev_ioctl_client_get_request(client)) {
        case HIDIOCGRDESCSIZE:
            return Answer(client, sizeof(int), [this](uint8_t* out) {
                const int size = static_cast<int>(descriptor.size());
                std::memcpy(out, &size, sizeof size);
                return 0L;
            });
        case HIDIOCGRDESC:
            return Answer(client, sizeof(hidraw_report_descriptor), [this](uint8_t* out) {
                uint32_t asked = 0;
                std::memcpy(&asked, out, sizeof asked);
                if (asked > HID_MAX_DESCRIPTOR_SIZE) return -long{EINVAL};
                std::memcpy(out + offsetof(hidraw_report_descriptor, value), descriptor.data(),
                            std::min<size_t>(asked, descriptor.size()));
                return 0L;
            });
        case HIDIOCGRAWINFO:
            return Answer(client, sizeof(hidraw_devinfo), [this](uint8_t* out) {
                hidraw_devinfo info{};
                info.bustype = 3;  // BUS_USB
                info.vendor = static_cast<int16_t>(vendorId);
                info.product = static_cast<int16_t>(productId);
                std::memcpy(out, &info, sizeof info);
                return 0L;
            });
        default: return Complete(client, -1, ENOTTY);
        }
    }

    void answerWrite(UMockdevIoctlClient* client) const {
        if (removed) return Complete(client, -1, ENODEV);
        UMockdevIoctlData* bytes = umockdev_ioctl_client_get_arg(client);
        size_t written = 0;
        if (link && link->write(std::span<const uint8_t>(bytes->data, static_cast<size_t>(bytes->data_len)), 1000, written))
            return Complete(client, bytes->data_len, 0);
        // The emulated device unplugged: as a node whose device went; otherwise a failed transfer.
        const bool gone = link && !emulator->probePresent(emulatorPath);
        Complete(client, -1, gone ? ENODEV : EIO);
    }

    /// Reads come from the queue itself unless the node is gone.
    bool answerRead(UMockdevIoctlClient* client) const {
        if (!removed) return false;
        Complete(client, -1, ENODEV);
        return true;
    }
};

struct HidrawBed::Device {
    const EmulatedDevice* device = nullptr;
    std::vector<std::string> entries;  // sysfs entries, parents first
    std::vector<std::shared_ptr<Node>> nodes;  // configuration interface first
};

struct HidrawBed::Bed {
    UMockdevTestbed* testbed = nullptr;
    std::string root;
    int nextNode = kFirstNode;
    int nextHid = 1;
    int nextUsb = 1;
    std::vector<Device> devices;
    std::mutex mutex;

    Device* find(const EmulatedDevice& device) {
        for (auto& d : devices)
            if (d.device == &device) return &d;
        return nullptr;
    }

    std::string addEntry(const char* subsystem, const std::string& name, const std::string& parent,
                         std::initializer_list<const char*> attributes, std::initializer_list<const char*> properties) {
        auto attrs = Terminated(attributes);
        auto props = Terminated(properties);
        return Take(umockdev_testbed_add_devicev(testbed, subsystem, name.c_str(), parent.empty() ? nullptr : parent.c_str(),
                                                 const_cast<gchar**>(attrs.data()), const_cast<gchar**>(props.data())));
    }

    std::shared_ptr<Node> makeNode(EmulatorBackend& emulator, const hid::InterfaceInfo& info,
                                   std::span<const uint8_t> descriptor) {
        auto node = std::make_shared<Node>();
        const int number = nextNode++;
        node->path = "/dev/hidraw" + std::to_string(number);
        node->descriptor.assign(descriptor.begin(), descriptor.end());
        node->vendorId = info.vendorId;
        node->productId = info.productId;
        node->emulator = &emulator;
        node->emulatorPath = info.path;
        if (!info.path.empty()) node->link = emulator.open(info.path, hid::OpenMode{});
        if (pipe2(node->queue, O_DIRECT | O_CLOEXEC) != 0 || fcntl(node->queue[1], F_SETFL, O_NONBLOCK | O_DIRECT) != 0)
            throw std::runtime_error("umockdev test bed: no packet pipe for " + node->path);
        fcntl(node->queue[1], F_SETPIPE_SZ, kReportQueue * getpagesize());  // one page per packet
        // The node opens the queue's read end through this process's fd table.
        const std::string devDir = root + "/dev";
        ::mkdir(devDir.c_str(), 0755);
        const std::string target = "/proc/" + std::to_string(getpid()) + "/fd/" + std::to_string(node->queue[0]);
        if (::symlink(target.c_str(), (root + node->path).c_str()) != 0)
            throw std::runtime_error("umockdev test bed: cannot create " + node->path);

        UMockdevIoctlBase* handler = umockdev_ioctl_base_new();
        // The handler keeps the node alive while a client may still call it.
        g_object_set_data_full(G_OBJECT(handler), "orvane-node", new std::shared_ptr<Node>(node),
                               [](gpointer p) { delete static_cast<std::shared_ptr<Node>*>(p); });
        g_signal_connect(handler, "handle-ioctl", G_CALLBACK(+[](UMockdevIoctlBase*, UMockdevIoctlClient* c, gpointer n) {
                             static_cast<Node*>(n)->answerIoctl(c);
                             return gboolean{TRUE};
                         }), node.get());
        g_signal_connect(handler, "handle-write", G_CALLBACK(+[](UMockdevIoctlBase*, UMockdevIoctlClient* c, gpointer n) {
                             static_cast<Node*>(n)->answerWrite(c);
                             return gboolean{TRUE};
                         }), node.get());
        g_signal_connect(handler, "handle-read", G_CALLBACK(+[](UMockdevIoctlBase*, UMockdevIoctlClient* c, gpointer n) {
                             return gboolean{static_cast<Node*>(n)->answerRead(c)};
                         }), node.get());
        GError* error = nullptr;
        const bool attached = umockdev_testbed_attach_ioctl(testbed, node->path.c_str(), handler, &error);
        g_object_unref(handler);  // the test bed holds it now
        if (!attached) {
            const std::string why = error ? error->message : "unknown error";
            g_clear_error(&error);
            throw std::runtime_error("umockdev test bed: cannot answer " + node->path + ": " + why);
        }
        node->startPump();
        return node;
    }

    void removeEntry(const std::string& syspath) {
        umockdev_testbed_uevent(testbed, syspath.c_str(), "remove");
        umockdev_testbed_remove_device(testbed, syspath.c_str());
    }
};

bool HidrawBed::Available() {
    const char* preload = std::getenv("LD_PRELOAD");
    return preload && std::strstr(preload, "libumockdev-preload");
}

HidrawBed::HidrawBed() : bed_(std::make_unique<Bed>()) {
    if (!Available()) throw std::runtime_error("the hidraw test bed needs umockdev's preload (umockdev-wrapper)");
    bed_->testbed = umockdev_testbed_new();
    bed_->root = Take(umockdev_testbed_get_root_dir(bed_->testbed));
}

HidrawBed::~HidrawBed() {
    for (auto& d : bed_->devices)
        for (auto& node : d.nodes) node->shutDown();
    g_object_unref(bed_->testbed);  // removes the entries and unsets UMOCKDEV_DIR
}

void HidrawBed::add(EmulatorBackend& emulator, EmulatedDevice& device) {
    std::lock_guard lock(bed_->mutex);
    Bed& bed = *bed_;
    const auto& id = device.identity();
    hid::InterfaceInfo config, consumer;
    for (const auto& info : device.interfaces())
        (info.usagePage == device::kConfigUsagePage ? config : consumer) = info;
    if (config.path.empty()) throw std::runtime_error("umockdev test bed: the emulated device is unplugged");
    if (consumer.path.empty())  // a consumer-control interface that never reports
        consumer = {"", id.vendorId, id.productId, config.versionNumber, device::kConsumerUsagePage,
                    device::kConsumerUsage, config.interfaceNumber + 1, ""};

    Device entry;
    entry.device = &device;
    const std::string usbName = "9-" + std::to_string(bed.nextUsb++);
    const std::string vid = Hex(id.vendorId, 4), pid = Hex(id.productId, 4);
    const std::string name(id.displayName);
    const std::string usb = bed.addEntry(
        "usb", "usb9/" + usbName, "",
        {"idVendor", vid.c_str(), "idProduct", pid.c_str(), "bcdDevice", Hex(config.versionNumber, 4).c_str(),
         "manufacturer", "Orvane", "product", name.c_str(), "busnum", "9"},
        {"DEVTYPE", "usb_device", "PRODUCT", (vid + "/" + pid + "/" + Hex(config.versionNumber, 1)).c_str()});
    entry.entries.push_back(usb);

    // The consumer-control interface first: the configuration node's "add" is the last event.
    std::vector<std::shared_ptr<Node>> nodes;
    for (const auto* info : {&consumer, &config}) {
        const bool isConfig = info == &config;
        const std::string ifName = usbName + ":1." + std::to_string(info->interfaceNumber);
        const std::string intf = bed.addEntry("usb", ifName, usb,
                                              {"bInterfaceNumber", Hex(info->interfaceNumber, 2).c_str(),
                                               "bInterfaceClass", "03"},
                                              {"DEVTYPE", "usb_interface", "INTERFACE", "3/0/0"});
        const std::string hidId = "0003:" + Hex(id.vendorId, 8, true) + ":" + Hex(id.productId, 8, true);
        const std::string hidName = "0003:" + Hex(id.vendorId, 4, true) + ":" + Hex(id.productId, 4, true) + "." +
                                    Hex(static_cast<uint32_t>(bed.nextHid++), 4, true);
        const std::string phys = "usb-0000:00:14.0-" + usbName.substr(2) + "/input" + std::to_string(info->interfaceNumber);
        const std::string hid = bed.addEntry("hid", hidName, intf, {},
                                             {"HID_ID", hidId.c_str(), "HID_NAME", name.c_str(), "HID_PHYS", phys.c_str(),
                                              "HID_UNIQ", ""});
        const auto descriptor = isConfig ? ConfigInterfaceDescriptor() : ConsumerInterfaceDescriptor();
        umockdev_testbed_set_attribute_binary(bed.testbed, hid.c_str(), "report_descriptor",
                                              const_cast<guint8*>(descriptor.data()), static_cast<gint>(descriptor.size()));
        auto node = bed.makeNode(emulator, *info, descriptor);
        const std::string number = node->path.substr(std::strlen("/dev/hidraw"));
        const std::string dev = std::to_string(kHidrawMajor) + ":" + number;
        const std::string rawName = "hidraw/hidraw" + number;
        // Its "device" link (hidapi reads the identity and descriptor through it) is there
        // before the entry is announced.
        umockdev_testbed_set_attribute_link(bed.testbed, (hid + "/" + rawName).c_str(), "device", "../..");
        node->syspath = bed.addEntry("hidraw", rawName, hid, {"dev", dev.c_str()},
                                     {"DEVNAME", node->path.c_str(), "MAJOR", std::to_string(kHidrawMajor).c_str(),
                                      "MINOR", number.c_str()});
        entry.entries.push_back(intf);
        entry.entries.push_back(hid);
        entry.entries.push_back(node->syspath);
        nodes.insert(isConfig ? nodes.begin() : nodes.end(), node);
    }
    entry.nodes = std::move(nodes);
    bed.devices.push_back(std::move(entry));
}

void HidrawBed::remove(const EmulatedDevice& device) {
    std::lock_guard lock(bed_->mutex);
    Device* entry = bed_->find(device);
    if (!entry) return;
    for (auto& node : entry->nodes) {
        node->shutDown();
        node->wakeReaders();
        // The node goes before its "remove" event, as udev announces a removal: a probe woken
        // by the event finds it gone.
        ::unlink((bed_->root + node->path).c_str());
    }
    // Children first, each announced before its entry goes.
    for (auto it = entry->entries.rbegin(); it != entry->entries.rend(); ++it) bed_->removeEntry(*it);
    for (auto& node : entry->nodes) {
        GError* error = nullptr;
        umockdev_testbed_detach_ioctl(bed_->testbed, node->path.c_str(), &error);
        g_clear_error(&error);
    }
    entry->entries.clear();
    entry->device = nullptr;  // its nodes stay until the bed goes: open handles may still call them
}

std::vector<std::string> HidrawBed::nodes(const EmulatedDevice& device) const {
    std::lock_guard lock(bed_->mutex);
    std::vector<std::string> out;
    if (const Device* entry = bed_->find(device))
        for (const auto& node : entry->nodes) out.push_back(node->path);
    return out;
}

void HidrawBed::denyAccess(const EmulatedDevice& device) {
    std::lock_guard lock(bed_->mutex);
    if (Device* entry = bed_->find(device))
        for (const auto& node : entry->nodes) fchmod(node->queue[0], 0);
}

}  // namespace orvane::sim
