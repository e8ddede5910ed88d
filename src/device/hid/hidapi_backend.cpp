// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/hid/hidapi_backend.h"

#include <fcntl.h>
#include <hidapi.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <fstream>
#include <iterator>
#include <mutex>

#include "device/hid/report_descriptor.h"

namespace orvane::hid {

// hid_init/hid_exit once per process while any backend or handle lives. hidapi also keeps a
// process-wide error string, so enumeration and opening run one at a time under this lock.
class HidapiLibrary {
public:
    static std::shared_ptr<HidapiLibrary> acquire() {
        std::lock_guard lock(Mutex());
        static std::weak_ptr<HidapiLibrary> current;
        if (auto existing = current.lock()) return existing;
        std::shared_ptr<HidapiLibrary> created(new HidapiLibrary(hid_init() == 0));
        current = created;
        return created;
    }
    ~HidapiLibrary() {
        std::lock_guard lock(Mutex());
        if (ok) hid_exit();
    }
    static std::mutex& Mutex() {
        static std::mutex m;
        return m;
    }
    const bool ok;

private:
    explicit HidapiLibrary(bool initialised) : ok(initialised) {}
};

namespace {

constexpr size_t kMaxDescriptorSize = HID_MAX_DESCRIPTOR_SIZE;

/// Every process that opens the node names it alike: "hidraw3" for /dev/hidraw3.
std::string ShareIdOfNode(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

/// Interface info from hidapi's enumeration.
InterfaceInfo ToInfo(const hid_device_info& d) {
    InterfaceInfo info;
    info.path = d.path ? d.path : "";
    info.vendorId = d.vendor_id;
    info.productId = d.product_id;
    info.versionNumber = d.release_number;
    info.usagePage = d.usage_page;
    info.usage = d.usage;
    info.interfaceNumber = d.interface_number;
    info.shareId = ShareIdOfNode(info.path);
    return info;
}

/// hidraw2 before hidraw10.
bool PathLess(const InterfaceInfo& a, const InterfaceInfo& b) {
    if (a.path.size() != b.path.size()) return a.path.size() < b.path.size();
    return a.path < b.path;
}

void Signal(int efd) {
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(efd, &one, sizeof one);
}

/// Takes a pending abort, if any. The eventfd is non-blocking, so this never waits.
bool ConsumeSignal(int efd) {
    uint64_t count = 0;
    return ::read(efd, &count, sizeof count) == static_cast<ssize_t>(sizeof count) && count > 0;
}

class HidrawHandle : public Handle {
public:
    HidrawHandle(std::shared_ptr<HidapiLibrary> library, InterfaceInfo info, ReportLayout layout, int fd,
                 bool canRead, hid_device* device)
        : library_(std::move(library)), info_(std::move(info)), layout_(std::move(layout)), fd_(fd),
          canRead_(canRead), device_(device), reader_(fd) {}

    ~HidrawHandle() override {
        if (device_) hid_close(device_);
        ::close(fd_);
    }

    bool valid() const { return reader_.valid(); }
    const InterfaceInfo& info() const override { return info_; }
    const ReportLayout& layout() const override { return layout_; }

    bool read(std::span<uint8_t> buffer, int timeoutMs, size_t& transferred) override {
        transferred = 0;
        if (!canRead_) return false;
        std::lock_guard lock(readMutex_);  // one reader at a time: the abort count is its own
        return reader_.read(buffer, timeoutMs, transferred);
    }

    // The node is open non-blocking: a read answers EAGAIN as soon as the queue is empty.
    // The abort event is not looked at, so a pending abort still ends the next wait.
    size_t drainInput(size_t limit) override {
        if (!canRead_) return 0;
        std::lock_guard lock(readMutex_);
        std::array<uint8_t, 4096> scratch{};
        size_t dropped = 0;
        while (dropped < limit) {
            const ssize_t n = ::read(fd_, scratch.data(), scratch.size());
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            ++dropped;
        }
        return dropped;
    }

    // hidraw writes are synchronous in the kernel (bounded by the USB transfer time-out): there
    // is no waiting phase to cut short, and an abort is for reads only. (An abort kept for a
    // write would fail the first write after an aborted read.)
    bool write(std::span<const uint8_t> report, int /*timeoutMs*/, size_t& transferred) override {
        transferred = 0;
        if (!device_ || report.empty()) return false;
        std::lock_guard lock(writeMutex_);
        const int n = hid_write(device_, report.data(), report.size());
        if (n < 0) return false;
        transferred = static_cast<size_t>(n);
        return true;
    }

    void abort() override { reader_.abort(); }

private:
    std::shared_ptr<HidapiLibrary> library_;  // keeps hidapi initialised while the handle lives
    const InterfaceInfo info_;
    const ReportLayout layout_;
    const int fd_;             // our own descriptor of the node: reads and the exclusive lock
    const bool canRead_;
    hid_device* const device_; // hidapi's, for writes; null for a read-only handle
    AbortableReader reader_;
    std::mutex readMutex_;
    std::mutex writeMutex_;
};

/// Vendor, product, version and interface number of an open node, as enumeration gives them.
InterfaceInfo DescribeNode(const std::string& path, int fd, const ReportLayout& layout) {
    InterfaceInfo info;
    info.path = path;
    info.shareId = ShareIdOfNode(path);
    hidraw_devinfo raw{};
    if (ioctl(fd, HIDIOCGRAWINFO, &raw) == 0) {
        info.vendorId = static_cast<uint16_t>(raw.vendor);
        info.productId = static_cast<uint16_t>(raw.product);
        std::lock_guard lock(HidapiLibrary::Mutex());
        if (hid_device_info* list = hid_enumerate(info.vendorId, info.productId)) {
            for (auto* d = list; d; d = d->next) {
                if (d->path && path == d->path) {
                    info.versionNumber = d->release_number;
                    info.interfaceNumber = d->interface_number;
                    break;
                }
            }
            hid_free_enumeration(list);
        }
    }
    // The top-level usage of the descriptor's first application collection.
    info.usagePage = layout.usagePage;
    info.usage = layout.usage;
    return info;
}

}  // namespace

AbortableReader::AbortableReader(int fd) : fd_(fd), abortFd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

AbortableReader::~AbortableReader() {
    if (abortFd_ >= 0) ::close(abortFd_);
}

void AbortableReader::abort() { Signal(abortFd_); }

bool AbortableReader::read(std::span<uint8_t> buffer, int timeoutMs, size_t& transferred) {
    transferred = 0;
    if (buffer.empty() || fd_ < 0 || abortFd_ < 0) return false;
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    for (;;) {
        int wait = -1;
        if (timeoutMs >= 0) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
            wait = static_cast<int>(std::max<int64_t>(left, 0));
        }
        pollfd fds[2] = {{abortFd_, POLLIN, 0}, {fd_, POLLIN, 0}};
        const int ready = ::poll(fds, 2, wait);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;  // error or time-out
        if ((fds[0].revents & POLLIN) && ConsumeSignal(abortFd_)) return false;
        if (fds[1].revents & POLLIN) {
            // hidraw hands out one whole report per read.
            const ssize_t n = ::read(fd_, buffer.data(), buffer.size());
            if (n > 0) {
                transferred = static_cast<size_t>(n);
                return true;
            }
            if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
            return false;  // end of the device or an error
        }
        if (fds[1].revents & (POLLERR | POLLHUP | POLLNVAL)) return false;  // unplugged
    }
}

OpenError OpenErrorFromErrno(int err) {
    switch (err) {
    case 0: return OpenError::None;
    case ENOENT:
    case ENODEV:
    case ENXIO: return OpenError::NotFound;
    case EACCES:
    case EPERM: return OpenError::PermissionDenied;
    case EBUSY:
    case EWOULDBLOCK: return OpenError::Busy;
    default: return OpenError::Other;
    }
}

std::vector<uint8_t> ReadReportDescriptor(const std::string& path, int fd) {
    const std::string node = path.substr(path.rfind('/') + 1);
    if (node.rfind("hidraw", 0) == 0) {
        std::ifstream in("/sys/class/hidraw/" + node + "/device/report_descriptor", std::ios::binary);
        std::vector<uint8_t> bytes;
        if (in) {
            bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            if (!bytes.empty() && bytes.size() <= kMaxDescriptorSize) return bytes;
        }
    }
    int size = 0;
    if (fd < 0 || ioctl(fd, HIDIOCGRDESCSIZE, &size) != 0 || size <= 0 || size > static_cast<int>(kMaxDescriptorSize))
        return {};
    hidraw_report_descriptor desc{};
    desc.size = static_cast<uint32_t>(size);
    if (ioctl(fd, HIDIOCGRDESC, &desc) != 0) return {};
    return {desc.value, desc.value + size};
}

HidapiBackend::HidapiBackend() : library_(HidapiLibrary::acquire()) {}
HidapiBackend::~HidapiBackend() = default;

bool HidapiBackend::enumerate(std::vector<InterfaceInfo>& out) {
    out.clear();
    if (!library_->ok) return false;
    std::lock_guard lock(HidapiLibrary::Mutex());
    // hidapi answers null both for "none present" and for a failed walk; both mean no devices.
    hid_device_info* list = hid_enumerate(0, 0);
    for (auto* d = list; d; d = d->next) out.push_back(ToInfo(*d));
    hid_free_enumeration(list);
    std::stable_sort(out.begin(), out.end(), PathLess);
    return true;
}

std::unique_ptr<Handle> HidapiBackend::open(const std::string& path, const OpenMode& mode, OpenError* error) {
    auto fail = [&](OpenError e) -> std::unique_ptr<Handle> {
        if (error) *error = e;
        return nullptr;
    };
    if (error) *error = OpenError::None;
    if (path.empty()) return fail(OpenError::NotFound);
    if (!library_->ok) return fail(OpenError::Other);

    // Our own descriptor first: its errno tells exactly why an open fails.
    const int access = mode.read && mode.write ? O_RDWR : mode.write ? O_WRONLY : O_RDONLY;
    const int fd = ::open(path.c_str(), access | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return fail(OpenErrorFromErrno(errno));
    auto closeFd = [fd](OpenError e) {
        ::close(fd);
        return e;
    };
    // hidraw has no share modes; an advisory lock keeps out other exclusive openers.
    if (mode.exclusive && flock(fd, LOCK_EX | LOCK_NB) != 0) return fail(closeFd(OpenErrorFromErrno(errno)));

    const std::vector<uint8_t> descriptor = ReadReportDescriptor(path, fd);
    std::optional<ReportLayout> layout = ParseReportDescriptor(descriptor);
    if (!layout) return fail(closeFd(OpenError::Other));

    hid_device* device = nullptr;
    if (mode.write) {
        {
            std::lock_guard lock(HidapiLibrary::Mutex());
            device = hid_open_path(path.c_str());
        }
        if (!device) {
            // hidapi does not pass errno on; ask the node directly.
            const OpenError e = ::access(path.c_str(), R_OK | W_OK) != 0 ? OpenErrorFromErrno(errno) : OpenError::Other;
            return fail(closeFd(e));
        }
    }
    InterfaceInfo info = DescribeNode(path, fd, *layout);
    auto handle = std::make_unique<HidrawHandle>(library_, std::move(info), std::move(*layout), fd, mode.read, device);
    if (!handle->valid()) return fail(OpenError::Other);  // the handle closes fd and device
    return handle;
}

bool HidapiBackend::probePresent(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISCHR(st.st_mode);
}

}  // namespace orvane::hid
