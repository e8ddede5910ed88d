// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// EmulatorServer: serves an emulator's devices on a local socket, so that other processes
// (orvanectl --simulate-shared, test rigs) reach the same emulated devices as the process
// that emulates them (orvane --simulate --share). Each client connection that opens an
// interface gets a handle of its own on the emulator, which, like a hidraw node, receives
// every report the device sends: two processes see each other's replies, as they would on
// a real device. Messages: sim/shared_wire.h.
//
// Clients are not trusted: a broken stream, an unfinished message older than
// partialTimeout, a client that does not read what it is sent, or one past kMaxSessions
// is closed; the emulator and the other clients carry on.

#include <atomic>
#include <chrono>
#include <filesystem>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace orvane::sim {

class EmulatorBackend;

class EmulatorServer {
public:
    static constexpr size_t kMaxSessions = 32;
    static constexpr char kSocketName[] = "simulator.sock";

    explicit EmulatorServer(EmulatorBackend& emulator);
    ~EmulatorServer();
    EmulatorServer(const EmulatorServer&) = delete;
    EmulatorServer& operator=(const EmulatorServer&) = delete;

    /// The run-time folder's simulator.sock; empty (and problem set) when the folder is refused.
    static std::filesystem::path DefaultSocket(std::string& problem);

    /// Listens on socketPath (mode 0600). A socket file nobody listens on is replaced; one
    /// another emulator serves is refused. Gives the emulator's devices their share ids
    /// (EmulatorBackend::shareDevices). false with a one-line problem.
    bool start(const std::filesystem::path& socketPath, std::string& problem);
    /// Closes every connection and the socket; returns when the threads have ended.
    void stop();

    std::chrono::milliseconds partialTimeout{5000};
    std::chrono::milliseconds sendTimeout{2000};

    /// Connections open now, and closed because the client misbehaved.
    size_t sessions() const;
    size_t refused() const { return refused_.load(); }

    struct Session;  // defined in shared_server.cpp

private:
    void acceptLoop(std::stop_token stop);
    void reap(bool all);

    EmulatorBackend& emulator_;
    std::filesystem::path socketPath_;
    int listenFd_ = -1;
    int wakeFd_ = -1;
    std::jthread acceptThread_;
    mutable std::mutex mutex_;  // guards sessions_
    std::list<std::shared_ptr<Session>> sessions_;
    std::atomic<size_t> refused_{0};
};

}  // namespace orvane::sim
