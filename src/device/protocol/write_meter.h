// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How far a long write is, for the progress ring. The job that writes macro or cursor
// images and key banks plans the bytes it will write and holds a WriteMeter on its own
// thread for the length of the work; every chunk a device takes on that thread is counted.
// The meter is the thread's own, so the lighting frames other threads send meanwhile are
// never counted and nothing is shared.

#include <cstdint>
#include <functional>

namespace orvane::protocol {

class WriteMeter {
public:
    /// Told the percentage written (0-100) each time it grows, on the writing thread.
    using Report = std::function<void(int percent)>;

    /// Installs the meter on this thread (a meter already there is set aside until this
    /// one ends).
    explicit WriteMeter(Report report);
    ~WriteMeter();
    WriteMeter(const WriteMeter&) = delete;
    WriteMeter& operator=(const WriteMeter&) = delete;

    /// Bytes the work is going to write.
    void plan(uint64_t bytes) { planned_ += bytes; }
    /// A chunk the device took, counted by the meter of the calling thread (if any).
    static void Count(uint64_t bytes);

private:
    void add(uint64_t bytes);

    Report report_;
    uint64_t planned_ = 0;
    uint64_t written_ = 0;
    int shown_ = 0;  ///< the last percentage reported
    WriteMeter* outer_ = nullptr;
};

}  // namespace orvane::protocol
