// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// FolderLock: an advisory lock on a folder shared by several processes (the program and
// orvanectl on one data folder), held around each read-modify-write of the files in it.
// It is a flock() on the hidden file ".orvane.lock" in the folder; the system drops it when
// the holder exits, however it exits. Within a process, one FolderLock object per folder:
// two objects on the same folder exclude each other as two processes would.

#include <chrono>
#include <filesystem>

namespace orvane::platform {

inline constexpr char kFolderLockName[] = ".orvane.lock";
/// How long a writer waits for another that holds the lock (holders keep it for one
/// operation, milliseconds).
inline constexpr std::chrono::milliseconds kFolderLockWait{5000};

class FolderLock {
public:
    enum class State {
        Released,
        Held,
        Busy,         ///< another holder kept it past the wait
        Unavailable,  ///< no lock file can be made or opened (a read-only folder, or none)
    };

    explicit FolderLock(std::filesystem::path folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    /// Waits up to `wait` for the lock. Held, Busy or Unavailable.
    State acquire(std::chrono::milliseconds wait = kFolderLockWait);
    void release();
    State state() const { return state_; }

private:
    std::filesystem::path folder_;
    int fd_ = -1;
    State state_ = State::Released;
};

}  // namespace orvane::platform
