// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/protocol/share_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <thread>

#include "platform/runtime_folder.h"

namespace orvane::protocol {

namespace {

SharingSafeguards FromEnvironment() {
    SharingSafeguards s;
    if (const char* v = std::getenv("ORVANE_TEST_SHARING")) {
        const std::string_view text(v);
        s.lock = text.find("nolock") == std::string_view::npos;
        s.drain = text.find("nodrain") == std::string_view::npos;
    }
    return s;
}

std::atomic<bool>& LockOn() {
    static std::atomic<bool> on{FromEnvironment().lock};
    return on;
}

std::atomic<bool>& DrainOn() {
    static std::atomic<bool> on{FromEnvironment().drain};
    return on;
}

/// The process id a holder wrote; 0 when the file holds none.
int ReadHolder(int fd) {
    char text[16] = {};
    const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
    if (n <= 0) return 0;
    char* end = nullptr;
    const long pid = std::strtol(text, &end, 10);
    return pid > 0 && pid < (1L << 22) ? int(pid) : 0;
}

/// One write of a fixed width, so a shorter pid never leaves a longer one's digits behind.
void WriteHolder(int fd) {
    char text[16];
    const int n = std::snprintf(text, sizeof text, "%10d\n", int(::getpid()));
    [[maybe_unused]] ssize_t written = ::pwrite(fd, text, size_t(n), 0);
}

}  // namespace

SharingSafeguards Safeguards() { return {LockOn().load(), DrainOn().load()}; }

void SetSafeguardsForTesting(SharingSafeguards safeguards) {
    LockOn() = safeguards.lock;
    DrainOn() = safeguards.drain;
}

DeviceShareLock::DeviceShareLock(std::string shareId) : shareId_(std::move(shareId)) {}

DeviceShareLock::~DeviceShareLock() {
    if (fd_ >= 0) ::close(fd_);  // closing drops a flock still held
    if (gateFd_ >= 0) ::close(gateFd_);
}

bool DeviceShareLock::openFile(std::string& problem) {
    if (fd_ >= 0) return true;
    const platform::RuntimeFolder folder = platform::PrivateRuntimeFolder();
    if (!folder.ok()) {
        problem = folder.problem;
        return false;
    }
    file_ = folder.path / (platform::FileNameOf(shareId_) + ".lock");
    const auto gate = folder.path / (platform::FileNameOf(shareId_) + ".gate");
    fd_ = ::open(file_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    gateFd_ = fd_ < 0 ? -1 : ::open(gate.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (fd_ < 0 || gateFd_ < 0) {
        problem = "cannot open the device's lock file " + (fd_ < 0 ? file_ : gate).string() + ": " + std::strerror(errno);
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
        return false;
    }
    return true;
}

namespace {

enum class Take { Taken, TimedOut, Failed };

/// flock(LOCK_EX) on fd, tried in short steps until the deadline.
Take TakeBefore(int fd, std::chrono::steady_clock::time_point deadline) {
    auto pause = std::chrono::microseconds(100);
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return Take::Taken;
        if (errno == EINTR) continue;
        if (errno != EWOULDBLOCK) return Take::Failed;
        if (std::chrono::steady_clock::now() >= deadline) return Take::TimedOut;
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::microseconds(1000));
    }
}

}  // namespace

DeviceShareLock::State DeviceShareLock::acquire(std::chrono::milliseconds wait, int& holderPid, std::string& problem) {
    holderPid = 0;
    std::lock_guard guard(mutex_);
    if (depth_ > 0) {
        ++depth_;
        return State::Held;
    }
    if (!openFile(problem)) return State::Unavailable;
    // Through the gate: a waiter keeps it while it waits for the lock, so a holder that
    // lets go and asks again at once (a program streaming frames back to back) waits its
    // turn instead of taking the lock again before the waiter wakes.
    const auto deadline = std::chrono::steady_clock::now() + wait;
    Take gate = TakeBefore(gateFd_, deadline);
    Take lock = gate == Take::Taken ? TakeBefore(fd_, deadline) : gate;
    if (gate == Take::Taken) ::flock(gateFd_, LOCK_UN);
    if (lock == Take::Failed) {
        problem = "cannot lock " + file_.string() + ": " + std::strerror(errno);
        return State::Unavailable;
    }
    if (lock == Take::TimedOut) {
        holderPid = ReadHolder(fd_);
        return State::Busy;
    }
    WriteHolder(fd_);
    depth_ = 1;
    return State::Held;
}

void DeviceShareLock::release() {
    std::lock_guard guard(mutex_);
    if (depth_ == 0) return;
    if (--depth_ == 0) ::flock(fd_, LOCK_UN);
}

int DeviceShareLock::depth() const {
    std::lock_guard guard(mutex_);
    return depth_;
}

}  // namespace orvane::protocol
