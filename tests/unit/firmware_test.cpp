// SPDX-License-Identifier: GPL-3.0-or-later
// The firmware models of the emulator: information records, key tables and banks, slots.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "keyboard/key_positions.h"
#include "unit/firmware_requests.h"

namespace orvane::sim {
namespace {

using namespace fwtest;

// ---- information record -------------------------------------------------------------------

struct InfoCase {
    DeviceModel model;
    uint8_t keyCount;
    uint8_t macroUnits;
    uint16_t sensorId;
    uint8_t dpiStep;
    uint8_t highestPosition;
    uint16_t minimumDpi;
};

TEST(FirmwareInfo, RecordFieldsPerModel) {
    const InfoCase cases[] = {
        {DeviceModel::RgbKeyboard, 110, 32, 0, 0, 0, 0},
        {DeviceModel::MonoKeyboard, 110, 32, 0, 0, 0, 0},
        {DeviceModel::Mouse, 6, 16, 0x3325, 100, 48, 200},
        {DeviceModel::Mouse2, 6, 16, 0x3360, 100, 119, 100},
        {DeviceModel::Mousepad, 0, 0, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(device::Identity(c.model).shortName);
        auto fw = Make(c.model);
        const Report request = BuildSimpleRequest(kReadDeviceInfo, kDeviceInfoSize, 0);
        const Report reply = Send(*fw, request);
        EXPECT_EQ(reply[off::reportId], kReportId);
        EXPECT_EQ(reply[off::command], kReadDeviceInfo);
        EXPECT_EQ(reply[off::length], kDeviceInfoSize);
        EXPECT_EQ(reply[off::status], kStatusAccepted);
        const std::span<const uint8_t> rec(&reply[off::data], kDeviceInfoSize);
        EXPECT_EQ(Le16(rec, info::productId), device::Identity(c.model).productId);
        EXPECT_EQ(rec[info::keyCount], c.keyCount);
        EXPECT_EQ(rec[info::macroUnits], c.macroUnits);
        EXPECT_EQ(Le16(rec, info::sensorId), c.sensorId);
        EXPECT_EQ(rec[info::dpiStep], c.dpiStep);
        EXPECT_EQ(rec[info::highestDpiPosition], c.highestPosition);
        EXPECT_EQ(Le16(rec, info::minimumDpi), c.minimumDpi);
        EXPECT_EQ(size_t{rec[info::ledCount]} * rec[info::bytesPerLed], fw->profile().frameSize());
        EXPECT_EQ(fw->macroCapacity(), size_t{c.macroUnits} * kMacroUnit);
    }
}

TEST(FirmwareInfo, SettersChangeWhatTheHostReads) {
    auto fw = Make(DeviceModel::RgbKeyboard);
    fw->setKeyCount(200);
    fw->setMacroCapacityUnits(1);
    auto mouse = Make(DeviceModel::Mouse);
    mouse->setSensorId(0x3050);

    const Report kb = Send(*fw, BuildSimpleRequest(kReadDeviceInfo, kDeviceInfoSize, 0));
    EXPECT_EQ(kb[off::data + info::keyCount], 200);
    EXPECT_EQ(kb[off::data + info::macroUnits], 1);
    EXPECT_EQ(fw->macroCapacity(), 128u);
    const Report ms = Send(*mouse, BuildSimpleRequest(kReadDeviceInfo, kDeviceInfoSize, 0));
    EXPECT_EQ(ReadLe16(ms, off::data + info::sensorId), 0x3050);
}

// ---- factory key tables -------------------------------------------------------------------

TEST(FirmwareKeys, KeyboardKeysAreThePositionTable) {
    for (DeviceModel model : {DeviceModel::RgbKeyboard, DeviceModel::MonoKeyboard}) {
        auto fw = Make(model);
        const size_t n = fw->info()[info::keyCount];
        ASSERT_EQ(n, keyboard::OccupiedKeyPositionCount());
        const auto native = ReadAll(*fw, kReadNativeBlock, 0, 3 * n);
        // Every occupied position finds exactly one device key with its code.
        for (const auto& p : keyboard::kKeyPositions) {
            if (p.empty()) continue;
            size_t matches = 0;
            for (size_t i = 0; i < n; ++i)
                matches += native[3 * i] == p.type && native[3 * i + 1] == p.modifiers &&
                           native[3 * i + 2] == p.usage;
            EXPECT_EQ(matches, 1u) << "position key " << p.name;
        }
        // Bank 0 holds the built-in table; nothing follows it.
        EXPECT_EQ(ReadAll(*fw, kReadBank, 0, 3 * n), native);
        EXPECT_TRUE(std::all_of(fw->nativeTable().begin() + 3 * n, fw->nativeTable().end(),
                                [](uint8_t b) { return b == 0; }));
    }
}

TEST(FirmwareKeys, MouseBanksStartWithTheButtonDefaults) {
    auto fw = Make(DeviceModel::Mouse);
    const uint8_t expected[18] = {0x10, 0x01, 0, 0x10, 0x04, 0, 0x10, 0x02, 0,
                                  0x10, 0x10, 0, 0x10, 0x08, 0, 0x13, 0x03, 0};
    const auto native = ReadAll(*fw, kReadNativeBlock, 0, 512);
    EXPECT_TRUE(std::equal(std::begin(expected), std::end(expected), native.begin()));
    for (unsigned bank = 0; bank < kBankCount; ++bank) {
        const auto page = ReadAll(*fw, kReadBank, static_cast<uint16_t>(bank * kBankStride), 512);
        EXPECT_TRUE(std::equal(std::begin(expected), std::end(expected), page.begin())) << bank;
    }
}

// ---- key memory addressed by bank -----------------------------------------------------------

TEST(FirmwareKeys, BankWriteReadsBackAtBankTimes126) {
    auto fw = Make(DeviceModel::Mouse);
    const auto page = Pattern(512, 3);
    ASSERT_EQ(Chunked(*fw, kWriteBank, 2 * kBankStride, page.size(), page.data(), nullptr), kStatusAccepted);

    EXPECT_EQ(ReadAll(*fw, kReadBank, 2 * kBankStride, 512), page);
    EXPECT_TRUE(std::equal(page.begin(), page.end(), fw->keyMemory().begin() + 252));
    // Bank 1's page mirrors bank 2's bytes from its position 126 on.
    const auto bank1 = ReadAll(*fw, kReadBank, kBankStride, 512);
    EXPECT_TRUE(std::equal(bank1.begin() + 126, bank1.end(), page.begin()));
    // The short last chunk carried stale bytes beyond its length; none of them landed.
    EXPECT_EQ(fw->keyMemory()[252 + 512], 0);
}

TEST(FirmwareKeys, Bank4TakesAWholeBlockAndNothingBeyond) {
    auto fw = Make(DeviceModel::Mouse);
    const auto page = Pattern(512, 9);
    EXPECT_EQ(Chunked(*fw, kWriteBank, 4 * kBankStride, page.size(), page.data(), nullptr), kStatusAccepted);
    EXPECT_EQ(ReadAll(*fw, kReadBank, 4 * kBankStride, 512), page);

    const std::vector<uint8_t> one(56, 0xAB);
    EXPECT_EQ(Status(*fw, Request(kWriteBank, one, 4 * kBankStride + 512 - 55)), kStatusOutOfRange);
    EXPECT_EQ(Status(*fw, BuildSimpleRequest(kReadBank, 56, 4 * kBankStride + 456)), kStatusAccepted);
    EXPECT_EQ(Status(*fw, BuildSimpleRequest(kReadBank, 56, 4 * kBankStride + 457)), kStatusOutOfRange);
    EXPECT_TRUE(std::equal(page.begin(), page.end(), fw->keyMemory().begin() + 4 * kBankStride));
}

// ---- on-board slots -----------------------------------------------------------------------

class FirmwareSlots : public ::testing::Test {
protected:
    std::unique_ptr<DeviceFirmware> fw = Make(DeviceModel::Mouse);

    uint8_t readActive() {
        const Report reply = Send(*fw, BuildSimpleRequest(kReadMemory, 1, 0));
        EXPECT_EQ(reply[off::status], kStatusAccepted);
        return reply[off::data];
    }
    std::vector<uint8_t> readRecord(size_t s) {
        const Report reply = Send(*fw, BuildSimpleRequest(kReadMemory, 56, static_cast<uint16_t>(s * 64)));
        return {reply.begin() + off::data, reply.end()};
    }
    uint8_t writeRecord(uint8_t slotByte, uint8_t fill) {
        std::vector<uint8_t> rec(56, fill);
        rec[0] = slotByte;
        return Status(*fw, Request(kWriteMemory, rec));
    }
};

TEST_F(FirmwareSlots, OneByteWriteSwitchesTheActiveSlot) {
    EXPECT_EQ(readActive(), 0);
    const uint8_t three[] = {3};
    EXPECT_EQ(Status(*fw, Request(kWriteMemory, three)), kStatusAccepted);
    EXPECT_EQ(readActive(), 3);
    EXPECT_EQ(fw->activeSlot(), 3);
    EXPECT_EQ(readRecord(3)[slot::index], 3);  // the record itself is untouched

    const uint8_t five[] = {5};
    EXPECT_EQ(Status(*fw, Request(kWriteMemory, five)), kStatusOutOfRange);
    EXPECT_EQ(fw->activeSlot(), 3);
}

TEST_F(FirmwareSlots, RecordGoesToTheSlotItNamesWithoutSwitching) {
    const uint8_t two[] = {2};
    ASSERT_EQ(Status(*fw, Request(kWriteMemory, two)), kStatusAccepted);
    const auto slot0Before = readRecord(0);

    ASSERT_EQ(writeRecord(2, 0x5A), kStatusAccepted);
    auto rec = readRecord(2);
    EXPECT_EQ(rec[0], 2);
    EXPECT_TRUE(std::all_of(rec.begin() + 1, rec.end(), [](uint8_t b) { return b == 0x5A; }));
    EXPECT_EQ(readRecord(0), slot0Before);

    // A record for slot 0 while slot 2 is active: slot 0 changes, the active-slot byte
    // (slot 0's byte 0) does not.
    ASSERT_EQ(writeRecord(0, 0x11), kStatusAccepted);
    rec = readRecord(0);
    EXPECT_EQ(rec[0], 2);
    EXPECT_EQ(rec[1], 0x11);
    EXPECT_EQ(fw->activeSlot(), 2);
    // Record bytes past the 56 exchanged stay the device's own.
    EXPECT_EQ(fw->slotRecord(2)[56], 0);

    EXPECT_EQ(writeRecord(7, 0x22), kStatusOutOfRange);
}

TEST(FirmwareFactory, SlotRecordsAreSaneForEachModel) {
    for (DeviceModel model : {DeviceModel::Mouse, DeviceModel::Mouse2, DeviceModel::Mousepad}) {
        SCOPED_TRACE(device::Identity(model).shortName);
        auto dev = Make(model);
        const auto& info = dev->info();
        for (size_t s = 0; s < kSlotCount; ++s) {
            const auto rec = FactorySlotRecord(dev->profile(), s);
            EXPECT_EQ(rec[slot::index], s);
            EXPECT_LE(rec[slot::mode], 9);
            EXPECT_LE(rec[slot::brightness], 4);
            if (model == DeviceModel::Mousepad) {
                EXPECT_LE(rec[slot::speed], 14);
                continue;
            }
            EXPECT_LE(rec[slot::speed], 4);
            for (size_t k = 0; k < 6; ++k) EXPECT_LE(rec[slot::dpiStages + k], info[info::highestDpiPosition]);
            EXPECT_LT(rec[slot::activeDpiStage], dev->profile().dpiStageCount);
            EXPECT_EQ(rec[slot::pointerSpeed], 10);  // valid ".led" body: speed 1-20, lines 1-10
            EXPECT_EQ(rec[slot::wheelLines], 3);
        }
    }
}

TEST_F(FirmwareSlots, DpiButtonCyclesTheActiveSlotAndAnnouncesIt) {
    std::vector<uint16_t> sent;
    fw->notify = [&sent](uint16_t usage) { sent.push_back(usage); };
    const uint8_t one[] = {1};
    ASSERT_EQ(Status(*fw, Request(kWriteMemory, one)), kStatusAccepted);
    const uint8_t before = fw->slotRecord(1)[slot::activeDpiStage];
    for (int i = 0; i < 5; ++i) fw->pressDpiButton();  // the first mouse cycles five stages
    EXPECT_EQ(fw->slotRecord(1)[slot::activeDpiStage], before);
    fw->pressDpiButton();
    EXPECT_EQ(fw->slotRecord(1)[slot::activeDpiStage], (before + 1) % 5);
    EXPECT_EQ(sent, std::vector<uint16_t>(6, kNotifySlotChanged));
}

}  // namespace
}  // namespace orvane::sim
