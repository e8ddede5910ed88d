// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/shared_server.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "device/log.h"
#include "platform/runtime_folder.h"
#include "sim/descriptors.h"
#include "sim/emulator.h"
#include "sim/shared_wire.h"

namespace orvane::sim {

using Clock = std::chrono::steady_clock;

namespace {

constexpr int kPumpWaitMs = 100;
constexpr int kSessionPollMs = 100;

bool FillAddress(const std::filesystem::path& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    const std::string text = path.string();
    if (text.empty() || text.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, text.data(), text.size());
    return true;
}

void Wake(int efd) {
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(efd, &one, sizeof one);
}

}  // namespace

// One client connection: queries, or one open interface of the emulator.
struct EmulatorServer::Session {
    Session(EmulatorServer& server, int socket) : server(server), fd(socket), reader(true) {}
    ~Session() {
        // The threads have ended (stop() or reap() joined them); close what they used.
        if (fd >= 0) ::close(fd);
    }

    void run(std::stop_token stop);
    bool serve(const wire::Message& m);
    bool send(wire::Type type, const wire::Out& out = wire::Out{}) {
        std::lock_guard lock(sendMutex);
        return wire::SendAll(fd, wire::Encode(type, out.data()), int(server.sendTimeout.count()));
    }
    void pump(std::stop_token stop);

    EmulatorServer& server;
    const int fd;
    wire::Reader reader;
    std::unique_ptr<hid::Handle> handle;   // after Open
    WaitableHandle* waitable = nullptr;
    std::mutex sendMutex;
    std::mutex takeMutex;  // a report taken from the handle and its sending are one step
    std::jthread pumpThread;
    std::jthread thread;
    std::atomic<bool> done{false};
};

void EmulatorServer::Session::run(std::stop_token stop) {
    std::array<uint8_t, 4096> buffer{};
    std::optional<Clock::time_point> partialSince;
    while (!stop.stop_requested()) {
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, kSessionPollMs);
        if (ready < 0 && errno != EINTR) break;
        if (ready > 0) {
            const ssize_t n = ::recv(fd, buffer.data(), buffer.size(), MSG_DONTWAIT);
            if (n == 0) break;  // the client went away
            if (n < 0 && errno != EAGAIN && errno != EINTR) break;
            if (n > 0) reader.push(std::span(buffer.data(), size_t(n)));
            bool ok = true;
            while (ok) {
                auto m = reader.next();
                if (!m) break;
                ok = serve(*m);
            }
            if (!ok) break;
            if (reader.broken()) {
                device::Log("shared emulator: closing a client: " + reader.problem());
                break;
            }
        }
        if (reader.partial()) {
            if (!partialSince) partialSince = Clock::now();
            if (Clock::now() - *partialSince > server.partialTimeout) {
                device::Log("shared emulator: closing a client that left a message unfinished");
                break;
            }
        } else {
            partialSince.reset();
        }
        if (done) break;  // the pump could not send
    }
    done = true;
    if (pumpThread.joinable()) {
        pumpThread.request_stop();
        if (handle) handle->abort();
        pumpThread.join();
    }
    handle.reset();
    ::shutdown(fd, SHUT_RDWR);
    Wake(server.wakeFd_);  // the accept loop reaps this session
}

bool EmulatorServer::Session::serve(const wire::Message& m) {
    wire::In in(m.payload);
    switch (m.type) {
    case wire::Type::Enumerate: {
        if (handle || !in.whole()) return false;
        std::vector<hid::InterfaceInfo> list;
        server.emulator_.enumerate(list);
        if (list.size() > wire::kMaxInterfaces) list.resize(wire::kMaxInterfaces);
        wire::Out out;
        out.u16(uint16_t(list.size()));
        for (const auto& i : list) out.info(i);
        return send(wire::Type::Interfaces, out);
    }
    case wire::Type::Probe: {
        const std::string path = in.text();
        if (handle || !in.whole()) return false;
        return send(wire::Type::Present, wire::Out().u8(server.emulator_.probePresent(path) ? 1 : 0));
    }
    case wire::Type::Open: {
        const std::string path = in.text();
        if (handle || !in.whole()) return false;
        hid::OpenError error = hid::OpenError::None;
        auto opened = server.emulator_.open(path, hid::OpenMode{}, &error);
        auto* waits = dynamic_cast<WaitableHandle*>(opened.get());
        if (!opened || !waits) {
            return send(wire::Type::Opened,
                        wire::Out().u8(uint8_t(error == hid::OpenError::None ? hid::OpenError::Other : error)));
        }
        const bool config = opened->layout().usagePage == 0xFF1C;
        const auto descriptor = config ? ConfigInterfaceDescriptor() : ConsumerInterfaceDescriptor();
        handle = std::move(opened);
        waitable = waits;
        wire::Out out;
        out.u8(0).info(handle->info()).bytes(descriptor);
        if (!send(wire::Type::Opened, out)) return false;
        pumpThread = std::jthread([this](std::stop_token s) { pump(s); });
        return true;
    }
    case wire::Type::Write: {
        const auto report = in.bytes(wire::kMaxReport);
        if (!handle || !in.whole()) return false;
        size_t written = 0;
        const bool ok = handle->write(report, 1000, written);
        return send(wire::Type::Written, wire::Out().u8(ok ? 1 : 0));
    }
    case wire::Type::Drain: {
        if (!handle || !in.whole()) return false;
        // Every report taken before this one has been sent; those still queued go now.
        std::lock_guard take(takeMutex);
        const size_t dropped = handle->drainInput(256);
        return send(wire::Type::Drained, wire::Out().u16(uint16_t(dropped)));
    }
    default: return false;
    }
}

