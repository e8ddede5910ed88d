// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyboard/keyboard_device.h"

#include "device/protocol/commands.h"
#include "device/transfer_bracket.h"

namespace orvane::keyboard {

using namespace protocol;
using device::AbandonTransfer;

void BuildPositionMap(const NativeKeyTable& native, size_t keyCount, PositionMap& map) {
    const size_t keys = keyCount < kMaxKeyCount ? keyCount : kMaxKeyCount;
    for (size_t p = 0; p < kKeyPositionCount; ++p) {
        const KeyPosition& position = kKeyPositions[p];
        const KeyCode wanted{position.type, position.modifiers, position.usage};
        for (size_t i = 0; i < keys; ++i) {
            if (native.code(i) == wanted) {
                map[p] = static_cast<int32_t>(i);
                break;
            }
        }
    }
}

KeyboardReadBack ReadBackKeyboard(DeviceConnection& c, KeyboardModel& model) {
    KeyboardReadBack out;
    KeyboardInfo info;
    ShareHold hold(c);  // the whole read-back, against other programs
    if (!hold.held()) {
        out.result = hold.result();
        return out;
    }
    if ((out.result = BeginTransfer(c)) != kOk) {
        out.result = AbandonTransfer(c, out.result);
        return out;
    }
    if ((out.result = ReadDeviceInfo(c, info.bytes)) != kOk) {
        out.result = AbandonTransfer(c, out.result);
        return out;
    }
    if (info.reportedKeyCount() > kMaxKeyCount) {
        // Its keys do not fit a 512-byte table: the record is not taken over either, so
        // nothing ever loops over more keys than the tables hold.
        EndTransfer(c);
        out.tooManyKeys = true;
        return out;
    }

    const size_t keys = info.keyCount();
    const uint16_t previousBlockLength = c.blockLength;
    c.blockLength = static_cast<uint16_t>(keys * 3);
    NativeKeyTable native;  // zero beyond the keys
    KeyTable bank0;
    out.result = ReadNativeBlock(c, native.bytes);
    if (out.result == kOk) out.result = ReadBank(c, 0, bank0.bytes);
    if (out.result != kOk) {
        c.blockLength = previousBlockLength;  // the tables still belong to the old length
        out.result = AbandonTransfer(c, out.result);
        return out;
    }

    model.update([&](KeyboardData& d) {
        d.info = info;
        d.nativeKeys = native;
        d.banks[0] = bank0;
        d.lighting = d.lightingSlots[0].record();
        d.lighting.setSlot(0);
    });
    EndTransfer(c);
    model.update([&](KeyboardData& d) { BuildPositionMap(d.nativeKeys, d.info.keyCount(), d.positionMap); });
    return out;
}

}  // namespace orvane::keyboard
