// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/shared_client.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

#include "device/hid/report_descriptor.h"
#include "device/log.h"
#include "sim/shared_wire.h"

namespace orvane::sim {

using Clock = std::chrono::steady_clock;

namespace {

constexpr size_t kQueueLimit = 64;  // as hidraw's: the oldest goes when it overflows

int Connect(const std::filesystem::path& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string text = path.string();
    if (text.empty() || text.size() >= sizeof address.sun_path) return -1;
    std::memcpy(address.sun_path, text.data(), text.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return -1;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

/// Reads until one whole message arrives; nullopt on time-out, end or a broken stream.
std::optional<wire::Message> Receive(int fd, wire::Reader& reader, Clock::time_point deadline) {
    std::array<uint8_t, 4096> buffer{};
    for (;;) {
        if (auto m = reader.next()) return m;
        if (reader.broken()) return std::nullopt;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) return std::nullopt;
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, int(left));
        if (ready < 0 && errno != EINTR) return std::nullopt;
        if (ready <= 0) continue;
        const ssize_t n = ::recv(fd, buffer.data(), buffer.size(), MSG_DONTWAIT);
        if (n == 0) return std::nullopt;
        if (n < 0) {
            if (errno == EAGAIN || errno == EINTR) continue;
            return std::nullopt;
        }
        reader.push(std::span(buffer.data(), size_t(n)));
    }
}

/// One question on a connection of its own.
std::optional<wire::Message> Ask(const std::filesystem::path& socket, wire::Type type, const wire::Out& out,
                                 wire::Type answer, std::chrono::milliseconds timeout) {
    const int fd = Connect(socket);
    if (fd < 0) return std::nullopt;
    const auto deadline = Clock::now() + timeout;
    wire::Reader reader(false);
    std::optional<wire::Message> m;
    if (wire::SendAll(fd, wire::Encode(type, out.data()), int(timeout.count()))) m = Receive(fd, reader, deadline);
    ::close(fd);
    if (m && m->type != answer) return std::nullopt;
    return m;
}

class RemoteHandle : public hid::Handle {
public:
    // `reader` holds what came after the open's answer: this handle's first messages.
    RemoteHandle(int fd, hid::InterfaceInfo info, hid::ReportLayout layout, std::chrono::milliseconds timeout,
                 wire::Reader reader)
        : fd_(fd), info_(std::move(info)), layout_(std::move(layout)), timeout_(timeout) {
        thread_ = std::jthread([this, r = std::move(reader)](std::stop_token stop) mutable { receive(stop, r); });
    }
    ~RemoteHandle() override {
        thread_.request_stop();
        ::shutdown(fd_, SHUT_RDWR);  // wakes the receiving thread
        thread_.join();
        ::close(fd_);
    }

    const hid::InterfaceInfo& info() const override { return info_; }
    const hid::ReportLayout& layout() const override { return layout_; }

    bool read(std::span<uint8_t> buffer, int timeoutMs, size_t& transferred) override {
        transferred = 0;
        std::unique_lock lock(mutex_);
        const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
        for (;;) {
            if (std::exchange(abortPending_, false)) return false;
            if (!queue_.empty()) {
                const auto& bytes = queue_.front();
                transferred = std::min(buffer.size(), bytes.size());
                std::memcpy(buffer.data(), bytes.data(), transferred);
                queue_.pop_front();
                return true;
            }
            if (dead_) return false;
            if (changed_.wait_until(lock, deadline) == std::cv_status::timeout && queue_.empty() && !abortPending_)
                return false;
        }
    }

    bool write(std::span<const uint8_t> report, int /*timeoutMs*/, size_t& transferred) override {
        transferred = 0;
        if (report.empty() || report.size() > wire::kMaxReport) return false;
        std::lock_guard one(requestMutex_);
        const auto answer = request(wire::Type::Write, wire::Out().bytes(report), written_);
        if (!answer || *answer == 0) return false;
        transferred = report.size();
        return true;
    }

    // The emulator drops what waits for this handle there and answers after every report it
    // sent before; those are here by then and go too.
    size_t drainInput(size_t /*limit*/) override {
        std::lock_guard one(requestMutex_);
        const auto answer = request(wire::Type::Drain, wire::Out(), drained_);
        return answer ? *answer : 0;
    }

    void abort() override {
        std::lock_guard lock(mutex_);
        abortPending_ = true;
        changed_.notify_all();
    }

private:
    // Sends one request and waits for its answer (the count or flag the receiver stored in
    // `slot`). No answer in time: the emulator is not to be trusted further.
    std::optional<size_t> request(wire::Type type, const wire::Out& out, std::optional<size_t>& slot) {
        {
            std::lock_guard lock(mutex_);
            if (dead_) return std::nullopt;
            slot.reset();
        }
        const bool sent = [&] {
            std::lock_guard lock(sendMutex_);
            return wire::SendAll(fd_, wire::Encode(type, out.data()), int(timeout_.count()));
        }();
        std::unique_lock lock(mutex_);
        if (sent) changed_.wait_for(lock, timeout_, [&] { return slot.has_value() || dead_; });
        if (!slot) {
            if (!dead_) device::Log("shared emulator: no answer in time; the device is gone to this process");
            die(lock);
            return std::nullopt;
        }
        return std::exchange(slot, std::nullopt);
    }

    void die(std::unique_lock<std::mutex>&) {
        dead_ = true;
        ::shutdown(fd_, SHUT_RDWR);
        changed_.notify_all();
    }

