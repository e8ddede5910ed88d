// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "device/hid/hidapi_backend.h"

namespace orvane::hid {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A pipe stands in for a hidraw node: the reader only needs a pollable, non-blocking fd.
struct Pipe {
    int fds[2] = {-1, -1};
    Pipe() { EXPECT_EQ(pipe2(fds, O_NONBLOCK | O_CLOEXEC), 0); }
    ~Pipe() {
        closeWriter();
        if (fds[0] >= 0) ::close(fds[0]);
    }
    void send(std::initializer_list<uint8_t> bytes) {
        const std::vector<uint8_t> v(bytes);
        ASSERT_EQ(::write(fds[1], v.data(), v.size()), static_cast<ssize_t>(v.size()));
    }
    void closeWriter() {
        if (fds[1] >= 0) ::close(fds[1]);
        fds[1] = -1;
    }
};

TEST(HidapiBackendReader, ReadsWhatIsThere) {
    Pipe p;
    AbortableReader reader(p.fds[0]);
    ASSERT_TRUE(reader.valid());
    p.send({3, 0x02, 0x04});
    uint8_t buffer[8] = {};
    size_t n = 0;
    ASSERT_TRUE(reader.read(buffer, 1000, n));
    EXPECT_EQ(n, 3u);
    EXPECT_EQ(buffer[1], 0x02);
}

TEST(HidapiBackendReader, TimesOutWhenNothingComes) {
    Pipe p;
    AbortableReader reader(p.fds[0]);
    uint8_t buffer[8];
    size_t n = 99;
    const auto start = Clock::now();
    EXPECT_FALSE(reader.read(buffer, 300, n));
    EXPECT_EQ(n, 0u);
    EXPECT_GE(Clock::now() - start, 250ms);
}

TEST(HidapiBackendReader, AbortFromAnotherThreadEndsAWaitingRead) {
    Pipe p;
    AbortableReader reader(p.fds[0]);
    uint8_t buffer[8];
    size_t n = 0;
    const auto start = Clock::now();
    std::jthread aborter([&] {
        std::this_thread::sleep_for(50ms);
        reader.abort();
    });
    EXPECT_FALSE(reader.read(buffer, 60'000, n));
    EXPECT_LT(Clock::now() - start, 30s);  // far below the read's own time-out
    // Consumed: the next read waits for data again and gets it.
    aborter.join();
    p.send({1});
    EXPECT_TRUE(reader.read(buffer, 1000, n));
}

TEST(HidapiBackendReader, AbortBeforeTheWaitFailsExactlyTheNextRead) {
    Pipe p;
    AbortableReader reader(p.fds[0]);
    reader.abort();
    p.send({1});
    uint8_t buffer[8];
    size_t n = 0;
    EXPECT_FALSE(reader.read(buffer, 60'000, n));
    EXPECT_TRUE(reader.read(buffer, 1000, n));  // the data is still there, not lost
    EXPECT_EQ(n, 1u);
}

TEST(HidapiBackendReader, VanishedDeviceFailsAtOnce) {
    Pipe p;
    AbortableReader reader(p.fds[0]);
    p.closeWriter();
    uint8_t buffer[8];
    size_t n = 0;
    const auto start = Clock::now();
    EXPECT_FALSE(reader.read(buffer, 60'000, n));
    EXPECT_LT(Clock::now() - start, 30s);
}

TEST(HidapiBackend, OpenErrorsFollowErrno) {
    const std::pair<int, OpenError> cases[] = {
        {ENOENT, OpenError::NotFound},        {ENODEV, OpenError::NotFound},
        {EACCES, OpenError::PermissionDenied}, {EPERM, OpenError::PermissionDenied},
        {EBUSY, OpenError::Busy},             {EWOULDBLOCK, OpenError::Busy},
        {EIO, OpenError::Other},
    };
    for (const auto& [err, expected] : cases) EXPECT_EQ(OpenErrorFromErrno(err), expected) << err;
}

TEST(HidapiBackend, MissingNodeIsNotFoundAndNotPresent) {
    HidapiBackend backend;
    OpenError error = OpenError::None;
    EXPECT_EQ(backend.open("/dev/hidraw-orvane-missing", OpenMode{}, &error), nullptr);
    EXPECT_EQ(error, OpenError::NotFound);
    EXPECT_FALSE(backend.probePresent("/dev/hidraw-orvane-missing"));
    EXPECT_FALSE(backend.probePresent(""));
    EXPECT_TRUE(backend.probePresent("/dev/null"));  // any character device node counts
    std::vector<InterfaceInfo> all;
    EXPECT_TRUE(backend.enumerate(all));  // none on a machine without HID devices, but no failure
}

TEST(HidapiBackend, NodeWithoutDescriptorDoesNotOpen) {
    HidapiBackend backend;
    OpenError error = OpenError::None;
    OpenMode readOnly;
    readOnly.write = false;
    EXPECT_EQ(backend.open("/dev/null", readOnly, &error), nullptr);
    EXPECT_EQ(error, OpenError::Other);
    EXPECT_TRUE(ReadReportDescriptor("/dev/hidraw-orvane-missing", -1).empty());
}

}  // namespace
}  // namespace orvane::hid
