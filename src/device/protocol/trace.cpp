// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/protocol/trace.h"

#include <fstream>

#include "device/hex.h"

namespace orvane::protocol {

ReportTrace::ReportTrace(Sink sink) : sink_(std::move(sink)), start_(std::chrono::steady_clock::now()) {}

std::unique_ptr<ReportTrace> ReportTrace::ToFile(const std::string& path) {
    auto file = std::make_shared<std::ofstream>(path, std::ios::out | std::ios::trunc);
    if (!*file) return nullptr;
    return std::make_unique<ReportTrace>([file](std::string_view line) {
        *file << line << '\n';
        file->flush();
    });
}

std::string ReportTrace::FormatLine(int64_t micros, std::string_view device, char direction,
                                    std::span<const uint8_t> bytes) {
    std::string line = std::to_string(micros);
    line.reserve(line.size() + device.size() + 4 + bytes.size() * 2);
    line += ' ';
    line += device;
    line += ' ';
    line += direction;
    line += ' ';
    device::AppendHex(line, bytes);
    return line;
}

void ReportTrace::record(std::string_view device, char direction, std::span<const uint8_t> bytes) {
    const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(
                            std::chrono::steady_clock::now() - start_)
                            .count();
    std::string line = FormatLine(micros, device, direction, bytes);
    std::lock_guard lock(mutex_);
    sink_(line);
}

}  // namespace orvane::protocol
