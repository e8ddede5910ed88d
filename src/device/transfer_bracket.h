// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The BeginTransfer ... EndTransfer bracket of a multi-report read-back, for sequences that
// stop at the first failed step. A device that refused a step is still answering, so the
// bracket is closed; a device that did not answer (or a failed write: unplugged) is not
// kept waiting on another four silent attempts, nor is one another program holds (busy).
// The whole sequence holds the device against other processes (protocol::ShareHold), so
// no other program's BeginTransfer or EndTransfer comes between ours.

#include <cstdint>

#include "device/protocol/commands.h"

namespace orvane::device {

/// Ends a sequence after a failed step and passes the step's result on.
inline int32_t AbandonTransfer(protocol::DeviceConnection& c, int32_t failed) {
    if (failed != protocol::kNoReply && failed != protocol::kWriteFailed && failed != protocol::kDeviceBusy &&
        failed != protocol::kLockUnavailable)
        protocol::EndTransfer(c);
    return failed;
}

}  // namespace orvane::device
