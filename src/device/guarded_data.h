// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Records shared between the window thread, the presence monitors and the lighting workers:
// reached only through a copy (snapshot), a read of one part, or an update, each under the
// holder's own lock. Reports are never sent while that lock is held.

#include <mutex>
#include <utility>

namespace orvane::device {

template <class Data>
class GuardedData {
public:
    Data snapshot() const {
        std::lock_guard lock(mutex_);
        return data_;
    }
    /// fn(const Data&) under the lock; returns what fn returns.
    template <class Fn>
    auto read(Fn&& fn) const {
        std::lock_guard lock(mutex_);
        return std::forward<Fn>(fn)(std::as_const(data_));
    }
    /// fn(Data&) under the lock. fn must not send reports.
    template <class Fn>
    void update(Fn&& fn) {
        std::lock_guard lock(mutex_);
        std::forward<Fn>(fn)(data_);
    }

private:
    mutable std::mutex mutex_;
    Data data_;
};

}  // namespace orvane::device