void EmulatorServer::Session::pump(std::stop_token stop) {
    std::array<uint8_t, wire::kMaxReport> report{};
    while (!stop.stop_requested() && !done) {
        if (!waitable->waitReadable(kPumpWaitMs)) continue;
        std::lock_guard take(takeMutex);
        size_t n = 0;
        if (!handle->read(report, 0, n)) continue;
        if (!send(wire::Type::Input, wire::Out().bytes(std::span(report.data(), n)))) {
            device::Log("shared emulator: closing a client that does not read");
            done = true;
            ::shutdown(fd, SHUT_RDWR);
            return;
        }
    }
}

EmulatorServer::EmulatorServer(EmulatorBackend& emulator) : emulator_(emulator) {}

EmulatorServer::~EmulatorServer() { stop(); }

std::filesystem::path EmulatorServer::DefaultSocket(std::string& problem) {
    const platform::RuntimeFolder folder = platform::PrivateRuntimeFolder();
    if (!folder.ok()) {
        problem = folder.problem;
        return {};
    }
    return folder.path / kSocketName;
}

bool EmulatorServer::start(const std::filesystem::path& socketPath, std::string& problem) {
    sockaddr_un address{};
    if (!FillAddress(socketPath, address)) {
        problem = "the socket path " + socketPath.string() + " is too long";
        return false;
    }
    // A socket someone answers on belongs to a running emulator; one nobody answers on is
    // what a killed one left.
    struct stat st {};
    if (::lstat(socketPath.c_str(), &st) == 0) {
        if (!S_ISSOCK(st.st_mode)) {
            problem = socketPath.string() + " exists and is not a socket";
            return false;
        }
        const int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const bool answered = probe >= 0 && ::connect(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        if (probe >= 0) ::close(probe);
        if (answered) {
            problem = "another shared emulator serves " + socketPath.string();
            return false;
        }
        ::unlink(socketPath.c_str());
    }
    listenFd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    const mode_t old = ::umask(0177);  // the socket file is made 0600
    const bool bound = listenFd_ >= 0 && ::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    const int bindError = errno;
    ::umask(old);
    if (!bound || ::listen(listenFd_, 16) != 0 || wakeFd_ < 0) {
        problem = "cannot listen on " + socketPath.string() + ": " + std::strerror(bound ? errno : bindError);
        if (listenFd_ >= 0) ::close(listenFd_);
        if (wakeFd_ >= 0) ::close(wakeFd_);
        listenFd_ = wakeFd_ = -1;
        return false;
    }
    ::chmod(socketPath.c_str(), 0600);
    socketPath_ = socketPath;
    emulator_.shareDevices();
    acceptThread_ = std::jthread([this](std::stop_token stop) { acceptLoop(stop); });
    return true;
}

void EmulatorServer::acceptLoop(std::stop_token stop) {
    while (!stop.stop_requested()) {
        pollfd fds[2] = {{listenFd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 && errno != EINTR) break;
        if (fds[1].revents & POLLIN) {
            uint64_t count = 0;
            [[maybe_unused]] ssize_t n = ::read(wakeFd_, &count, sizeof count);
        }
        reap(false);
        if (stop.stop_requested()) break;
        if (!(fds[0].revents & POLLIN)) continue;
        const int client = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (client < 0) continue;
        std::lock_guard lock(mutex_);
        if (sessions_.size() >= kMaxSessions) {
            ++refused_;
            ::close(client);
            continue;
        }
        auto session = std::make_shared<Session>(*this, client);
        session->thread = std::jthread([s = session.get()](std::stop_token st) { s->run(st); });
        sessions_.push_back(std::move(session));
    }
}

void EmulatorServer::reap(bool all) {
    std::list<std::shared_ptr<Session>> ended;
    {
        std::lock_guard lock(mutex_);
        for (auto it = sessions_.begin(); it != sessions_.end();) {
            if (all || (*it)->done) {
                ended.push_back(std::move(*it));
                it = sessions_.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (auto& s : ended) {
        s->thread.request_stop();
        ::shutdown(s->fd, SHUT_RDWR);
        if (s->thread.joinable()) s->thread.join();
    }
}

void EmulatorServer::stop() {
    if (acceptThread_.joinable()) {
        acceptThread_.request_stop();
        Wake(wakeFd_);
        acceptThread_.join();
    }
    reap(true);
    if (listenFd_ >= 0) {
        ::close(listenFd_);
        listenFd_ = -1;
        std::error_code ec;
        std::filesystem::remove(socketPath_, ec);
    }
    if (wakeFd_ >= 0) {
        ::close(wakeFd_);
        wakeFd_ = -1;
    }
}

size_t EmulatorServer::sessions() const {
    std::lock_guard lock(mutex_);
    return sessions_.size();
}

}  // namespace orvane::sim
