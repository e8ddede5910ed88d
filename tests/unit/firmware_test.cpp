// The firmware models of the emulator, driven report by report as the host drives them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <vector>

#include "device/protocol/commands.h"
#include "device/protocol/report.h"
#include "keyboard/key_positions.h"
#include "sim/firmware_device.h"

namespace orvane::sim {
namespace {

using device::DeviceModel;
using namespace protocol;

constexpr DeviceModel kAllModels[] = {DeviceModel::RgbKeyboard, DeviceModel::MonoKeyboard,
                                      DeviceModel::Mouse, DeviceModel::Mouse2,
                                      DeviceModel::Mousepad};

std::unique_ptr<DeviceFirmware> Make(DeviceModel model) {
    return std::unique_ptr<DeviceFirmware>(static_cast<DeviceFirmware*>(MakeFirmware(model).release()));
}

Report Request(uint8_t command, std::span<const uint8_t> data, uint16_t offset = 0) {
    Report r = MakeRequest(command, static_cast<uint8_t>(data.size()), offset);
    std::copy(data.begin(), data.end(), r.begin() + off::data);
    StoreChecksum(r);
    return r;
}

Report Send(Firmware& fw, const Report& request) {
    const auto reply = fw.handle(request);
    EXPECT_TRUE(reply.has_value());
    return reply.value_or(Report{});
}

uint8_t Status(Firmware& fw, const Report& request) { return Send(fw, request)[off::status]; }

// The host's chunked transfer: one request buffer reused chunk after chunk, so a short last
// chunk carries the previous chunk's tail. Returns the first refusing status, else 0.
uint8_t Chunked(Firmware& fw, uint8_t command, uint16_t base, size_t n, const uint8_t* source,
                uint8_t* target) {
    Report request{};
    for (size_t k = 0; k < n; k += kChunkSize) {
        const size_t length = std::min(kChunkSize, n - k);
        request[off::reportId] = kReportId;
        request[off::command] = command;
        request[off::length] = static_cast<uint8_t>(length);
        WriteLe16(request, off::offset, static_cast<uint16_t>(base + k));
        if (source) std::memcpy(&request[off::data], source + k, length);
        StoreChecksum(request);
        const Report reply = Send(fw, request);
        if (reply[off::status] != kStatusAccepted) return reply[off::status];
        if (target) std::memcpy(target + k, &reply[off::data], length);
    }
    return kStatusAccepted;
}

std::vector<uint8_t> ReadAll(Firmware& fw, uint8_t command, uint16_t base, size_t n) {
    std::vector<uint8_t> out(n, 0xCC);
    EXPECT_EQ(Chunked(fw, command, base, n, nullptr, out.data()), kStatusAccepted);
    return out;
}

std::vector<uint8_t> Pattern(size_t n, uint8_t seed) {
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(seed + 7 * i);
    return v;
}

uint16_t Le16(std::span<const uint8_t> b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }

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

// ---- lighting frames ----------------------------------------------------------------------

TEST(FirmwareFrames, CompleteFramesAreCountedOnce) {
    const std::pair<DeviceModel, size_t> cases[] = {{DeviceModel::RgbKeyboard, 378},
                                                    {DeviceModel::MonoKeyboard, 126},
                                                    {DeviceModel::Mouse, 60},
                                                    {DeviceModel::Mouse2, 60},
                                                    {DeviceModel::Mousepad, 45}};
    for (const auto& [model, size] : cases) {
        SCOPED_TRACE(device::Identity(model).shortName);
        auto fw = Make(model);
        EXPECT_TRUE(fw->lastFrame().empty());
        const auto first = Pattern(size, 1);
        ASSERT_EQ(Chunked(*fw, kWriteLightingFrame, 0, size, first.data(), nullptr), kStatusAccepted);
        EXPECT_EQ(fw->frameCount(), 1u);
        EXPECT_TRUE(std::equal(first.begin(), first.end(), fw->lastFrame().begin(), fw->lastFrame().end()));

        // The last chunk of a multi-chunk frame again (a retry after a lost reply) does not
        // count a second frame. A one-chunk frame sent again is a new frame.
        if (size > kChunkSize) {
            const size_t lastOffset = (size - 1) / kChunkSize * kChunkSize;
            EXPECT_EQ(Chunked(*fw, kWriteLightingFrame, static_cast<uint16_t>(lastOffset),
                              size - lastOffset, first.data() + lastOffset, nullptr),
                      kStatusAccepted);
            EXPECT_EQ(fw->frameCount(), 1u);
        }

        const auto second = Pattern(size, 2);
        ASSERT_EQ(Chunked(*fw, kWriteLightingFrame, 0, size, second.data(), nullptr), kStatusAccepted);
        EXPECT_EQ(fw->frameCount(), 2u);
        EXPECT_TRUE(std::equal(second.begin(), second.end(), fw->lastFrame().begin(), fw->lastFrame().end()));

        const std::vector<uint8_t> past(1, 0);
        EXPECT_EQ(Status(*fw, Request(kWriteLightingFrame, past, static_cast<uint16_t>(size))), kStatusOutOfRange);
    }
}

TEST(FirmwareFrames, FrameWithAMissingChunkIsDropped) {
    auto fw = Make(DeviceModel::RgbKeyboard);
    const auto frame = Pattern(378, 4);
    const auto chunk = [&](size_t k) {
        const size_t length = std::min<size_t>(56, 378 - k);
        return Status(*fw, Request(kWriteLightingFrame, std::span(frame).subspan(k, length),
                                   static_cast<uint16_t>(k)));
    };
    for (size_t k : {0, 56, 168, 224, 280, 336}) ASSERT_EQ(chunk(k), kStatusAccepted);  // 112 lost
    EXPECT_EQ(fw->frameCount(), 0u);
    EXPECT_TRUE(fw->lastFrame().empty());
    for (size_t k : {0, 56, 112}) ASSERT_EQ(chunk(k), kStatusAccepted);  // cut short
    EXPECT_EQ(fw->frameCount(), 0u);
}

// ---- factory reset ------------------------------------------------------------------------

TEST(FirmwareReset, BareReportRestoresMemoriesAndOnlyTheMouseAnnouncesIt) {
    for (DeviceModel model : kAllModels) {
        SCOPED_TRACE(device::Identity(model).shortName);
        auto fw = Make(model);
        std::vector<uint16_t> sent;
        fw->notify = [&sent](uint16_t usage) { sent.push_back(usage); };
        const std::vector<uint8_t> keysBefore(fw->keyMemory().begin(), fw->keyMemory().end());
        const std::vector<uint8_t> settingsBefore(fw->settingsMemory().begin(), fw->settingsMemory().end());
        const std::vector<uint8_t> macroBefore(fw->macroImage().begin(), fw->macroImage().end());
        const std::vector<uint8_t> cursorBefore(fw->cursorMemory().begin(), fw->cursorMemory().end());

        std::fill(fw->keyMemory().begin(), fw->keyMemory().end(), 0xEE);
        std::fill(fw->settingsMemory().begin(), fw->settingsMemory().end(), 0x04);
        if (fw->macroCapacity() > 0) {
            const auto blob = Pattern(100, 5);
            ASSERT_EQ(Chunked(*fw, kWriteMacroBlob, 0, blob.size(), blob.data(), nullptr), kStatusAccepted);
        }
        if (!fw->cursorMemory().empty()) {
            const auto blob = Pattern(100, 6);
            ASSERT_EQ(Chunked(*fw, kWriteCursorBlob, 0, blob.size(), blob.data(), nullptr), kStatusAccepted);
        }

        Report bare{};
        bare[off::reportId] = kReportId;
        bare[off::command] = kFactoryReset;  // no checksum
        EXPECT_EQ(Status(*fw, bare), kStatusAccepted);

        EXPECT_TRUE(std::ranges::equal(fw->keyMemory(), keysBefore));
        EXPECT_TRUE(std::ranges::equal(fw->settingsMemory(), settingsBefore));
        EXPECT_TRUE(std::ranges::equal(fw->macroImage(), macroBefore));
        EXPECT_TRUE(std::ranges::equal(fw->cursorMemory(), cursorBefore));
        EXPECT_EQ(fw->activeSlot(), 0);
        EXPECT_EQ(fw->factoryResetCount(), 1u);
        const bool mouse = device::Identity(model).kind == device::DeviceKind::Mouse;
        EXPECT_EQ(sent, mouse ? std::vector<uint16_t>{kNotifySettingsChanged} : std::vector<uint16_t>{});
    }
}

// ---- refusals -----------------------------------------------------------------------------

TEST(FirmwareRefusal, BadRequestsChangeNothing) {
    auto fw = Make(DeviceModel::Mouse);
    const std::vector<uint8_t> keysBefore(fw->keyMemory().begin(), fw->keyMemory().end());
    const std::vector<uint8_t> data(56, 0x77);

    Report badSum = Request(kWriteBank, data, 0);
    badSum[off::checksum] ^= 0x01;
    EXPECT_EQ(Status(*fw, badSum), kStatusNotUnderstood);

    Report staleTail = Request(kWriteBank, std::span(data).first(8), 0);
    staleTail[off::data + 20] = 0x99;  // changed after the checksum was computed
    EXPECT_EQ(Status(*fw, staleTail), kStatusNotUnderstood);

    for (uint8_t unknown : {0, 4, 10, 11, 12, 14, 17, 19, 20, 24, 0xFF})
        EXPECT_EQ(Status(*fw, BuildSimpleRequest(unknown, 0, 0)), kStatusNotUnderstood) << int(unknown);

    EXPECT_EQ(Status(*fw, BuildSimpleRequest(kReadMemory, 56, 300)), kStatusOutOfRange);
    EXPECT_EQ(Status(*fw, BuildSimpleRequest(kReadMemory, 57, 0)), kStatusOutOfRange);
    EXPECT_EQ(Status(*fw, BuildSimpleRequest(kReadMemory, 0, 0)), kStatusOutOfRange);
    EXPECT_EQ(Status(*fw, BuildSimpleRequest(kReadDeviceInfo, 32, 0)), kStatusOutOfRange);
    EXPECT_EQ(Status(*fw, Request(kWriteMemory, std::span(data).first(1), 64)), kStatusOutOfRange);
    EXPECT_EQ(Status(*fw, BuildSimpleRequest(kReadNativeBlock, 56, 480)), kStatusOutOfRange);
    EXPECT_EQ(Status(*fw, BuildSimpleRequest(kReadCursorBlob, 56, 3072 - 55)), kStatusOutOfRange);

    EXPECT_TRUE(std::ranges::equal(fw->keyMemory(), keysBefore));

    Report otherId = BuildSimpleRequest(kBeginTransfer, 0, 0);
    otherId[off::reportId] = 5;
    EXPECT_FALSE(fw->handle(otherId).has_value());
}

TEST(FirmwareRefusal, CommandsWithoutAMemoryOnThisModel) {
    auto kb = Make(DeviceModel::RgbKeyboard);
    auto pad = Make(DeviceModel::Mousepad);
    for (uint8_t command : {kReadMemory, kWriteMemory, kReadCursorBlob, kWriteCursorBlob})
        EXPECT_EQ(Status(*kb, BuildSimpleRequest(command, 1, 0)), kStatusNotUnderstood) << int(command);
    for (uint8_t command : {kReadNativeBlock, kReadBank, kWriteBank, kWriteMacroBlob, kReadCursorBlob})
        EXPECT_EQ(Status(*pad, BuildSimpleRequest(command, 1, 0)), kStatusNotUnderstood) << int(command);
    for (auto* fw : {kb.get(), pad.get()}) {
        EXPECT_EQ(Status(*fw, BuildSimpleRequest(kBeginTransfer, 0, 0)), kStatusAccepted);
        EXPECT_EQ(Status(*fw, BuildSimpleRequest(kEndTransfer, 0, 0)), kStatusAccepted);
    }
}

// ---- macro and cursor images --------------------------------------------------------------

TEST(FirmwareImages, MacroImageStopsAtTheCapacity) {
    auto fw = Make(DeviceModel::RgbKeyboard);
    fw->setMacroCapacityUnits(1);  // 128 bytes
    const auto fits = Pattern(128, 8);
    EXPECT_EQ(Chunked(*fw, kWriteMacroBlob, 0, fits.size(), fits.data(), nullptr), kStatusAccepted);
    EXPECT_TRUE(std::ranges::equal(fw->macroImage(), fits));

    const auto tooBig = Pattern(130, 9);  // chunks 56, 56, 18: the third reaches byte 129
    EXPECT_EQ(Chunked(*fw, kWriteMacroBlob, 0, tooBig.size(), tooBig.data(), nullptr), kStatusOutOfRange);
    EXPECT_TRUE(std::equal(tooBig.begin(), tooBig.begin() + 112, fw->macroImage().begin()));
    EXPECT_TRUE(std::equal(fits.begin() + 112, fits.end(), fw->macroImage().begin() + 112));
}

TEST(FirmwareImages, CursorImageReadsBackByItsHeader) {
    auto fw = Make(DeviceModel::Mouse2);
    const auto header = ReadAll(*fw, kReadCursorBlob, 0, 16);
    ASSERT_EQ(Le16(header, 0), 0x55AA);
    const uint16_t total = Le16(header, 2);
    EXPECT_EQ(total, 2920);  // four sequences of 30 steps x 6 actions
    EXPECT_EQ(Le16(header, 4), 4);
    const auto image = ReadAll(*fw, kReadCursorBlob, 0, total);
    EXPECT_TRUE(std::ranges::equal(image, fw->cursorImage()));
    // The offset table points at records of 180 actions, one after the other.
    for (size_t k = 0; k < 4; ++k) {
        const uint16_t at = Le16(image, 16 + 2 * k);
        EXPECT_EQ(at, 16 + 8 + k * (4 + 4 * 180));
        EXPECT_EQ(Le16(image, at), 180);
    }

    std::vector<uint8_t> mine = FactoryMacroMemory(3072);  // header: magic, total 16
    mine[2] = 0x00;
    mine[3] = 0x0C;  // total 3072: the whole memory
    EXPECT_EQ(Chunked(*fw, kWriteCursorBlob, 0, mine.size(), mine.data(), nullptr), kStatusAccepted);
    EXPECT_EQ(fw->cursorImage().size(), 3072u);
    const std::vector<uint8_t> more(8, 1);
    EXPECT_EQ(Status(*fw, Request(kWriteCursorBlob, more, 3072 - 4)), kStatusOutOfRange);
}

}  // namespace
}  // namespace orvane::sim
