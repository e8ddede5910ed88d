// SPDX-License-Identifier: GPL-3.0-or-later
// Profiles against the emulated devices: selecting a key profile writes exactly its bytes
// into key bank 0 with command 9, and a device's arrival selects the recorded profiles.

#include <gtest/gtest.h>

#include <algorithm>

#include "device/protocol/commands.h"
#include "integration/readback_rig.h"
#include "keyboard/keyboard_device.h"
#include "mouse/mouse_device.h"
#include "mousepad/pad_device.h"
#include "profiles/profile_connect.h"
#include "profiles/profile_names.h"
#include "unit/profile_fixture.h"

namespace orvane {
namespace {

using device::DeviceModel;
using profiles::ListId;

std::vector<uint8_t> KeyMemory(testing::ReadBackRig& dev, size_t n) {
    std::vector<uint8_t> out;
    dev.firmware([&](sim::DeviceFirmware& fw) { out.assign(fw.keyMemory().begin(), fw.keyMemory().begin() + n); });
    return out;
}

TEST(ProfileDevice, SelectingAKeyProfileWritesItsBytesIntoBankZero) {
    struct Case {
        DeviceModel model;
        ListId list;
    } const cases[] = {{DeviceModel::RgbKeyboard, ListId::KeyboardKeys}, {DeviceModel::Mouse, ListId::MouseKeys}};
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.list));
        testing::ProfileRig rig;
        rig.initAll();
        testing::ReadBackRig dev(c.model);
        const bool isKeyboard = c.list == ListId::KeyboardKeys;
        if (isKeyboard) {
            ASSERT_TRUE(keyboard::ReadBackKeyboard(dev.connection, rig.keyboard).ok());
        }
        const size_t n = dev.connection.blockLength;  // keyboard: 3 x keys; mouse: 512

        profiles::ProfileOperations ops(rig.store, {&dev.connection, &dev.connection, nullptr});
        ops.addProfile(c.list);  // New Profile 2 (sends the default)
        const auto body = testing::ProfileRig::Pattern(c.list, 0x31);
        rig.plant(c.list, "New Profile 2", body);
        dev.restartCount();
        const auto r = ops.selectProfile(c.list, 1);
        EXPECT_EQ(r.bankWrite, protocol::kOk);
        EXPECT_TRUE(r.hideFunctionTab);
        EXPECT_EQ(KeyMemory(dev, n), std::vector<uint8_t>(body.begin(), body.begin() + std::ptrdiff_t(n)));
        // Command 9 only, in 56-byte chunks from offset 0, and no begin/end around it.
        const auto commands = dev.commands();
        EXPECT_EQ(commands, std::vector<uint8_t>((n + 55) / 56, protocol::kWriteBank));
    }
}

// A key page the device refuses: the profile is loaded and shown, but the index keeps the
// selection it had (the next start selects what the device holds) and the result says so;
// selecting again once the device takes it records it.
TEST(ProfileDevice, ARefusedKeyPageLeavesTheRecordedSelection) {
    struct Case {
        DeviceModel model;
        ListId list;
        sim::FaultKind fault;
    } const cases[] = {{DeviceModel::RgbKeyboard, ListId::KeyboardKeys, sim::FaultKind::RefuseFF},
                       {DeviceModel::Mouse, ListId::MouseKeys, sim::FaultKind::RefuseFE},
                       {DeviceModel::Mouse, ListId::MouseKeys, sim::FaultKind::NoReply}};
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.list) * 10 + int(c.fault));
        testing::ProfileRig rig;
        rig.initAll();
        testing::ReadBackRig dev(c.model);
        if (c.list == ListId::KeyboardKeys) {
            ASSERT_TRUE(keyboard::ReadBackKeyboard(dev.connection, rig.keyboard).ok());
        }
        profiles::ProfileOperations ops(rig.store, {&dev.connection, &dev.connection, nullptr});
        ops.addProfile(c.list);  // New Profile 2, selected and recorded
        ASSERT_TRUE(ops.selectProfile(c.list, 0).bankWrite == protocol::kOk);
        ASSERT_EQ(rig.store.recordedSelection(c.list), 0);

        dev.device->addFault(sim::Fault::OnCommand(protocol::kWriteBank, c.fault, -1));  // every retry too
        const auto refused = ops.selectProfile(c.list, 1);
        EXPECT_NE(refused.bankWrite, protocol::kOk);
        EXPECT_TRUE(refused.deviceRefused);
        EXPECT_EQ(refused.message, profiles::kDeviceRefusedMessage);
        EXPECT_NE(refused.detail.find("not recorded"), std::string::npos) << refused.detail;
        EXPECT_EQ(rig.store.recordedSelection(c.list), 0);

        dev.device->clearFaults();
        const auto again = ops.selectProfile(c.list, 1);  // the retry the message offers
        EXPECT_EQ(again.bankWrite, protocol::kOk);
        EXPECT_FALSE(again.deviceRefused);
        EXPECT_EQ(rig.store.recordedSelection(c.list), 1);
    }
}

