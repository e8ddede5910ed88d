// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/protocol/commands.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "device/protocol/exchange.h"
#include "device/protocol/write_meter.h"

namespace orvane::protocol {

namespace {

int32_t SendSimple(DeviceConnection& c, const Report& request, Report& reply) {
    const int32_t r = Exchange(c, request, reply);
    return r == kOk ? JudgeStatus(reply) : r;
}

int32_t SendSimple(DeviceConnection& c, uint8_t command) {
    Report reply{};
    return SendSimple(c, BuildSimpleRequest(command, 0, 0), reply);
}

}  // namespace

Report BuildSimpleRequest(uint8_t command, uint8_t length, uint16_t offset) {
    Report r = MakeRequest(command, length, offset);
    StoreChecksum(r);
    return r;
}

int32_t ChunkedTransfer(DeviceConnection& c, uint8_t command, uint16_t base, size_t n,
                        const uint8_t* source, uint8_t* target, size_t* accepted) {
    if (accepted) *accepted = 0;
    if (n == 0) return kOk;
    if (!c.connected) return kNoReply;
    ShareHold hold(c);  // no other program's reports between the chunks
    if (!hold.held()) return hold.result();
    Report request{};  // cleared once per transfer, then reused chunk after chunk
    Report reply{};
    for (size_t k = 0; k < n; k += kChunkSize) {
        const size_t length = std::min(kChunkSize, n - k);
        PrepareChunk(request, command, length, static_cast<uint16_t>(base + k), source ? source + k : nullptr);
        int32_t r = Exchange(c, request, reply);
        if (r == kOk) r = JudgeStatus(reply);
        if (r != kOk) return r;
        if (target) std::memcpy(target + k, &reply[off::data], length);
        if (source) WriteMeter::Count(length);
        if (accepted) *accepted = k + length;
    }
    return kOk;
}

int32_t BeginTransfer(DeviceConnection& c) { return SendSimple(c, kBeginTransfer); }

int32_t EndTransfer(DeviceConnection& c) {
    if (!c.connected) return kNoReply;
    std::this_thread::sleep_for(std::chrono::milliseconds(c.endTransferDelayMs.load()));
    return SendSimple(c, kEndTransfer);
}

int32_t ReadDeviceInfo(DeviceConnection& c, DeviceInfoBytes& out) {
    Report reply{};
    const int32_t r = SendSimple(c, BuildSimpleRequest(kReadDeviceInfo, kDeviceInfoSize, 0), reply);
    if (r == kOk) std::memcpy(out.data(), &reply[off::data], kDeviceInfoSize);
    return r;
}

int32_t ReadMemory(DeviceConnection& c, uint16_t offset, std::span<uint8_t> out) {
    const size_t length = std::min(out.size(), kChunkSize);
    Report reply{};
    const int32_t r = SendSimple(
        c, BuildSimpleRequest(kReadMemory, static_cast<uint8_t>(length), offset), reply);
    if (r == kOk) std::memcpy(out.data(), &reply[off::data], length);
    return r;
}

int32_t WriteMemory(DeviceConnection& c, std::span<const uint8_t> data) {
    c.syncLighting = false;
    const size_t length = std::min(data.size(), kChunkSize);
    Report request = MakeRequest(kWriteMemory, static_cast<uint8_t>(length), 0);
    std::memcpy(&request[off::data], data.data(), length);
    StoreChecksum(request);
    Report reply{};
    return SendSimple(c, request, reply);
}

int32_t ReadNativeBlock(DeviceConnection& c, std::span<uint8_t> out) {
    const size_t n = std::min<size_t>(c.blockLength, out.size());
    return ChunkedTransfer(c, kReadNativeBlock, 0, n, nullptr, out.data());
}

int32_t ReadBank(DeviceConnection& c, unsigned bank, std::span<uint8_t> out) {
    if (bank >= kBankCount) return kBankOutOfRange;
    const size_t n = std::min<size_t>(c.blockLength, out.size());
    return ChunkedTransfer(c, kReadBank, static_cast<uint16_t>(bank * kBankStride), n, nullptr, out.data());
}

int32_t WriteBank(DeviceConnection& c, unsigned bank, std::span<const uint8_t> data) {
    if (bank >= kBankCount) return kBankOutOfRange;
    const size_t n = std::min<size_t>(c.blockLength, data.size());
    return ChunkedTransfer(c, kWriteBank, static_cast<uint16_t>(bank * kBankStride), n, data.data(), nullptr);
}

int32_t FactoryReset(DeviceConnection& c) {
    Report request{};
    request[off::reportId] = kReportId;
    request[off::command] = kFactoryReset;  // bytes 1-2 stay 0: this report carries no checksum
    return ExchangeOnce(c, request) ? kOk : kNoReply;
}

int32_t WriteLightingFrame(DeviceConnection& c, std::span<const uint8_t> frame) {
    return ChunkedTransfer(c, kWriteLightingFrame, 0, frame.size(), frame.data(), nullptr);
}

int32_t WriteMacroBlob(DeviceConnection& c, std::span<const uint8_t> blob, size_t* accepted) {
    return ChunkedTransfer(c, kWriteMacroBlob, 0, blob.size(), blob.data(), nullptr, accepted);
}

int32_t ReadCursorBlob(DeviceConnection& c, std::span<uint8_t> out) {
    return ChunkedTransfer(c, kReadCursorBlob, 0, out.size(), nullptr, out.data());
}

int32_t WriteCursorBlob(DeviceConnection& c, std::span<const uint8_t> blob, size_t* accepted) {
    return ChunkedTransfer(c, kWriteCursorBlob, 0, blob.size(), blob.data(), nullptr, accepted);
}

}  // namespace orvane::protocol
