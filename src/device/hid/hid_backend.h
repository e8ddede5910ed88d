// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The operating-system side of HID access. One backend talks to real devices (hidapi on
// hidraw); the emulator provides another. Everything above this interface is portable.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "device/hid/hid_types.h"

namespace orvane::hid {

struct OpenMode {
    bool read = true;
    bool write = true;
    bool exclusive = false;  ///< refuse other writers where the platform can
};

/// An open interface. read/write may be called from one thread while abort() is called from
/// another; a waiting read then returns false at once. An abort raised while no read waits is
/// kept and fails the next read, once. Writes do not wait (a report goes out or fails) and are
/// not affected. A call that returns false leaves no transfer pending on the caller's buffer.
class Handle {
public:
    virtual ~Handle() = default;
    virtual const InterfaceInfo& info() const = 0;
    virtual const ReportLayout& layout() const = 0;
    /// Reads one input report into buffer, the report id first when the reports are numbered.
    /// false on time-out, abort or error.
    virtual bool read(std::span<uint8_t> buffer, int timeoutMs, size_t& transferred) = 0;
    /// Writes one output report (report id first). false on time-out, abort or error.
    virtual bool write(std::span<const uint8_t> report, int timeoutMs, size_t& transferred) = 0;
    /// Makes the read waiting now (or else the next read) return false at once.
    virtual void abort() = 0;
    /// Drops every input report that is already waiting, without waiting for more, and
    /// returns how many (at most `limit`). Before a request this keeps a reply that came
    /// late, after its read gave up, from being taken for the reply to the next request.
    /// The default reads with a zero time-out; backends that can drain without touching a
    /// pending abort do so.
    virtual size_t drainInput(size_t limit) {
        std::vector<uint8_t> scratch(std::max<size_t>(layout().inputReportByteLength, 64));
        size_t dropped = 0, n = 0;
        while (dropped < limit && read(scratch, 0, n)) ++dropped;
        return dropped;
    }
};

enum class OpenError { None, NotFound, PermissionDenied, Busy, Other };

class Backend {
public:
    virtual ~Backend() = default;
    virtual std::string name() const = 0;
    /// All present HID interfaces, in a stable order. false when the system cannot be asked.
    virtual bool enumerate(std::vector<InterfaceInfo>& out) = 0;
    virtual std::unique_ptr<Handle> open(const std::string& path, const OpenMode& mode,
                                         OpenError* error = nullptr) = 0;
    /// Whether the interface at path still exists. Cheap; does not disturb open handles.
    virtual bool probePresent(const std::string& path) = 0;
};

}  // namespace orvane::hid
