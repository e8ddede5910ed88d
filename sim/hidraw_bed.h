// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The emulator's devices as hidraw nodes, so that hidapi's hidraw backend runs without
// hardware. A umockdev test bed holds each device's sysfs entries (the USB device and its
// interfaces, the hid device with HID_ID, HID_NAME and its report descriptor, the hidraw
// child with its node) and this process answers the nodes: HIDIOCGRAWINFO, HIDIOCGRDESCSIZE
// and HIDIOCGRDESC from the device's identity and descriptors; each write goes to the
// emulated device; each report the device sends is queued on the node as one packet, so a
// read returns one whole report and poll() wakes for it, as on hidraw.
//
// Every device gets both interfaces: configuration (0xFF1C/0x0092) and consumer control
// (0x000C/0x0001); on models without notifications the consumer interface stays silent.
// Node numbers start at 64, above any the kernel hands out, so the bed's nodes never meet a
// real one. Readers of one node share its queue (enough for tests).
//
// The process must run under umockdev's preload library (umockdev-wrapper); the bed sets
// UMOCKDEV_DIR while it lives. One bed at a time.

#include <memory>
#include <string>
#include <vector>

#include "sim/emulator.h"

namespace orvane::sim {

class HidrawBed {
public:
    /// Whether this process runs under umockdev's preload library, which the bed needs.
    static bool Available();

    HidrawBed();
    ~HidrawBed();
    HidrawBed(const HidrawBed&) = delete;
    HidrawBed& operator=(const HidrawBed&) = delete;

    /// Exposes `device` (one of `emulator`'s) with both its interfaces and sends the "add"
    /// events; the configuration interface's hidraw node comes last.
    void add(EmulatorBackend& emulator, EmulatedDevice& device);
    /// Takes the device's entries away and sends the "remove" events. A read waiting on one
    /// of its nodes wakes, and every further call on a node still open fails with ENODEV.
    void remove(const EmulatedDevice& device);
    /// The device's nodes ("/dev/hidrawN"), the configuration interface's first.
    std::vector<std::string> nodes(const EmulatedDevice& device) const;
    /// The device's nodes refuse whoever may not override file permissions (EACCES), as
    /// before the udev rules are installed.
    void denyAccess(const EmulatedDevice& device);

    struct Node;
    struct Device;

private:
    struct Bed;
    std::unique_ptr<Bed> bed_;
};

}  // namespace orvane::sim
