// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// FolderLock: an advisory lock on a folder shared by several processes (the program and
// orvanectl on one data folder), held around each read-modify-write of the files in it.
// It is a flock() on the hidden file ".orvane.lock" in the folder; the system drops it when
// the holder exits, however it exits. Within a process, one FolderLock object per folder:
// two objects on the same folder exclude each other as two processes would.

#include <chrono>
#include <filesystem>
#include <mutex>

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

/// SharedFolderLock: a folder's lock as the stores of one process share it (the profile
/// store and the macro store on the data folder): one recursive mutex between the threads,
/// and the FolderLock between processes, taken by the outermost holder only. Every store of
/// the folder holds the same object, so a store operation that calls into another store
/// neither waits for itself nor takes two locks in a different order. A holder waiting for
/// another process does not keep the mutex meanwhile: readers that take the mutex alone
/// (files are replaced atomically, so each read sees a whole file) never wait for another
/// process, which is what keeps the window's thread from stalling on a busy folder.
class SharedFolderLock {
public:
    explicit SharedFolderLock(std::filesystem::path folder);
    SharedFolderLock(const SharedFolderLock&) = delete;
    SharedFolderLock& operator=(const SharedFolderLock&) = delete;

    class Hold {
    public:
        explicit Hold(const SharedFolderLock& lock);
        ~Hold();
        Hold(Hold&& other) noexcept : lock_(other.lock_) { other.lock_ = nullptr; }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
        Hold& operator=(Hold&&) = delete;
        /// Another process kept the folder past the wait: nothing may be written.
        bool busy() const { return lock_ && lock_->state_ == FolderLock::State::Busy; }

    private:
        const SharedFolderLock* lock_;
    };

    Hold hold() const { return Hold(*this); }
    /// The threads' part alone (for state that other processes never see).
    std::recursive_mutex& mutex() const { return mutex_; }
    /// What the outermost holder found; meaningful while held.
    FolderLock::State state() const { return state_; }

private:
    mutable std::recursive_mutex mutex_;
    mutable int depth_ = 0;
    mutable FolderLock folderLock_;
    mutable FolderLock::State state_ = FolderLock::State::Released;
};

}  // namespace orvane::platform
