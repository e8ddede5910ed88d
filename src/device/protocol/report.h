// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The 64-byte report every Orvane device speaks on its configuration interface, both ways.
//
//   0     report id (4)
//   1-2   checksum, little-endian: low 16 bits of the sum of bytes 3-63 as sent
//   3     command
//   4     data length in this report (0-56)
//   5-6   offset of this report's data in the transferred region, little-endian
//   7     status: 0 in requests; 0xFF / 0xFE in a reply mean the device refused
//   8-63  data

#include <array>
#include <cstdint>
#include <span>

namespace orvane::protocol {

inline constexpr size_t kReportSize = 64;
inline constexpr uint8_t kReportId = 4;
inline constexpr size_t kChunkSize = 56;

namespace off {
inline constexpr size_t reportId = 0;
inline constexpr size_t checksum = 1;
inline constexpr size_t command = 3;
inline constexpr size_t length = 4;
inline constexpr size_t offset = 5;
inline constexpr size_t status = 7;
inline constexpr size_t data = 8;
}  // namespace off

inline constexpr uint8_t kStatusRefusedFF = 0xFF;
inline constexpr uint8_t kStatusRefusedFE = 0xFE;

using Report = std::array<uint8_t, kReportSize>;
static_assert(sizeof(Report) == kReportSize);
static_assert(off::data + kChunkSize == kReportSize);

/// Low 16 bits of the sum of bytes 3-63.
constexpr uint16_t ComputeChecksum(const Report& r) {
    uint32_t sum = 0;
    for (size_t i = off::command; i < kReportSize; ++i) sum += r[i];
    return static_cast<uint16_t>(sum & 0xFFFF);
}

constexpr void StoreChecksum(Report& r) {
    const uint16_t c = ComputeChecksum(r);
    r[off::checksum] = static_cast<uint8_t>(c & 0xFF);
    r[off::checksum + 1] = static_cast<uint8_t>(c >> 8);
}

constexpr uint16_t ReadLe16(const Report& r, size_t at) {
    return static_cast<uint16_t>(r[at] | (r[at + 1] << 8));
}

constexpr void WriteLe16(Report& r, size_t at, uint16_t v) {
    r[at] = static_cast<uint8_t>(v & 0xFF);
    r[at + 1] = static_cast<uint8_t>(v >> 8);
}

/// A request with the header filled in; data bytes are left to the caller. No checksum yet.
constexpr Report MakeRequest(uint8_t command, uint8_t length, uint16_t offset) {
    Report r{};
    r[off::reportId] = kReportId;
    r[off::command] = command;
    r[off::length] = length;
    WriteLe16(r, off::offset, offset);
    return r;
}

/// One chunk of a block transfer in a request buffer that is reused chunk after chunk: the
/// header is rewritten and `length` data bytes copied in (none when data is null), while the
/// bytes past `length` keep what the previous chunk left; the checksum covers them as sent.
inline void PrepareChunk(Report& r, uint8_t command, size_t length, uint16_t offset, const uint8_t* data) {
    r[off::reportId] = kReportId;
    r[off::command] = command;
    r[off::length] = static_cast<uint8_t>(length);
    WriteLe16(r, off::offset, offset);
    r[off::status] = 0;
    for (size_t i = 0; data && i < length; ++i) r[off::data + i] = data[i];
    StoreChecksum(r);
}

}  // namespace orvane::protocol
