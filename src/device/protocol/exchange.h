#pragma once
// The one place where a request goes out and its reply comes back.

#include <cstddef>
#include <cstdint>

#include "device/protocol/connection.h"
#include "device/protocol/report.h"
#include "device/protocol/result.h"

namespace orvane::protocol {

inline constexpr int kExchangeAttempts = 4;
inline constexpr int kReplyTimeoutMs = 300;

/// One request/reply pair with up to four attempts, the lock held for each attempt.
/// Returns kOk (reply read), kNoReply (not connected, or four silent reads) or kWriteFailed
/// (a write did not complete; no further attempt). The reply status is left to the caller.
int32_t Exchange(DeviceConnection& c, const Report& request, Report& reply, size_t* bytesRead = nullptr);

/// One attempt without status check; true when a reply was read. The write's own result is
/// not looked at.
bool ExchangeOnce(DeviceConnection& c, const Report& request, Report* reply = nullptr);

/// kOk, or kRefusedFF / kRefusedFE from the reply status.
int32_t JudgeStatus(const Report& reply);

}  // namespace orvane::protocol
