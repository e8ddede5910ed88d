// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one place where a request goes out and its reply comes back.

#include <cstddef>
#include <cstdint>

#include "device/protocol/connection.h"
#include "device/protocol/report.h"
#include "device/protocol/result.h"

namespace orvane::protocol {

inline constexpr int kExchangeAttempts = 4;
inline constexpr int kReplyTimeoutMs = DeviceConnection::kDefaultReplyTimeoutMs;

/// One request/reply pair with up to four attempts, the lock held for each attempt.
/// Returns kOk (reply read), kNoReply (not connected, or four silent reads), kWriteFailed
/// (a write did not complete; no further attempt), or kDeviceBusy / kLockUnavailable (no
/// hold on the device against other processes; nothing sent). The reply status is left to
/// the caller.
///
/// Replies carry nothing that names their request, so they are matched by order: before
/// each request every input report already waiting is dropped (a reply that came after its
/// read gave up), and after an exchange that got no reply at all the next one first waits
/// one reply time-out for that reply and drops it. A reply can then only be taken for the
/// request it answers, unless it comes later than five time-outs. Each attempt holds the
/// device against other processes (ShareHold) from the drain to its reply, so another
/// program's replies, which reach our handle too, are drained and never read as ours.
int32_t Exchange(DeviceConnection& c, const Report& request, Report& reply, size_t* bytesRead = nullptr);

/// One attempt without status check; true when a reply was read. The write's own result is
/// not looked at.
bool ExchangeOnce(DeviceConnection& c, const Report& request, Report* reply = nullptr);

/// kOk, or kRefusedFF / kRefusedFE from the reply status.
int32_t JudgeStatus(const Report& reply);

}  // namespace orvane::protocol
