// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A trace of every report in both directions, one line per report:
//   <microseconds> <kb|ms|mp> <w|r> <64 bytes as 128 lower-case hex digits>
// Works for emulated and real devices alike; the time is counted from the trace's creation.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace orvane::protocol {

class ReportTrace {
public:
    using Sink = std::function<void(std::string_view line)>;

    explicit ReportTrace(Sink sink);
    /// A trace written to a file; nullptr when the file cannot be created.
    static std::unique_ptr<ReportTrace> ToFile(const std::string& path);

    void record(std::string_view device, char direction, std::span<const uint8_t> bytes);

    /// The line for one report, without the newline.
    static std::string FormatLine(int64_t micros, std::string_view device, char direction,
                                  std::span<const uint8_t> bytes);

private:
    Sink sink_;
    std::mutex mutex_;
    std::chrono::steady_clock::time_point start_;
};

}  // namespace orvane::protocol
