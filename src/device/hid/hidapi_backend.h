// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Real devices through hidapi on hidraw. Enumeration and writes go through hidapi; reads wait
// on the hidraw node with poll() together with an eventfd, so abort() wakes a waiting read at
// once. The input layout comes from the interface's report descriptor (sysfs, or the
// HIDIOCGRDESC ioctl where sysfs is not mounted).

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/hid/hid_backend.h"

namespace orvane::hid {

class HidapiLibrary;

class HidapiBackend : public Backend {
public:
    HidapiBackend();
    ~HidapiBackend() override;

    std::string name() const override { return "hidraw"; }
    bool enumerate(std::vector<InterfaceInfo>& out) override;
    std::unique_ptr<Handle> open(const std::string& path, const OpenMode& mode,
                                 OpenError* error = nullptr) override;
    bool probePresent(const std::string& path) override;

private:
    std::shared_ptr<HidapiLibrary> library_;
};

/// Reads whole reports from a non-blocking descriptor (a hidraw node) with a time-out that
/// another thread can cut short: the wait is a poll() on the descriptor and an eventfd.
/// Nothing is left in flight when read returns: the data is taken only once poll says it is
/// there. An abort raised while no read waits is kept, like an auto-reset event, and fails
/// the next read at once. Does not own the descriptor.
class AbortableReader {
public:
    explicit AbortableReader(int fd);
    ~AbortableReader();
    AbortableReader(const AbortableReader&) = delete;
    AbortableReader& operator=(const AbortableReader&) = delete;

    bool valid() const { return abortFd_ >= 0; }
    /// One read of at most buffer.size() bytes. timeoutMs < 0 waits without limit. false on
    /// time-out, abort, error or end of the device.
    bool read(std::span<uint8_t> buffer, int timeoutMs, size_t& transferred);
    void abort();

private:
    const int fd_;
    const int abortFd_;
};

/// The raw report descriptor of the hidraw node at `path` ("/dev/hidrawN"), read from sysfs;
/// falls back to the HIDIOCGRDESC ioctl on `fd` when sysfs does not have it. Empty on failure.
std::vector<uint8_t> ReadReportDescriptor(const std::string& path, int fd);

/// The OpenError for an errno from opening a device node.
OpenError OpenErrorFromErrno(int err);

}  // namespace orvane::hid
