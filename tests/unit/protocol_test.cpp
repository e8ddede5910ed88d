// SPDX-License-Identifier: GPL-3.0-or-later
// Report framing, checksums, chunking, retries and result codes, byte for byte.

#include <gtest/gtest.h>

#include <thread>

#include "device/protocol/commands.h"
#include "device/protocol/exchange.h"
#include "device/protocol/trace.h"
#include "support/scripted_backend.h"

namespace orvane {
namespace {

using protocol::Report;
using test::ScriptedBackend;
namespace off = protocol::off;

struct Connected {
    ScriptedBackend backend;
    protocol::DeviceConnection connection{backend, "ms"};
    Connected() {
        connection.device.path = backend.info_.path;
        EXPECT_TRUE(connection.device.open());
        connection.connected = true;
    }
};

uint16_t Offset(const Report& r) { return protocol::ReadLe16(r, off::offset); }
uint16_t Checksum(const Report& r) { return protocol::ReadLe16(r, off::checksum); }

std::optional<Report> Refuse(const Report& request, uint8_t status) {
    Report reply = ScriptedBackend::DefaultReply(request);
    reply[off::status] = status;
    return reply;
}

TEST(ReportFraming, ChecksumsOfSimpleRequests) {
    struct Case { uint8_t command, length; uint16_t offset, checksum; };
    for (const Case c : {Case{1, 0, 0, 0x0001}, Case{3, 31, 0, 0x0022}, Case{2, 0, 0, 0x0002},
                         Case{5, 56, 0x0040, 0x007D}, Case{8, 56, 238, 0x012E}}) {
        const Report r = protocol::BuildSimpleRequest(c.command, c.length, c.offset);
        EXPECT_EQ(r[0], 4);
        EXPECT_EQ(Checksum(r), c.checksum) << "command " << int(c.command);
    }
}

TEST(ReportFraming, ReadMemoryRequestIsExact) {
    Connected d;
    std::array<uint8_t, 56> out{};
    ASSERT_EQ(protocol::ReadMemory(d.connection, 0x0040, out), protocol::kOk);
    Report expected{};
    const uint8_t head[] = {0x04, 0x7D, 0x00, 0x05, 0x38, 0x40, 0x00, 0x00};
    std::copy(std::begin(head), std::end(head), expected.begin());
    ASSERT_EQ(d.backend.written().size(), 1u);
    EXPECT_EQ(d.backend.written()[0], expected);
    EXPECT_EQ(out[0], 0x40);  // reply data copied from byte 8
    EXPECT_EQ(out[55], 0x40 + 55);
}

TEST(ReportFraming, DeviceInfoCopiesThirtyOneBytes) {
    Connected d;
    protocol::DeviceInfoBytes info{};
    ASSERT_EQ(protocol::ReadDeviceInfo(d.connection, info), protocol::kOk);
    const Report sent = d.backend.written().at(0);
    EXPECT_EQ(sent[off::length], 31);
    EXPECT_EQ(Checksum(sent), 0x0022);
    for (size_t i = 0; i < info.size(); ++i) EXPECT_EQ(info[i], i);
}

TEST(ChunkedTransfer, NativeBlockIsTenReports) {
    Connected d;
    std::vector<uint8_t> block(512, 0xEE);
    ASSERT_EQ(protocol::ReadNativeBlock(d.connection, block), protocol::kOk);
    const auto sent = d.backend.written();
    ASSERT_EQ(sent.size(), 10u);
    for (size_t i = 0; i < sent.size(); ++i) {
        EXPECT_EQ(sent[i][off::command], 7);
        EXPECT_EQ(Offset(sent[i]), i * 56);
        EXPECT_EQ(sent[i][off::length], i < 9 ? 56 : 8);
    }
    // Each reply's data lands at its chunk offset (the scripted device counts from the offset).
    for (size_t k = 0; k < 512; ++k) ASSERT_EQ(block[k], static_cast<uint8_t>(k)) << k;
}

TEST(ChunkedTransfer, BankAddressing) {
    Connected d;
    std::vector<uint8_t> bank(512);
    ASSERT_EQ(protocol::ReadBank(d.connection, 1, bank), protocol::kOk);
    auto sent = d.backend.written();
    ASSERT_EQ(sent.size(), 10u);
    EXPECT_EQ(Offset(sent[2]), 238);
    EXPECT_EQ(sent[2][5], 0xEE);
    EXPECT_EQ(sent[2][6], 0x00);
    EXPECT_EQ(sent[2][off::length], 56);
    EXPECT_EQ(Checksum(sent[2]), 0x012E);
    EXPECT_EQ(bank[0], 126);  // bank data placed at 0 whatever the bank

    ASSERT_EQ(protocol::ReadBank(d.connection, 2, bank), protocol::kOk);
    sent = d.backend.written();
    ASSERT_EQ(sent.size(), 20u);
    EXPECT_EQ(Offset(sent[10]), 252);
    EXPECT_EQ(Offset(sent[11]), 308);
    EXPECT_EQ(Offset(sent[19]), 756);
}

TEST(ChunkedTransfer, BankAboveFourIsRefusedWithoutIo) {
    Connected d;
    std::vector<uint8_t> bank(512);
    EXPECT_EQ(protocol::ReadBank(d.connection, 5, bank), protocol::kBankOutOfRange);
    EXPECT_EQ(protocol::WriteBank(d.connection, 5, bank), protocol::kBankOutOfRange);
    EXPECT_EQ(d.backend.writeCount(), 0u);
}

TEST(ChunkedTransfer, ZeroLengthSendsNothing) {
    Connected d;
    EXPECT_EQ(protocol::WriteMacroBlob(d.connection, {}), protocol::kOk);
    EXPECT_EQ(protocol::WriteCursorBlob(d.connection, {}), protocol::kOk);
    EXPECT_EQ(protocol::ReadCursorBlob(d.connection, {}), protocol::kOk);
    EXPECT_EQ(d.backend.writeCount(), 0u);
}

TEST(ChunkedTransfer, ShortLastChunkKeepsPreviousTailAndChecksumCoversIt) {
    Connected d;
    std::vector<uint8_t> blob(60);
    for (size_t i = 0; i < blob.size(); ++i) blob[i] = static_cast<uint8_t>(0xA0 + i);
    ASSERT_EQ(protocol::WriteMacroBlob(d.connection, blob), protocol::kOk);
    const auto sent = d.backend.written();
    ASSERT_EQ(sent.size(), 2u);
    const Report& last = sent[1];
    EXPECT_EQ(last[off::length], 4);
    EXPECT_EQ(Offset(last), 56);
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(last[off::data + i], blob[56 + i]);
    for (size_t i = 4; i < 56; ++i) EXPECT_EQ(last[off::data + i], blob[i]) << "tail byte " << i;
    EXPECT_EQ(Checksum(last), protocol::ComputeChecksum(last));
    EXPECT_NE(Checksum(last), 0);
}

TEST(ChunkedTransfer, RefusalOnThirdChunkStopsTheWrite) {
    for (const auto& [status, expected] : {std::pair{uint8_t{0xFE}, protocol::kRefusedFE},
                                          std::pair{uint8_t{0xFF}, protocol::kRefusedFF}}) {
        Connected d;
        d.backend.responder = [status](const Report& r, size_t index) {
            return index == 2 ? Refuse(r, status) : ScriptedBackend::DefaultReply(r);
        };
        std::vector<uint8_t> frame(378, 0x11);
        EXPECT_EQ(protocol::WriteLightingFrame(d.connection, frame), expected);
        EXPECT_EQ(d.backend.writeCount(), 3u);
    }
}

TEST(ChunkedTransfer, LightingFrameSizes) {
    struct Case { size_t bytes; std::vector<int> lengths; };
    for (const auto& c : {Case{378, {56, 56, 56, 56, 56, 56, 42}}, Case{126, {56, 56, 14}},
                          Case{60, {56, 4}}, Case{45, {45}}}) {
        Connected d;
        std::vector<uint8_t> frame(c.bytes, 1);
        ASSERT_EQ(protocol::WriteLightingFrame(d.connection, frame), protocol::kOk);
        const auto sent = d.backend.written();
        ASSERT_EQ(sent.size(), c.lengths.size()) << c.bytes;
        for (size_t i = 0; i < sent.size(); ++i) {
            EXPECT_EQ(sent[i][off::command], 18);
            EXPECT_EQ(sent[i][off::length], c.lengths[i]);
        }
    }
}

TEST(Commands, FactoryResetIsTheBareReportSentOnce) {
    Connected d;
    d.backend.responder = [](const Report&, size_t) { return std::nullopt; };  // silent device
    EXPECT_EQ(protocol::FactoryReset(d.connection), protocol::kNoReply);
    const auto sent = d.backend.written();
    ASSERT_EQ(sent.size(), 1u);
    Report expected{};
    expected[0] = 4;
    expected[3] = 13;
    EXPECT_EQ(sent[0], expected);
}

TEST(Commands, WriteMemoryClearsSyncAndSendsData) {
    Connected d;
    d.connection.syncLighting = true;
    const uint8_t slot[] = {3};
    ASSERT_EQ(protocol::WriteMemory(d.connection, slot), protocol::kOk);
    EXPECT_FALSE(d.connection.syncLighting);
    const Report sent = d.backend.written().at(0);
    EXPECT_EQ(sent[off::command], 6);
    EXPECT_EQ(sent[off::length], 1);
    EXPECT_EQ(sent[off::data], 3);
    EXPECT_EQ(Checksum(sent), 6 + 1 + 3);
}

TEST(Commands, NotConnectedDoesNoIo) {
    Connected d;
    d.connection.connected = false;
    protocol::DeviceInfoBytes info{};
    info.fill(0x5A);
    std::vector<uint8_t> block(512);
    const uint8_t slot[] = {1};
    EXPECT_EQ(protocol::ReadDeviceInfo(d.connection, info), protocol::kNoReply);
    EXPECT_EQ(protocol::ReadNativeBlock(d.connection, block), protocol::kNoReply);
    EXPECT_EQ(protocol::WriteMemory(d.connection, slot), protocol::kNoReply);
    EXPECT_EQ(protocol::BeginTransfer(d.connection), protocol::kNoReply);
    EXPECT_EQ(protocol::EndTransfer(d.connection), protocol::kNoReply);
    EXPECT_EQ(protocol::FactoryReset(d.connection), protocol::kNoReply);
    EXPECT_EQ(protocol::WriteLightingFrame(d.connection, block), protocol::kNoReply);
    EXPECT_EQ(d.backend.writeCount(), 0u);
    for (uint8_t b : info) EXPECT_EQ(b, 0x5A);
}

TEST(Exchange, RetriesUntilAReplyAndStopsAtWriteFailure) {
    struct Case { size_t silentAttempts; int32_t result; size_t writes; bool failWrites; };
    for (const Case c : {Case{0, protocol::kOk, 1, false}, Case{2, protocol::kOk, 3, false},
                         Case{4, protocol::kNoReply, 4, false}, Case{0, protocol::kWriteFailed, 0, true}}) {
        Connected d;
        d.backend.failWrites = c.failWrites;
        d.backend.responder = [c](const Report& r, size_t index) -> std::optional<Report> {
            if (index < c.silentAttempts) return std::nullopt;
            return ScriptedBackend::DefaultReply(r);
        };
        Report reply{};
        const Report request = protocol::BuildSimpleRequest(1, 0, 0);
        EXPECT_EQ(protocol::Exchange(d.connection, request, reply), c.result) << c.silentAttempts;
        EXPECT_EQ(d.backend.writeCount(), c.writes);
        for (const auto& sent : d.backend.written()) EXPECT_EQ(sent, request);  // written again each time
    }
}

TEST(Exchange, StatusIsJudgedByTheCommandNotTheExchange) {
    Connected d;
    d.backend.responder = [](const Report& r, size_t) { return Refuse(r, 0xFF); };
    Report reply{};
    EXPECT_EQ(protocol::Exchange(d.connection, protocol::BuildSimpleRequest(1, 0, 0), reply), protocol::kOk);
    EXPECT_EQ(protocol::BeginTransfer(d.connection), protocol::kRefusedFF);
    protocol::DeviceInfoBytes info{};
    info.fill(7);
    EXPECT_EQ(protocol::ReadDeviceInfo(d.connection, info), protocol::kRefusedFF);
    EXPECT_EQ(info[0], 7);  // untouched on refusal
}

TEST(HidDeviceAbort, WaitingReadReturnsAtOnceFromAnotherThread) {
    Connected d;
    d.backend.responder = [](const Report&, size_t) { return std::nullopt; };
    std::array<uint8_t, 64> buffer{};
    size_t read = 0;
    const auto start = std::chrono::steady_clock::now();
    std::thread closer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        d.connection.device.close();
    });
    EXPECT_FALSE(d.connection.device.readReport(buffer, 10'000, read));
    closer.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_FALSE(d.connection.device.isOpen());
}

TEST(ReportTraceFormat, OneLinePerReport) {
    std::vector<std::string> lines;
    protocol::ReportTrace trace([&](std::string_view l) { lines.emplace_back(l); });
    Report r = protocol::BuildSimpleRequest(3, 31, 0);
    trace.record("ms", 'w', r);
    ASSERT_EQ(lines.size(), 1u);
    const std::string expectedTail = " ms w 04220003" "1f" + std::string(118, '0');
    ASSERT_GE(lines[0].size(), expectedTail.size());
    EXPECT_EQ(lines[0].substr(lines[0].size() - expectedTail.size()), expectedTail);
    EXPECT_EQ(lines[0].size() - expectedTail.size(), lines[0].find(' '));  // leading microseconds
    EXPECT_EQ(protocol::ReportTrace::FormatLine(12, "kb", 'r', std::vector<uint8_t>{0xab, 0x01}), "12 kb r ab01");
}

}  // namespace
}  // namespace orvane
