// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command set shared by every Orvane device. Each operation builds its requests, runs
// them through Exchange, judges the reply status and copies reply data out.
// Results: see result.h. While the connection is not connected every command returns 0
// without I/O.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "device/protocol/connection.h"
#include "device/protocol/report.h"
#include "device/protocol/result.h"

namespace orvane::protocol {

enum Command : uint8_t {
    kBeginTransfer = 1,
    kEndTransfer = 2,
    kReadDeviceInfo = 3,
    kReadMemory = 5,
    kWriteMemory = 6,
    kReadNativeBlock = 7,
    kReadBank = 8,
    kWriteBank = 9,
    kFactoryReset = 13,
    kWriteLightingFrame = 18,
    kWriteMacroBlob = 21,
    kReadCursorBlob = 22,
    kWriteCursorBlob = 23,
};

inline constexpr size_t kDeviceInfoSize = 31;
inline constexpr size_t kBankCount = 5;
inline constexpr uint16_t kBankStride = 126;
inline constexpr int kEndTransferDelayMs = DeviceConnection::kDefaultEndTransferDelayMs;

using DeviceInfoBytes = std::array<uint8_t, kDeviceInfoSize>;

int32_t BeginTransfer(DeviceConnection& c);
/// Waits 10 ms (the connection's endTransferDelayMs), then closes a multi-report sequence.
int32_t EndTransfer(DeviceConnection& c);
/// The 31-byte information record; `out` is untouched unless the command succeeds.
int32_t ReadDeviceInfo(DeviceConnection& c, DeviceInfoBytes& out);
/// out.size() bytes (1-56) of settings memory at offset.
int32_t ReadMemory(DeviceConnection& c, uint16_t offset, std::span<uint8_t> out);
/// data.size() bytes (1-56) at offset 0. Clears the sync-lighting flag first.
int32_t WriteMemory(DeviceConnection& c, std::span<const uint8_t> data);
/// The device's built-in key table: blockLength bytes into out (out must hold them).
int32_t ReadNativeBlock(DeviceConnection& c, std::span<uint8_t> out);
/// blockLength bytes of key memory from bank * 126. Bank above 4: -201, nothing sent.
int32_t ReadBank(DeviceConnection& c, unsigned bank, std::span<uint8_t> out);
int32_t WriteBank(DeviceConnection& c, unsigned bank, std::span<const uint8_t> data);
/// The bare restore-defaults report (no checksum), sent once; the reply is not examined.
/// Returns kOk when a reply was read.
int32_t FactoryReset(DeviceConnection& c);
int32_t WriteLightingFrame(DeviceConnection& c, std::span<const uint8_t> frame);
/// `accepted` (when given) receives the number of bytes whose chunks the device took.
int32_t WriteMacroBlob(DeviceConnection& c, std::span<const uint8_t> blob, size_t* accepted = nullptr);
int32_t ReadCursorBlob(DeviceConnection& c, std::span<uint8_t> out);
int32_t WriteCursorBlob(DeviceConnection& c, std::span<const uint8_t> blob, size_t* accepted = nullptr);

/// The single-report request of a command with no data (commands 1, 2, 3 and the like),
/// checksum included. Exposed for tests and for code that builds reports itself.
Report BuildSimpleRequest(uint8_t command, uint8_t length, uint16_t offset);

/// The chunked transfer all block commands share. For a write `source` holds n bytes; for a
/// read `target` receives them. Chunks of 56 bytes at base + k; the request buffer is cleared
/// once and reused, so a short last chunk carries the previous chunk's tail bytes, which the
/// checksum covers as sent. Stops at the first failure or refusal; `accepted` (when given)
/// receives the number of bytes whose chunks were answered kOk.
int32_t ChunkedTransfer(DeviceConnection& c, uint8_t command, uint16_t base, size_t n,
                        const uint8_t* source, uint8_t* target, size_t* accepted = nullptr);

}  // namespace orvane::protocol
