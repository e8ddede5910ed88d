// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Result codes of every device command.

#include <cstdint>

namespace orvane::protocol {

enum Result : int32_t {
    kOk = 1,
    kNoReply = 0,           ///< not connected, or no reply after all attempts
    kWriteFailed = -1,
    kRefusedFF = -102,      ///< reply status 0xFF
    kRefusedFE = -103,      ///< reply status 0xFE
    kBankOutOfRange = -201, ///< bank index above 4; nothing sent
};

const char* ResultText(int32_t result);

}  // namespace orvane::protocol