TEST(ProfileDevice, MouseArrivalLoadsAndSelectsTheRecordedProfiles) {
    testing::ProfileRig rig;
    rig.initAll();
    profiles::ProfileOperations setup(rig.store, {});
    setup.addProfile(ListId::MouseLighting);
    setup.addProfile(ListId::MouseKeys);
    auto lighting = testing::ProfileRig::Pattern(ListId::MouseLighting, 0x10);
    lighting[0] = 0;  // slot 0
    rig.plant(ListId::MouseLighting, "New Profile 2", lighting);
    const auto keys = testing::ProfileRig::Pattern(ListId::MouseKeys, 0x50);
    rig.plant(ListId::MouseKeys, "New Profile 2", keys);
    // As the next run finds them: recorded, not yet selected in the lists.
    for (ListId id : {ListId::MouseLighting, ListId::MouseKeys}) {
        rig.store.writeSelection(id, 1);
        auto list = rig.store.list(id);
        list.selection = -1;
        rig.store.setList(id, list);
    }

    testing::ReadBackRig dev(DeviceModel::Mouse);
    profiles::ProfileOperations ops(rig.store, {nullptr, &dev.connection, nullptr});
    ASSERT_EQ(profiles::LoadRecordedMouseLighting(rig.store), profiles::ReadResult::Read);
    // The arrival's read-back, and the saves that follow a complete one.
    ASSERT_EQ(mouse::ReadBackMouse(dev.connection, rig.mouse), protocol::kOk);
    rig.store.saveSelectedLighting(device::DeviceKind::Mouse);
    rig.store.saveSelectedKeys(device::DeviceKind::Mouse);
    const auto made = profiles::SelectRecordedProfiles(ops, device::DeviceKind::Mouse);
    ASSERT_EQ(made.size(), 2u);
    EXPECT_EQ(made[0].list, ListId::MouseLighting);
    EXPECT_EQ(made[1].list, ListId::MouseKeys);
    EXPECT_EQ(made[1].result.bankWrite, protocol::kOk);

    const auto d = rig.mouse.snapshot();
    EXPECT_TRUE(std::equal(d.state.bytes.begin(), d.state.bytes.end(), lighting.begin()));
    EXPECT_TRUE(rig.mouse.stateDirty);
    // The read-back saved the device's key page into the selected profile, and selecting it
    // sent that back: the device and the profile agree.
    const auto stored = rig.bytesOf(rig.file(ListId::MouseKeys, "New Profile 2"));
    EXPECT_EQ(KeyMemory(dev, 512), std::vector<uint8_t>(stored.begin() + 16, stored.end()));
    EXPECT_EQ(rig.store.list(ListId::MouseLighting).selection, 1);
    EXPECT_EQ(rig.store.list(ListId::MouseKeys).selection, 1);

    // Arriving again with the same selections: a list does not re-select its entry.
    EXPECT_TRUE(profiles::SelectRecordedProfiles(ops, device::DeviceKind::Mouse).empty());
}

TEST(ProfileDevice, PadArrivalSelectsTheRecordedLightingAndFlushesIt) {
    testing::ProfileRig rig;
    rig.initAll();
    testing::ReadBackRig dev(DeviceModel::Mousepad);
    profiles::ProfileOperations ops(rig.store, {});
    ASSERT_EQ(mousepad::ReadBackPad(dev.connection, rig.pad), protocol::kOk);
    rig.store.saveSelectedLighting(device::DeviceKind::Mousepad);
    const auto made = profiles::SelectRecordedProfiles(ops, device::DeviceKind::Mousepad);
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(made[0].result.page, profiles::PageAction::RefreshPadPage);
    ASSERT_TRUE(rig.pad.stateDirty);
    dev.restartCount();
    EXPECT_EQ(mousepad::FlushPadState(dev.connection, rig.pad), protocol::kOk);
    EXPECT_EQ(dev.commands(), std::vector<uint8_t>{protocol::kWriteMemory});
}

}  // namespace
}  // namespace orvane
