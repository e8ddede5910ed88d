// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Result codes of every device command.

#include <cstdint>
#include <string>

namespace orvane::protocol {

enum Result : int32_t {
    kOk = 1,
    kNoReply = 0,           ///< not connected, or no reply after all attempts
    kWriteFailed = -1,
    kDeviceBusy = -2,       ///< another program kept the device past the wait; nothing sent
    kLockUnavailable = -3,  ///< the device's lock file cannot be used; nothing sent
    kRefusedFF = -102,      ///< reply status 0xFF
    kRefusedFE = -103,      ///< reply status 0xFE
    kBankOutOfRange = -201, ///< bank index above 4; nothing sent
};

/// One line for a result. For kDeviceBusy and kLockUnavailable it is the detail this thread
/// last noted for that result (who holds the device, which file failed and why), when any.
const char* ResultText(int32_t result);
void NoteResultDetail(int32_t result, std::string detail);

}  // namespace orvane::protocol
