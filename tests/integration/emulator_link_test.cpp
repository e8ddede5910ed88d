// SPDX-License-Identifier: GPL-3.0-or-later
// The protocol against the emulated devices: identities, faults, unplug and replug, slow
// replies, abort, notifications and the trace.

#include <gtest/gtest.h>

#include <thread>

#include "device/discovery.h"
#include "device/hid/hid_device.h"
#include "device/protocol/commands.h"
#include "device/protocol/exchange.h"
#include "device/protocol/trace.h"
#include "sim/emulator.h"
#include "sim/firmware_device.h"

namespace orvane {
namespace {

using device::DeviceKind;
using device::DeviceModel;
using sim::Fault;
using sim::FaultKind;

struct Rig {
    sim::EmulatorBackend backend;
    sim::EmulatedDevice* mouse = nullptr;
    protocol::DeviceConnection connection{backend, "ms"};
    Rig() {
        backend.setLink({std::chrono::microseconds(0)});
        mouse = &backend.add(DeviceModel::Mouse);
        EXPECT_EQ(device::ConnectFirst(DeviceKind::Mouse, connection), device::ConnectError::None);
    }
};

TEST(EmulatedDevices, EveryModelIsFoundByItsIdentity) {
    struct Case { const char* list; DeviceKind kind; DeviceModel model; uint16_t product; };
    for (const auto& c : {Case{"kb", DeviceKind::Keyboard, DeviceModel::RgbKeyboard, 0x3021},
                          Case{"kb1", DeviceKind::Keyboard, DeviceModel::MonoKeyboard, 0x0000},
                          Case{"ms", DeviceKind::Mouse, DeviceModel::Mouse, 0x5523},
                          Case{"ms2", DeviceKind::Mouse, DeviceModel::Mouse2, 0x6717},
                          Case{"mp", DeviceKind::Mousepad, DeviceModel::Mousepad, 0x5104}}) {
        sim::EmulatorBackend backend;
        backend.setLink({std::chrono::microseconds(0)});
        ASSERT_TRUE(backend.addFromList(c.list));
        protocol::DeviceConnection connection(backend, "x");
        DeviceModel found{};
        ASSERT_EQ(device::ConnectFirst(c.kind, connection, &found), device::ConnectError::None) << c.list;
        EXPECT_EQ(found, c.model);
        EXPECT_EQ(connection.productId, c.product);
        protocol::DeviceInfoBytes info{};
        EXPECT_EQ(protocol::ReadDeviceInfo(connection, info), protocol::kOk) << c.list;
    }
    sim::EmulatorBackend backend;
    std::string error;
    EXPECT_FALSE(backend.addFromList("kb,xx", &error));
    EXPECT_NE(error.find("xx"), std::string::npos);
    EXPECT_TRUE(backend.devices().empty());
}

TEST(EmulatedDevices, KeyboardAndMiceHaveANotificationInterface) {
    sim::EmulatorBackend backend;
    backend.addFromList("kb,kb1,ms,ms2,mp");
    std::vector<device::FoundInterface> found;
    ASSERT_TRUE(device::FindOurInterfaces(backend, found));
    int notifications = 0;
    for (const auto& f : found) notifications += f.match.role == device::InterfaceRole::Notification;
    EXPECT_EQ(found.size(), 5u + 3u);
    EXPECT_EQ(notifications, 3);
}

TEST(EmulatorFaults, RetriesAndResults) {
    struct Case { FaultKind kind; int times; int32_t result; uint64_t requests; };
    for (const auto& c : {Case{FaultKind::NoReply, 1, protocol::kOk, 2},
                          Case{FaultKind::NoReply, 3, protocol::kOk, 4},
                          Case{FaultKind::NoReply, -1, protocol::kNoReply, 4},
                          Case{FaultKind::FailWrite, 1, protocol::kWriteFailed, 1},
                          Case{FaultKind::RefuseFF, 1, protocol::kRefusedFF, 1},
                          Case{FaultKind::RefuseFE, 1, protocol::kRefusedFE, 1}}) {
        Rig rig;
        rig.mouse->addFault(Fault::OnCommand(protocol::kBeginTransfer, c.kind, c.times));
        EXPECT_EQ(protocol::BeginTransfer(rig.connection), c.result) << int(c.kind) << "/" << c.times;
        EXPECT_EQ(rig.mouse->requestCount(), c.requests);
    }
}

TEST(EmulatorFaults, RefusalOnThirdChunkOfABankWrite) {
    Rig rig;
    rig.mouse->addFault(Fault::AtReport(3, FaultKind::RefuseFE));
    std::vector<uint8_t> page(512, 0x33);
    EXPECT_EQ(protocol::WriteBank(rig.connection, 0, page), protocol::kRefusedFE);
    EXPECT_EQ(rig.mouse->requestCount(), 3u);
}

TEST(EmulatorFaults, UnplugMidTransferAndReplug) {
    Rig rig;
    Fault unplug = Fault::AtReport(4, FaultKind::Unplug);
    unplug.replugAfter = std::chrono::milliseconds(200);
    rig.mouse->addFault(unplug);
    std::vector<uint8_t> page(512, 0xAB);
    EXPECT_EQ(protocol::ReadBank(rig.connection, 0, page), protocol::kWriteFailed);
    EXPECT_EQ(page[3 * 56], 0xAB);  // the chunk that failed copied nothing
    EXPECT_FALSE(rig.connection.device.probePresent());
    EXPECT_EQ(protocol::BeginTransfer(rig.connection), protocol::kWriteFailed);  // the old handle is dead

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!rig.connection.device.probePresent() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(rig.connection.device.probePresent());
    EXPECT_EQ(protocol::BeginTransfer(rig.connection), protocol::kWriteFailed);  // still the old handle
    ASSERT_TRUE(rig.connection.device.open());
    EXPECT_EQ(protocol::BeginTransfer(rig.connection), protocol::kOk);
}

TEST(EmulatorFaults, LateReplyNeverLandsInABufferAfterTheReadGaveUp) {
    Rig rig;
    Fault slow = Fault::OnCommand(protocol::kReadDeviceInfo, FaultKind::SlowReply);
    slow.delay = std::chrono::milliseconds(600);
    rig.mouse->addFault(slow);
    protocol::Report reply{};
    reply.fill(0xCC);
    EXPECT_FALSE(protocol::ExchangeOnce(rig.connection, protocol::BuildSimpleRequest(3, 31, 0), &reply));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    for (uint8_t b : reply) EXPECT_EQ(b, 0xCC);
}

TEST(EmulatorFaults, ALateReplyIsNeverTakenForTheNextRequest) {
    // The reply to the information request comes after its read gave up: once while the
    // exchange still retries (it then reads that reply, and the retry's own reply waits in
    // the queue as on a real interface), once after all four attempts.
    for (const int late : {70, 220}) {
        SCOPED_TRACE(late);
        Rig rig;
        rig.connection.replyTimeoutMs = 50;
        Fault slow = Fault::OnCommand(protocol::kReadDeviceInfo, FaultKind::SlowReply);
        slow.delay = std::chrono::milliseconds(late);
        rig.mouse->addFault(slow);
        protocol::DeviceInfoBytes info{};
        const int32_t first = protocol::ReadDeviceInfo(rig.connection, info);
        EXPECT_EQ(first, late < 4 * 50 ? protocol::kOk : protocol::kNoReply);
        // Every later request gets its own reply: slot record 1 of the settings memory.
        for (int i = 0; i < 3; ++i) {
            std::array<uint8_t, 56> record{};
            ASSERT_EQ(protocol::ReadMemory(rig.connection, 64, record), protocol::kOk);
            std::vector<uint8_t> expected;
            rig.mouse->withFirmware([&](sim::Firmware& f) {
                const auto memory = static_cast<sim::DeviceFirmware&>(f).settingsMemory();
                expected.assign(memory.begin() + 64, memory.begin() + 120);
            });
            EXPECT_EQ(std::vector<uint8_t>(record.begin(), record.end()), expected) << "request " << i;
        }
    }
}

TEST(EmulatorFaults, ReadWithoutReplyTimesOutAndAbortEndsAWaitAtOnce) {
    Rig rig;
    std::array<uint8_t, 64> buffer{};
    size_t n = 0;
    EXPECT_FALSE(rig.connection.device.readReport(buffer, 300, n));  // nothing was asked
    EXPECT_EQ(n, 0u);

    std::thread aborter([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        rig.connection.device.abort();
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(rig.connection.device.readReport(buffer, 20'000, n));
    aborter.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_TRUE(rig.connection.device.isOpen());  // abort does not close
    EXPECT_EQ(protocol::BeginTransfer(rig.connection), protocol::kOk);
}

TEST(EmulatorNotifications, MouseUsagesArriveOnTheConsumerInterface) {
    Rig rig;
    std::vector<device::FoundInterface> found;
    ASSERT_TRUE(device::FindOurInterfaces(rig.backend, found));
    hid::HidDevice listener(rig.backend);
    for (const auto& f : found)
        if (f.match.role == device::InterfaceRole::Notification) listener.path = f.info.path;
    listener.mode = {.read = true, .write = false};
    ASSERT_TRUE(listener.open());
    ASSERT_FALSE(listener.inputItems.empty());
    ASSERT_TRUE(listener.inputItems[0].isButton);

    rig.mouse->sendNotification(0x0402);
    size_t n = 0;
    ASSERT_TRUE(listener.readReport(listener.inputReport, 500, n));
    listener.unpackInput(n);
    EXPECT_EQ(listener.inputItems[0].usages.at(0), 0x0402);
    ASSERT_TRUE(listener.readReport(listener.inputReport, 500, n));  // the release
    listener.unpackInput(n);
    EXPECT_EQ(listener.inputItems[0].usages.at(0), 0);
}

TEST(EmulatorTrace, DeviceInfoRequestAndReplyAreTraced) {
    Rig rig;
    std::vector<std::string> lines;
    protocol::ReportTrace trace([&](std::string_view l) { lines.emplace_back(l); });
    rig.connection.setTrace(&trace);
    protocol::DeviceInfoBytes info{};
    ASSERT_EQ(protocol::ReadDeviceInfo(rig.connection, info), protocol::kOk);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find(" ms w 042200031f00"), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find(" ms r 04"), std::string::npos) << lines[1];
    EXPECT_EQ(lines[1].size() - lines[1].rfind(' ') - 1, 128u);
}

}  // namespace
}  // namespace orvane
