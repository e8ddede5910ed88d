// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard read-back against the emulated keyboards: tables, block length, position
// map, the 170-key limit and a keyboard that stops answering.

#include <gtest/gtest.h>

#include "device/protocol/commands.h"
#include "integration/readback_rig.h"
#include "keyboard/keyboard_device.h"
#include "sim/firmware_keys.h"

namespace orvane {
namespace {

using device::DeviceModel;
using keyboard::KeyboardData;
using keyboard::KeyboardModel;
using sim::Fault;
using sim::FaultKind;
using testing::ReadBackRig;

using testing::Slice;

TEST(KeyboardReadBack, TablesBlockLengthAndPositions) {
    for (auto model : {DeviceModel::RgbKeyboard, DeviceModel::MonoKeyboard}) {
        ReadBackRig rig(model);
        KeyboardModel kb;
        kb.update([](KeyboardData& d) {
            d.lightingSlots[0].bytes[0] = 3;   // a slot byte from a ".led" file
            d.lightingSlots[0].bytes[1] = 7;   // mode
            d.lightingSlots[0].bytes[20] = 0x44;
        });
        const auto result = keyboard::ReadBackKeyboard(rig.connection, kb);
        ASSERT_TRUE(result.ok()) << result.result;

        const KeyboardData d = kb.snapshot();
        const size_t keys = keyboard::OccupiedKeyPositionCount();
        EXPECT_EQ(d.info.keyCount(), keys);
        EXPECT_EQ(rig.connection.blockLength, keys * 3);
        rig.firmware([&](sim::DeviceFirmware& fw) {
            EXPECT_EQ(Slice(d.info.bytes, 0, 31), Slice(fw.info(), 0, 31));
            EXPECT_EQ(Slice(d.nativeKeys.bytes, 0, keys * 3), Slice(fw.nativeTable(), 0, keys * 3));
            EXPECT_EQ(Slice(d.banks[0].bytes, 0, keys * 3), Slice(fw.keyMemory(), 0, keys * 3));
        });
        // Only the keys' bytes are read; the rest of each table is zero.
        EXPECT_EQ(Slice(d.nativeKeys.bytes, keys * 3, 512 - keys * 3), std::vector<uint8_t>(512 - keys * 3, 0));
        EXPECT_EQ(Slice(d.banks[0].bytes, keys * 3, 512 - keys * 3), std::vector<uint8_t>(512 - keys * 3, 0));
        EXPECT_EQ(d.lighting.slot(), 0);
        EXPECT_EQ(d.lighting.mode(), 7);
        EXPECT_EQ(d.lighting.at(20), 0x44);
        EXPECT_EQ(d.activeBank(), 0u);

        // Each position maps to the firmware key that produces its code; the firmware lists
        // its keys in its own scan order, not in the page's position order.
        for (size_t p = 0; p < keyboard::kKeyPositionCount; ++p) {
            const auto& position = keyboard::kKeyPositions[p];
            int32_t expected = keyboard::kNoDeviceKey;
            for (size_t k = 0; k < sim::kKeyboardFirmwareKeys.size(); ++k) {
                const auto& code = sim::kKeyboardFirmwareKeys[k];
                if (!position.empty() && code.type == position.type && code.b1 == position.modifiers &&
                    code.b2 == position.usage) {
                    expected = int32_t(k);
                    break;
                }
            }
            EXPECT_EQ(d.positionMap[p], expected) << p;
        }
        // A few by hand: Esc is the first key scanned, Print Screen (position 13) opens the
        // navigation cluster, Num Lock (position 38) the number pad.
        EXPECT_EQ(d.positionMap[0], 0);
        EXPECT_EQ(d.positionMap[13], 74);
        EXPECT_EQ(d.positionMap[38], 87);
        EXPECT_NE(d.positionMap[38], 38);
        EXPECT_EQ(rig.commands().front(), protocol::kBeginTransfer);
        EXPECT_EQ(rig.commands().back(), protocol::kEndTransfer);
    }
}

TEST(KeyboardReadBack, MoreThan170KeysKeepsTheTables) {
    struct Case { uint8_t keys; bool accepted; };
    for (const auto& c : {Case{170, true}, Case{171, false}, Case{255, false}}) {
        SCOPED_TRACE(int(c.keys));
        ReadBackRig rig(DeviceModel::RgbKeyboard);
        KeyboardModel kb;
        ASSERT_TRUE(keyboard::ReadBackKeyboard(rig.connection, kb).ok());
        const KeyboardData before = kb.snapshot();

        rig.firmware([&](sim::DeviceFirmware& fw) { fw.setKeyCount(c.keys); });
        rig.restartCount();
        const auto result = keyboard::ReadBackKeyboard(rig.connection, kb);
        const KeyboardData after = kb.snapshot();
        if (c.accepted) {
            EXPECT_TRUE(result.ok());
            EXPECT_EQ(rig.connection.blockLength, 510);
            EXPECT_EQ(after.info.keyCount(), 170u);
            continue;
        }
        EXPECT_TRUE(result.tooManyKeys);
        EXPECT_EQ(keyboard::kTooManyKeysMessage, "message_text_19");
        EXPECT_EQ(after.info, before.info);
        EXPECT_EQ(after.nativeKeys, before.nativeKeys);
        EXPECT_EQ(after.banks, before.banks);
        EXPECT_EQ(after.positionMap, before.positionMap);
        EXPECT_EQ(rig.connection.blockLength, before.info.keyCount() * 3);
        // Begin, information, End: nothing else is read.
        EXPECT_EQ(rig.commands(), (std::vector<uint8_t>{protocol::kBeginTransfer, protocol::kReadDeviceInfo,
                                                        protocol::kEndTransfer}));
    }
}

TEST(KeyboardReadBack, AKeyboardThatStopsAnsweringLeavesThePreviousTables) {
    ReadBackRig rig(DeviceModel::RgbKeyboard);
    KeyboardModel kb;
    ASSERT_TRUE(keyboard::ReadBackKeyboard(rig.connection, kb).ok());
    const KeyboardData before = kb.snapshot();
    const uint16_t blockLength = rig.connection.blockLength;

    // Fewer keys now, and no reply from the bank read on.
    rig.firmware([](sim::DeviceFirmware& fw) { fw.setKeyCount(20); });
    rig.device->addFault(Fault::OnCommand(protocol::kReadBank, FaultKind::NoReply, -1));
    const auto result = keyboard::ReadBackKeyboard(rig.connection, kb);
    EXPECT_EQ(result.result, protocol::kNoReply);
    const KeyboardData after = kb.snapshot();
    EXPECT_EQ(after.info, before.info);
    EXPECT_EQ(after.nativeKeys, before.nativeKeys);
    EXPECT_EQ(after.banks[0], before.banks[0]);
    EXPECT_EQ(rig.connection.blockLength, blockLength);
}

}  // namespace
}  // namespace orvane
