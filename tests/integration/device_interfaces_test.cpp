// SPDX-License-Identifier: GPL-3.0-or-later
// Every device's interfaces as the program finds and opens them, on the emulator and, in the
// hidraw tests, through hidapi on hidraw nodes: both interfaces and the identity of each
// model, the notification reports of the consumer-control interface, a read that waits until
// it is aborted, and a device that goes away while a read waits.

#include <gtest/gtest.h>

#include <future>
#include <set>
#include <thread>

#include "device/discovery.h"
#include "device/protocol/commands.h"
#include "sim/firmware_device.h"
#include "support/device_bed.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using device::DeviceModel;
using device::InterfaceRole;

std::string PathOf(hid::Backend& backend, DeviceModel model, InterfaceRole role) {
    std::vector<device::FoundInterface> found;
    EXPECT_TRUE(device::FindOurInterfaces(backend, found));
    for (const auto& f : found)
        if (f.match.model == model && f.match.role == role) return f.info.path;
    return {};
}

/// Opens the interface at path on a connection of its own, as the monitors do.
bool OpenOn(protocol::DeviceConnection& connection, const std::string& path, bool write = true) {
    connection.device.path = path;
    connection.device.mode = {.read = true, .write = write};
    hid::OpenError error = hid::OpenError::None;
    const bool opened = connection.device.open(&error);
    EXPECT_EQ(error, opened ? hid::OpenError::None : hid::OpenError::NotFound) << path;
    connection.connected = opened;
    return opened;
}

TEST(DeviceInterfaces, EveryModelIsFoundWithItsInterfacesAndItsIdentity) {
    testing::DeviceBed bed;
    bed.addList("kb,kb1,ms,ms2,mp");
    std::vector<device::FoundInterface> found;
    ASSERT_TRUE(device::FindOurInterfaces(bed.backend(), found));
    std::set<std::pair<DeviceModel, InterfaceRole>> seen;
    for (const auto& f : found) {
        SCOPED_TRACE(std::string(device::Identity(f.match.model).shortName) + " " + f.info.path);
        EXPECT_TRUE(seen.insert({f.match.model, f.match.role}).second) << "listed once";
        const bool config = f.match.role == InterfaceRole::Configuration;
        EXPECT_EQ(f.info.interfaceNumber, config ? 1 : 2);
        EXPECT_EQ(f.info.versionNumber, 0x0100);

        protocol::DeviceConnection connection(bed.backend(), "x");
        ASSERT_TRUE(OpenOn(connection, f.info.path, config));
        const auto attributes = connection.device.attributes();
        const auto caps = connection.device.caps();
        EXPECT_EQ(attributes.vendorId, device::Identity(f.match.model).vendorId);
        EXPECT_EQ(attributes.productId, device::Identity(f.match.model).productId);
        EXPECT_EQ(attributes.versionNumber, 0x0100);
        EXPECT_EQ(attributes.interfaceNumber, f.info.interfaceNumber);
        EXPECT_EQ(caps.usagePage, config ? device::kConfigUsagePage : device::kConsumerUsagePage);
        EXPECT_EQ(caps.inputReportByteLength, config ? 64 : 3);
        if (config) {
            protocol::DeviceInfoBytes info{};
            EXPECT_EQ(protocol::ReadDeviceInfo(connection, info), protocol::kOk);
        }
    }
    // Five configuration interfaces; notifications from the RGB keyboard and both mice.
    EXPECT_EQ(found.size(), 8u);
    for (const auto& m : device::kModels) {
        EXPECT_TRUE(seen.count({m.model, InterfaceRole::Configuration})) << m.shortName;
        EXPECT_EQ(seen.count({m.model, InterfaceRole::Notification}), m.hasNotificationInterface ? 1u : 0u)
            << m.shortName;
    }
}

