// SPDX-License-Identifier: GPL-3.0-or-later
// The applies against the emulated keyboard and mouse: the device's key memory holds
// exactly the bank or page after them, the macro upload comes first and can stop them, and
// a device that refuses half-way is reported.

#include <gtest/gtest.h>

#include "device/protocol/commands.h"
#include "integration/readback_rig.h"
#include "keyboard/keyboard_apply.h"
#include "keyboard/keyboard_device.h"
#include "mouse/button_apply.h"
#include "mouse/mouse_device.h"

namespace orvane {
namespace {

using device::DeviceModel;
using functions::MacroUploadResult;
using sim::Fault;
using sim::FaultKind;
using testing::ReadBackRig;

using testing::Slice;

std::vector<uint8_t> KeyMemory(ReadBackRig& rig, size_t at, size_t n) {
    std::vector<uint8_t> out;
    rig.firmware([&](sim::DeviceFirmware& fw) { out = Slice(fw.keyMemory(), at, n); });
    return out;
}

/// Every request of the apply (commands 1, 9 ..., 2) and no other.
void ExpectKeyWriteOnly(const ReadBackRig& rig) {
    const auto commands = rig.commands();
    ASSERT_GE(commands.size(), 3u);
    EXPECT_EQ(commands.front(), protocol::kBeginTransfer);
    EXPECT_EQ(commands.back(), protocol::kEndTransfer);
    for (size_t i = 1; i + 1 < commands.size(); ++i) EXPECT_EQ(commands[i], protocol::kWriteBank);
}

TEST(KeyApply, KeyboardKeyMemoryHoldsTheActiveBank) {
    for (const uint8_t slot : {0, 1}) {
        SCOPED_TRACE(int(slot));
        ReadBackRig rig(DeviceModel::RgbKeyboard);
        keyboard::KeyboardModel kb;
        ASSERT_TRUE(keyboard::ReadBackKeyboard(rig.connection, kb).ok());
        const size_t keys = kb.snapshot().info.keyCount();
        kb.update([&](keyboard::KeyboardData& d) {
            d.lighting.setSlot(slot);
            for (size_t i = 0; i < 512; ++i) d.banks[slot].bytes[i] = static_cast<uint8_t>(i * 13 + 5);
        });
        rig.restartCount();
        int uploads = 0;
        const auto result = keyboard::ApplyKeyboard(rig.connection, kb, [&](protocol::DeviceConnection&) {
            ++uploads;  // no macros: nothing to send
            return MacroUploadResult{};
        });
        EXPECT_TRUE(result.ok());
        EXPECT_EQ(uploads, 1);
        ExpectKeyWriteOnly(rig);
        const auto bank = kb.snapshot().banks[slot];
        EXPECT_EQ(KeyMemory(rig, slot * 126u, keys * 3), Slice(bank.bytes, 0, keys * 3));
        // Only the keys' bytes go out: what follows them in the device stays.
        if (slot == 0) {
            EXPECT_NE(KeyMemory(rig, keys * 3, 3), Slice(bank.bytes, keys * 3, 3));
        }
    }
}

TEST(KeyApply, MouseKeyMemoryHoldsTheActiveSlotsPage) {
    ReadBackRig rig(DeviceModel::Mouse);
    mouse::MouseModel ms;
    ASSERT_EQ(mouse::ReadBackMouse(rig.connection, ms), protocol::kOk);
    ms.update([](mouse::MouseData& d) {
        d.state.setActiveSlot(2);
        for (size_t i = 0; i < 512; ++i) d.block.pages[2].bytes[i] = static_cast<uint8_t>(i * 11 + 1);
    });
    rig.restartCount();
    const auto result = mouse::ApplyMouseKeys(rig.connection, ms);
    EXPECT_TRUE(result.ok());
    ExpectKeyWriteOnly(rig);
    EXPECT_EQ(KeyMemory(rig, 2 * 126, 512), Slice(ms.snapshot().block.pages[2].bytes, 0, 512));
}

TEST(KeyApply, FailuresAreReportedAndStopTheApply) {
    // The macro upload refuses (the image does not fit): nothing at all is sent.
    {
        ReadBackRig rig(DeviceModel::Mouse);
        mouse::MouseModel ms;
        ASSERT_EQ(mouse::ReadBackMouse(rig.connection, ms), protocol::kOk);
        rig.restartCount();
        const auto result = mouse::ApplyMouseKeys(rig.connection, ms, [](protocol::DeviceConnection&) {
            return MacroUploadResult{protocol::kNoReply, "message_text_16", 2};
        });
        EXPECT_FALSE(result.ok());
        EXPECT_FALSE(result.keysAttempted);
        EXPECT_EQ(result.macros.message, "message_text_16");
        EXPECT_TRUE(rig.requests.empty());
    }
    // The device refuses the second chunk of the bank: failure, and the transfer is closed.
    for (const auto kind : {FaultKind::RefuseFE, FaultKind::NoReply}) {
        ReadBackRig rig(DeviceModel::RgbKeyboard);
        keyboard::KeyboardModel kb;
        ASSERT_TRUE(keyboard::ReadBackKeyboard(rig.connection, kb).ok());
        kb.update([](keyboard::KeyboardData& d) { d.banks[0].bytes[100] ^= 0xFF; });
        const auto before = KeyMemory(rig, 0, 512);
        rig.restartCount();
        Fault fault;
        fault.kind = kind;
        fault.times = -1;  // every attempt at the chunk
        fault.when = [](uint64_t, const protocol::Report& r) {
            return r[protocol::off::command] == protocol::kWriteBank && r[protocol::off::offset] == 56;
        };
        rig.device->addFault(fault);
        const auto result = keyboard::ApplyKeyboard(rig.connection, kb);
        EXPECT_FALSE(result.ok());
        EXPECT_EQ(result.keys, kind == FaultKind::RefuseFE ? protocol::kRefusedFE : protocol::kNoReply);
        EXPECT_EQ(rig.commands().back(), kind == FaultKind::RefuseFE ? protocol::kEndTransfer : protocol::kWriteBank);
        EXPECT_EQ(KeyMemory(rig, 100, 1), Slice(before, 100, 1));  // byte 100 is in the refused chunk
    }
}

}  // namespace
}  // namespace orvane
