// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "platform/platform_log.h"

namespace orvane::platform {

FolderLock::FolderLock(std::filesystem::path folder) : folder_(std::move(folder)) {}

FolderLock::~FolderLock() {
    release();
    if (fd_ >= 0) ::close(fd_);
}

FolderLock::State FolderLock::acquire(std::chrono::milliseconds wait) {
    if (state_ == State::Held) return state_;
    if (fd_ < 0) {
        std::error_code ec;
        std::filesystem::create_directories(folder_, ec);
        const auto file = folder_ / kFolderLockName;
        fd_ = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0666);
        // In a read-only folder an existing lock file still locks (flock needs no write access).
        if (fd_ < 0) fd_ = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd_ < 0) return state_ = State::Unavailable;
    }
    const auto deadline = std::chrono::steady_clock::now() + wait;
    auto pause = std::chrono::milliseconds(1);
    for (;;) {
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) return state_ = State::Held;
        if (errno == EINTR) continue;
        if (errno != EWOULDBLOCK) return state_ = State::Unavailable;  // e.g. no locks on this file system
        if (std::chrono::steady_clock::now() >= deadline) return state_ = State::Busy;
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(5));
    }
}

void FolderLock::release() {
    if (state_ == State::Held && fd_ >= 0) ::flock(fd_, LOCK_UN);
    state_ = State::Released;
}

SharedFolderLock::SharedFolderLock(std::filesystem::path folder) : folderLock_(std::move(folder)) {}

SharedFolderLock::Hold::Hold(const SharedFolderLock& lock) : lock_(&lock) {
    const auto deadline = std::chrono::steady_clock::now() + kFolderLockWait;
    auto pause = std::chrono::milliseconds(1);
    for (;;) {
        lock.mutex_.lock();
        // Only the thread of the outer hold can own the mutex while depth_ is above zero.
        if (lock.depth_ > 0) {
            ++lock.depth_;
            return;
        }
        lock.state_ = lock.folderLock_.acquire(std::chrono::milliseconds(0));
        if (lock.state_ != FolderLock::State::Busy) break;
        // Another process keeps the folder: wait without the mutex, so that this process's
        // readers (the window among them) are not held up by a writer that waits.
        lock.mutex_.unlock();
        if (std::chrono::steady_clock::now() >= deadline) {
            lock.mutex_.lock();
            lock.state_ = FolderLock::State::Busy;
            Log("the data folder is held by another program");
            break;
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(5));
    }
    lock.depth_ = 1;
}

SharedFolderLock::Hold::~Hold() {
    if (!lock_) return;
    if (--lock_->depth_ == 0) lock_->folderLock_.release();
    lock_->mutex_.unlock();
}

}  // namespace orvane::platform