TEST(DeviceInterfaces, MouseNotificationsArriveOnTheConsumerInterface) {
    testing::DeviceBed bed;
    auto& mouse = bed.add(DeviceModel::Mouse);
    protocol::DeviceConnection config(bed.backend(), "ms"), listener(bed.backend(), "ms");
    ASSERT_TRUE(OpenOn(config, PathOf(bed.backend(), DeviceModel::Mouse, InterfaceRole::Configuration)));
    ASSERT_TRUE(OpenOn(listener, PathOf(bed.backend(), DeviceModel::Mouse, InterfaceRole::Notification), false));
    hid::HidDevice& in = listener.device;
    ASSERT_EQ(in.inputItems.size(), 1u);
    ASSERT_TRUE(in.inputItems[0].isButton);

    auto next = [&in]() -> int {
        size_t n = 0;
        if (!in.readReport(in.inputReport, 5000, n)) return -1;
        EXPECT_EQ(n, 3u) << "report id and one 16-bit usage";
        in.unpackInput(n);
        return in.inputItems[0].usages.at(0);
    };
    mouse.sendNotification(sim::kNotifySlotChanged);
    EXPECT_EQ(next(), sim::kNotifySlotChanged);
    EXPECT_EQ(next(), 0);  // the release
    // The mouse announces its own factory reset, asked for on the other interface.
    ASSERT_EQ(protocol::FactoryReset(config), protocol::kOk);
    EXPECT_EQ(next(), sim::kNotifySettingsChanged);
    EXPECT_EQ(next(), 0);
}

TEST(DeviceInterfaces, AnAbortEndsTheWaitingReadOrElseTheNextAndTheInterfaceStaysUsable) {
    testing::DeviceBed bed;
    bed.add(DeviceModel::Mousepad);
    protocol::DeviceConnection pad(bed.backend(), "mp");
    ASSERT_TRUE(OpenOn(pad, PathOf(bed.backend(), DeviceModel::Mousepad, InterfaceRole::Configuration)));
    std::array<uint8_t, 64> buffer{};
    auto read = std::async(std::launch::async, [&] {
        size_t n = 0;
        return pad.device.readReport(buffer, 60'000, n);
    });
    std::this_thread::sleep_for(50ms);
    pad.device.abort();
    ASSERT_EQ(read.wait_for(30s), std::future_status::ready) << "far below the read's own time-out";
    EXPECT_FALSE(read.get());
    EXPECT_TRUE(pad.device.isOpen());
    protocol::DeviceInfoBytes info{};
    EXPECT_EQ(protocol::ReadDeviceInfo(pad, info), protocol::kOk) << "an aborted read leaves writes alone";
    // Raised while no read waits, an abort is kept for the next read, and only for it.
    pad.device.abort();
    size_t n = 0;
    EXPECT_FALSE(pad.device.readReport(buffer, 60'000, n));
    EXPECT_EQ(protocol::ReadDeviceInfo(pad, info), protocol::kOk);
}

TEST(DeviceInterfaces, AReadWaitingWhenTheDeviceGoesAwayFailsAndTheDeviceIsGone) {
    testing::DeviceBed bed;
    auto& mouse = bed.add(DeviceModel::Mouse2);
    const auto configPath = PathOf(bed.backend(), DeviceModel::Mouse2, InterfaceRole::Configuration);
    protocol::DeviceConnection config(bed.backend(), "ms"), listener(bed.backend(), "ms");
    ASSERT_TRUE(OpenOn(config, configPath));
    ASSERT_TRUE(OpenOn(listener, PathOf(bed.backend(), DeviceModel::Mouse2, InterfaceRole::Notification), false));
    auto read = std::async(std::launch::async, [&] {
        size_t n = 0;
        return listener.device.readReport(listener.device.inputReport, 60'000, n);
    });
    std::this_thread::sleep_for(50ms);
    bed.unplug(mouse);
    ASSERT_EQ(read.wait_for(30s), std::future_status::ready) << "far below the read's own time-out";
    EXPECT_FALSE(read.get());

    EXPECT_FALSE(config.device.probePresent());
    EXPECT_FALSE(listener.device.probePresent());
    protocol::DeviceInfoBytes info{};
    EXPECT_EQ(protocol::ReadDeviceInfo(config, info), protocol::kWriteFailed);
    EXPECT_TRUE(PathOf(bed.backend(), DeviceModel::Mouse2, InterfaceRole::Configuration).empty());
    protocol::DeviceConnection again(bed.backend(), "ms");
    EXPECT_FALSE(OpenOn(again, configPath));
}

}  // namespace
}  // namespace orvane
