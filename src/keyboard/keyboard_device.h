// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading the keyboard back, and the map from the page's key positions to device keys.

#include <cstdint>

#include "device/protocol/connection.h"
#include "device/protocol/result.h"
#include "keyboard/keyboard_model.h"

namespace orvane::keyboard {

struct KeyboardReadBack {
    int32_t result = 0;      ///< kOk, or the result of the first command that failed
    /// The keyboard reported more than 170 keys: nothing was read past the information
    /// record, the tables are unchanged, and the caller shows kTooManyKeysMessage once.
    bool tooManyKeys = false;
    bool ok() const { return result == protocol::kOk && !tooManyKeys; }
};

/// The read-back after the keyboard is found: information record, the connection's block
/// length (3 x key count), the built-in key table and bank 0; the lighting record becomes
/// slot 0's; then the position map is rebuilt. A failed command leaves every table (and the
/// block length) as it was. When ok() the caller saves the selected key profile.
KeyboardReadBack ReadBackKeyboard(protocol::DeviceConnection& c, KeyboardModel& model);

/// For every position in order, the first device key (0 .. keyCount-1) whose built-in code
/// equals the position's {type, modifier bits, usage}. Positions without such a key keep
/// what they held (kNoDeviceKey from the start).
void BuildPositionMap(const NativeKeyTable& native, size_t keyCount, PositionMap& map);

}  // namespace orvane::keyboard
