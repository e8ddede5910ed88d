// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// HidDevice: one HID interface the program keeps open (or is about to open), with the
// description built at open time. Owned by a DeviceConnection or a notification listener.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "device/hid/hid_backend.h"

namespace orvane::hid {

class HidDevice {
public:
    static constexpr int kWriteTimeoutMs = 1000;

    explicit HidDevice(Backend& backend);
    ~HidDevice();
    HidDevice(const HidDevice&) = delete;
    HidDevice& operator=(const HidDevice&) = delete;

    Backend& backend() const { return backend_; }

    // --- enumeration, kept here while a monitor walks it ---------------------------------
    /// Replaces pathList with the present interfaces and resets the cursor.
    bool enumeratePaths();
    void freePaths();
    std::vector<InterfaceInfo> pathList;
    size_t pathCursor = 0;

    // --- what to open -----------------------------------------------------------------
    OpenMode mode;
    std::string path;

    /// Aborts pending I/O, closes, then opens `path` with `mode` and builds the description.
    bool open(OpenError* error = nullptr);
    /// Aborts pending I/O and closes. Safe to call from another thread than the one reading.
    void close();
    bool isOpen() const;
    /// Whether the interface at `path` still exists; the open handle is not touched.
    bool probePresent() const;

    /// Attributes and capabilities of the open interface (empty when closed).
    InterfaceInfo attributes() const;
    ReportLayout caps() const;

    bool readReport(std::span<uint8_t> buffer, int timeoutMs, size_t& transferred);
    bool writeReport(std::span<const uint8_t> report, size_t& transferred);
    /// Makes a read or write waiting now return false at once.
    void abort();
    /// Drops the input reports already waiting (at most kDrainLimit); how many.
    static constexpr size_t kDrainLimit = 256;
    size_t drainInput();

    // --- input description ------------------------------------------------------------
    std::vector<uint8_t> inputReport;          ///< InputReportByteLength bytes
    std::vector<InputDataItem> inputItems;
    /// Unpacks the first `length` bytes of inputReport into inputItems.
    bool unpackInput(size_t length);

private:
    std::shared_ptr<Handle> current() const;

    Backend& backend_;
    mutable std::mutex handleMutex_;  // guards handle_ only; never held during I/O
    std::shared_ptr<Handle> handle_;
};

}  // namespace orvane::hid
