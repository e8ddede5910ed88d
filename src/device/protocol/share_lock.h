// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lock that keeps two processes from talking to one device at once.
//
// hidraw hands every input report to every open handle of a node, and a reply carries
// nothing that names its request: while another program exchanges with the same device,
// its replies arrive in our queue too. So each exchange (its request, the drain before it
// and its reply) and each multi-report transfer holds an advisory lock, a flock on
// "<run-time folder>/<device's share id>.lock", and drains what is waiting before it sends.
// The holder writes its process id into the file, so a waiter that gives up can say who
// holds the device. flock goes with its holder however it ends. Waiters queue at a second
// file, "<share id>.gate", so a program that streams frames back to back cannot keep the
// device from a waiting one.
//
// Within a process, one DeviceShareLock per connection: its holds nest (a transfer and its
// exchanges, on one thread or several threads of the connection) and only the outermost
// takes the flock. Two objects on one file exclude each other as two processes would.

#include <chrono>
#include <filesystem>
#include <mutex>
#include <string>

namespace orvane::protocol {

/// How long an exchange waits for another program's hold before it gives up. Holders keep
/// it for one exchange or one transfer (a macro image: about a second).
inline constexpr std::chrono::milliseconds kShareLockWait{3000};

class DeviceShareLock {
public:
    enum class State { Held, Busy, Unavailable };

    /// shareId names the device (see hid::InterfaceInfo::shareId).
    explicit DeviceShareLock(std::string shareId);
    ~DeviceShareLock();
    DeviceShareLock(const DeviceShareLock&) = delete;
    DeviceShareLock& operator=(const DeviceShareLock&) = delete;

    const std::string& shareId() const { return shareId_; }

    /// One more hold; the first waits up to `wait` for the flock. Busy: another process kept
    /// it (holderPid: the id it wrote, 0 when unknown); Unavailable: no lock file (problem).
    State acquire(std::chrono::milliseconds wait, int& holderPid, std::string& problem);
    /// Ends one hold of acquire() == Held.
    void release();
    int depth() const;

private:
    bool openFile(std::string& problem);

    const std::string shareId_;
    mutable std::mutex mutex_;  // held while the first hold waits: later holders of this object wait with it
    int depth_ = 0;
    int fd_ = -1;
    int gateFd_ = -1;  // "<share id>.gate": held by whoever waits for the lock, in turn
    std::filesystem::path file_;
};

/// The safeguards for two processes on one device: the lock and the drain before each
/// request. Both are on; tests that show the fault they prevent switch one off, in a test
/// process or, through ORVANE_TEST_SHARING=nolock|nodrain, in a child process.
struct SharingSafeguards {
    bool lock = true;
    bool drain = true;
};
SharingSafeguards Safeguards();
void SetSafeguardsForTesting(SharingSafeguards safeguards);

}  // namespace orvane::protocol
