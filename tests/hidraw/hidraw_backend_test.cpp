// SPDX-License-Identifier: GPL-3.0-or-later
// The hidraw path alone: what only real nodes have. Enumeration lists every hidraw interface
// (also those that are not ours), a node the user may not open gives the permission error
// with the udev hint, and the report descriptor reads the same from sysfs and by ioctl.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <future>

#include "device/discovery.h"
#include "device/hid/hidapi_backend.h"
#include "device/hid/report_descriptor.h"
#include "sim/descriptors.h"
#include "support/device_bed.h"

namespace orvane {
namespace {

using device::DeviceModel;

static_assert(testing::DeviceBed::kHidraw, "these tests run on hidraw nodes only");

// Runs fn on a thread that may not override file permissions: root's CAP_DAC_OVERRIDE and
// CAP_DAC_READ_SEARCH leave its effective set (capabilities are per thread), so a node's
// mode counts as it does for a user.
template <class Fn>
auto AsAUser(Fn fn) {
    return std::async(std::launch::async, [&fn] {
               __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
               __user_cap_data_struct data[2]{};
               if (syscall(SYS_capget, &header, data) == 0) {
                   data[0].effective &= ~(CAP_TO_MASK(CAP_DAC_OVERRIDE) | CAP_TO_MASK(CAP_DAC_READ_SEARCH));
                   EXPECT_EQ(syscall(SYS_capset, &header, data), 0);
               }
               return fn();
           })
        .get();
}

TEST(HidrawBackend, EnumerationListsEveryHidrawInterfaceWithItsSysfsIdentity) {
    testing::DeviceBed bed;
    bed.addList("kb1,mp");
    std::vector<hid::InterfaceInfo> all;
    ASSERT_TRUE(bed.backend().enumerate(all));
    // Both interfaces of each: the consumer-control ones of these two models are not ours.
    ASSERT_EQ(all.size(), 4u);
    for (const auto& info : all) {
        SCOPED_TRACE(info.path);
        EXPECT_EQ(info.path.rfind("/dev/hidraw", 0), 0u);
        EXPECT_TRUE(device::ModelFor(info.vendorId, info.productId).has_value());
        const bool config = info.usagePage == device::kConfigUsagePage;
        EXPECT_EQ(info.usage, config ? device::kConfigUsage : device::kConsumerUsage);
        EXPECT_EQ(device::MatchInterface(info).has_value(), config);
    }
    std::vector<device::FoundInterface> ours;
    ASSERT_TRUE(device::FindOurInterfaces(bed.backend(), ours));
    EXPECT_EQ(ours.size(), 2u);
}

TEST(HidrawBackend, ANodeTheUserMayNotOpenGivesThePermissionErrorWithTheUdevHint) {
    testing::DeviceBed bed;
    auto& mouse = bed.add(DeviceModel::Mouse);
    bed.hidraw.denyAccess(mouse);
    protocol::DeviceConnection connection(bed.backend(), "ms");
    const auto error = AsAUser([&] { return device::ConnectFirst(device::DeviceKind::Mouse, connection); });
    EXPECT_EQ(error, device::ConnectError::PermissionDenied);
    EXPECT_NE(std::string(device::ConnectErrorText(error)).find("60-orvane.rules"), std::string::npos);
    EXPECT_FALSE(connection.connected);

    hid::OpenError openError = hid::OpenError::None;
    const auto path = bed.hidraw.nodes(mouse).front();
    EXPECT_EQ(AsAUser([&] { return bed.backend().open(path, hid::OpenMode{}, &openError); }), nullptr);
    EXPECT_EQ(openError, hid::OpenError::PermissionDenied);
    // With the rights the udev rules give, the same node opens.
    EXPECT_EQ(device::ConnectFirst(device::DeviceKind::Mouse, connection), device::ConnectError::None);
}

TEST(HidrawBackend, TheReportDescriptorReadsTheSameFromSysfsAndByIoctl) {
    testing::DeviceBed bed;
    auto& keyboard = bed.add(DeviceModel::RgbKeyboard);
    const auto nodes = bed.hidraw.nodes(keyboard);
    ASSERT_EQ(nodes.size(), 2u);
    const std::span<const uint8_t> expected[] = {sim::ConfigInterfaceDescriptor(), sim::ConsumerInterfaceDescriptor()};
    for (size_t i = 0; i < nodes.size(); ++i) {
        SCOPED_TRACE(nodes[i]);
        const int fd = ::open(nodes[i].c_str(), O_RDWR | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        const std::vector<uint8_t> want(expected[i].begin(), expected[i].end());
        EXPECT_EQ(hid::ReadReportDescriptor(nodes[i], fd), want);      // sysfs
        EXPECT_EQ(hid::ReadReportDescriptor("/nowhere/node", fd), want);  // no sysfs entry: the ioctl
        EXPECT_TRUE(hid::ReadReportDescriptor("/nowhere/node", -1).empty());
        ::close(fd);
    }
}

}  // namespace
}  // namespace orvane
