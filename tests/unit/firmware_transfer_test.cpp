// SPDX-License-Identifier: GPL-3.0-or-later
// The firmware models of the emulator: lighting frames, factory reset, refusals, images.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "unit/firmware_requests.h"

namespace orvane::sim {
namespace {

using namespace fwtest;

// ---- lighting frames ----------------------------------------------------------------------

TEST(FirmwareFrames, CompleteFramesAreCountedOnce) {
    // size: a frame as the lighting sends it; memory: the frame memory, past which a write
    // is refused (the pad also takes 60-byte frames, the mouse 30-byte ones).
    const std::tuple<DeviceModel, size_t, size_t> cases[] = {{DeviceModel::RgbKeyboard, 378, 378},
                                                             {DeviceModel::MonoKeyboard, 126, 126},
                                                             {DeviceModel::Mouse, 60, 60},
                                                             {DeviceModel::Mouse, 30, 60},
                                                             {DeviceModel::Mouse2, 60, 60},
                                                             {DeviceModel::Mousepad, 45, 60},
                                                             {DeviceModel::Mousepad, 60, 60}};
    for (const auto& [model, size, memory] : cases) {
        SCOPED_TRACE(std::string(device::Identity(model).shortName) + " " + std::to_string(size));
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
        EXPECT_EQ(Status(*fw, Request(kWriteLightingFrame, past, static_cast<uint16_t>(memory))), kStatusOutOfRange);
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
