// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/protocol/exchange.h"

#include "device/log.h"
#include "device/protocol/trace.h"
#include "device/protocol/window_thread_guard.h"

namespace orvane::protocol {

namespace {

/// Drops what is waiting on the interface before a request: a late reply to an earlier
/// one. After an exchange that got no reply at all, its reply is given one more time-out.
void DropStaleInput(DeviceConnection& c) {
    if (!Safeguards().drain) return;
    size_t dropped = c.device.drainInput();
    if (c.replyOverdue.exchange(false)) {
        Report late{};
        size_t n = 0;
        if (c.device.readReport(late, c.replyTimeoutMs, n)) dropped += 1 + c.device.drainInput();
    }
    if (dropped) device::Log(c.tag() + ": dropped " + std::to_string(dropped) + " late repl" + (dropped == 1 ? "y" : "ies"));
}

// One write and one read under the lock. Returns kOk, kNoReply or kWriteFailed.
// The hold against other processes covers the drain, the request and its reply, so what
// waits after the drain can only be our own reply.
int32_t Attempt(DeviceConnection& c, const Report& request, Report& reply, size_t& bytesRead) {
    std::lock_guard guard(c.lock);
    ShareHold hold(c);
    if (!hold.held()) return hold.result();
    DropStaleInput(c);
    ReportTrace* trace = c.trace();
    if (trace) trace->record(c.tag(), 'w', request);
    size_t written = 0;
    if (!c.device.writeReport(request, written)) return kWriteFailed;
    if (!c.device.readReport(reply, c.replyTimeoutMs, bytesRead)) return kNoReply;
    if (trace) trace->record(c.tag(), 'r', reply);
    return kOk;
}

}  // namespace

int32_t Exchange(DeviceConnection& c, const Report& request, Report& reply, size_t* bytesRead) {
    size_t read = 0;
    if (bytesRead) *bytesRead = 0;
    if (!c.connected) return kNoReply;
    NoteExchangeThread(c.tag().c_str());
    for (int attempt = 0; attempt < kExchangeAttempts; ++attempt) {
        const int32_t r = Attempt(c, request, reply, read);
        if (r == kWriteFailed || r == kDeviceBusy || r == kLockUnavailable) return r;
        if (r == kOk) {
            if (bytesRead) *bytesRead = read;
            return kOk;
        }
    }
    c.replyOverdue = true;
    return kNoReply;
}

bool ExchangeOnce(DeviceConnection& c, const Report& request, Report* reply) {
    if (!c.connected) return false;
    NoteExchangeThread(c.tag().c_str());
    Report scratch{};
    size_t read = 0;
    std::lock_guard guard(c.lock);
    ShareHold hold(c);
    if (!hold.held()) return false;
    DropStaleInput(c);
    ReportTrace* trace = c.trace();
    if (trace) trace->record(c.tag(), 'w', request);
    size_t written = 0;
    (void)c.device.writeReport(request, written);
    Report& target = reply ? *reply : scratch;
    if (!c.device.readReport(target, c.replyTimeoutMs, read)) {
        c.replyOverdue = true;
        return false;
    }
    if (trace) trace->record(c.tag(), 'r', target);
    return true;
}

int32_t JudgeStatus(const Report& reply) {
    switch (reply[off::status]) {
    case kStatusRefusedFF: return kRefusedFF;
    case kStatusRefusedFE: return kRefusedFE;
    default: return kOk;
    }
}

namespace {
struct ResultDetail {
    int32_t result = kOk;
    std::string text;
};
thread_local ResultDetail lastDetail;
}  // namespace

void NoteResultDetail(int32_t result, std::string detail) { lastDetail = {result, std::move(detail)}; }

const char* ResultText(int32_t result) {
    if (result == lastDetail.result && !lastDetail.text.empty()) return lastDetail.text.c_str();
    switch (result) {
    case kOk: return "ok";
    case kNoReply: return "device not connected or not answering";
    case kWriteFailed: return "write to the device failed";
    case kDeviceBusy: return "the device is busy in another program";
    case kLockUnavailable: return "the device's lock file cannot be used";
    case kRefusedFF: return "device refused the request (status 0xff)";
    case kRefusedFE: return "device refused the request (status 0xfe)";
    case kBankOutOfRange: return "bank index out of range";
    default: return "unknown result";
    }
}

}  // namespace orvane::protocol