    void receive(std::stop_token stop, wire::Reader& reader) {
        std::array<uint8_t, 4096> buffer{};
        if (!takeWaiting(reader)) return;
        while (!stop.stop_requested()) {
            pollfd p{fd_, POLLIN, 0};
            const int ready = ::poll(&p, 1, -1);
            if (ready < 0 && errno == EINTR) continue;
            if (ready < 0) break;
            const ssize_t n = ::recv(fd_, buffer.data(), buffer.size(), MSG_DONTWAIT);
            if (n == 0) break;
            if (n < 0) {
                if (errno == EAGAIN || errno == EINTR) continue;
                break;
            }
            reader.push(std::span(buffer.data(), size_t(n)));
            if (!takeWaiting(reader)) return;
        }
        std::unique_lock lock(mutex_);
        die(lock);
    }

    // Takes every whole message the reader holds; false (and the handle dead) when one does
    // not fit or the stream broke.
    bool takeWaiting(wire::Reader& reader) {
        std::unique_lock lock(mutex_);
        while (auto m = reader.next()) {
            if (!take(*m)) {
                device::Log("shared emulator: a message that does not fit; the device is gone to this process");
                die(lock);
                return false;
            }
        }
        if (reader.broken()) {
            device::Log("shared emulator: " + reader.problem() + "; the device is gone to this process");
            die(lock);
            return false;
        }
        return true;
    }

    // Under mutex_.
    bool take(const wire::Message& m) {
        wire::In in(m.payload);
        switch (m.type) {
        case wire::Type::Input: {
            auto report = in.bytes(wire::kMaxReport);
            if (!in.whole()) return false;
            if (queue_.size() >= kQueueLimit) queue_.pop_front();
            queue_.push_back(std::move(report));
            break;
        }
        case wire::Type::Written: {
            const uint8_t ok = in.u8();
            if (!in.whole()) return false;
            written_ = ok;
            break;
        }
        case wire::Type::Drained: {
            const uint16_t count = in.u16();
            if (!in.whole()) return false;
            drained_ = count + queue_.size();
            queue_.clear();
            break;
        }
        default: return false;
        }
        changed_.notify_all();
        return true;
    }

    const int fd_;
    const hid::InterfaceInfo info_;
    const hid::ReportLayout layout_;
    const std::chrono::milliseconds timeout_;
    std::mutex requestMutex_;  // one write or drain at a time: their answers come in order
    std::mutex sendMutex_;
    std::mutex mutex_;         // guards what follows
    std::condition_variable changed_;
    std::deque<std::vector<uint8_t>> queue_;
    std::optional<size_t> written_, drained_;
    bool abortPending_ = false;
    bool dead_ = false;
    std::jthread thread_;  // last: it starts when everything else is made
};

}  // namespace

SharedEmulatorBackend::SharedEmulatorBackend(std::filesystem::path socketPath) : socketPath_(std::move(socketPath)) {}

bool SharedEmulatorBackend::enumerate(std::vector<hid::InterfaceInfo>& out) {
    out.clear();
    const auto m = Ask(socketPath_, wire::Type::Enumerate, wire::Out(), wire::Type::Interfaces, replyTimeout);
    if (!m) return true;
    wire::In in(m->payload);
    const size_t count = in.u16();
    if (count > wire::kMaxInterfaces) return true;
    std::vector<hid::InterfaceInfo> list;
    for (size_t i = 0; i < count && in.ok(); ++i) list.push_back(in.info());
    if (in.whole()) out = std::move(list);
    return true;
}

bool SharedEmulatorBackend::probePresent(const std::string& path) {
    const auto m = Ask(socketPath_, wire::Type::Probe, wire::Out().text(path), wire::Type::Present, replyTimeout);
    if (!m) return false;
    wire::In in(m->payload);
    const uint8_t present = in.u8();
    return in.whole() && present == 1;
}

std::unique_ptr<hid::Handle> SharedEmulatorBackend::open(const std::string& path, const hid::OpenMode&,
                                                         hid::OpenError* error) {
    auto fail = [&](hid::OpenError e) -> std::unique_ptr<hid::Handle> {
        if (error) *error = e;
        return nullptr;
    };
    if (error) *error = hid::OpenError::None;
    if (path.empty() || path.size() > wire::kMaxText) return fail(hid::OpenError::NotFound);
    const int fd = Connect(socketPath_);
    if (fd < 0) return fail(hid::OpenError::NotFound);
    wire::Reader reader(false);
    std::optional<wire::Message> m;
    if (wire::SendAll(fd, wire::Encode(wire::Type::Open, wire::Out().text(path).data()), int(replyTimeout.count())))
        m = Receive(fd, reader, Clock::now() + replyTimeout);
    auto closeFd = [fd](hid::OpenError e) {
        ::close(fd);
        return e;
    };
    if (!m || m->type != wire::Type::Opened) return fail(closeFd(hid::OpenError::Other));
    wire::In in(m->payload);
    const uint8_t code = in.u8();
    if (code != 0) {
        const bool known = code <= uint8_t(hid::OpenError::Other);
        return fail(closeFd(known && in.whole() ? hid::OpenError(code) : hid::OpenError::Other));
    }
    hid::InterfaceInfo info = in.info();
    const auto descriptor = in.bytes(wire::kMaxPayload);
    auto layout = hid::ParseReportDescriptor(descriptor);
    if (!in.whole() || !layout || info.path != path) return fail(closeFd(hid::OpenError::Other));
    return std::make_unique<RemoteHandle>(fd, std::move(info), std::move(*layout), replyTimeout, std::move(reader));
}

}  // namespace orvane::sim
