// SPDX-License-Identifier: GPL-3.0-or-later
// Two processes on one device. Like hidraw, the emulator hands every reply to every open
// handle, so a second handle reading the keyboard's information record while the first
// streams lighting frames takes frame replies for its own unless each exchange holds the
// device's lock and drains first. Shown with two handles of one emulator, with one of them
// through the shared emulator's socket, and with orvanectl --simulate-shared as a process of
// its own; then the lock file's own cases and peers that misbehave on the socket.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "device/discovery.h"
#include "device/protocol/commands.h"
#include "device/protocol/connection.h"
#include "device/protocol/share_lock.h"
#include "platform/runtime_folder.h"
#include "sim/descriptors.h"
#include "sim/emulator.h"
#include "sim/shared_client.h"
#include "sim/shared_server.h"
#include "sim/shared_wire.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
using device::DeviceKind;
using device::DeviceModel;
using ShareClock = std::chrono::steady_clock;

/// A run-time folder of the test's own (XDG_RUNTIME_DIR), and the safeguards back on after.
class SharingFixture : public ::testing::Test {
protected:
    void SetUp() override {
        // Short: the socket's path must fit a sockaddr_un.
        static int counter = 0;
        root_ = fs::temp_directory_path() / ("osh-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        fs::remove_all(root_);
        fs::create_directories(root_);
        fs::permissions(root_, fs::perms::owner_all, fs::perm_options::replace);
        if (const char* old = std::getenv("XDG_RUNTIME_DIR")) oldRuntime_ = old;
        ::setenv("XDG_RUNTIME_DIR", root_.c_str(), 1);
        protocol::SetSafeguardsForTesting({});
    }
    void TearDown() override {
        protocol::SetSafeguardsForTesting({});
        if (oldRuntime_) ::setenv("XDG_RUNTIME_DIR", oldRuntime_->c_str(), 1);
        else ::unsetenv("XDG_RUNTIME_DIR");
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    fs::path root_;
    std::optional<std::string> oldRuntime_;
};

/// Lighting frames to the keyboard through one connection, back to back, until destroyed.
class FrameStream {
public:
    explicit FrameStream(protocol::DeviceConnection& c) {
        thread_ = std::jthread([&c, this](std::stop_token stop) {
            std::vector<uint8_t> frame(378, 0x5A);
            while (!stop.stop_requested()) {
                if (protocol::WriteLightingFrame(c, frame) == protocol::kOk) ++frames;
                else ++failures;
            }
        });
    }
    std::atomic<size_t> frames{0}, failures{0};

private:
    std::jthread thread_;
};

/// Of n reads of the information record, those that did not bring the record back.
int WrongInfoReads(protocol::DeviceConnection& c, const protocol::DeviceInfoBytes& expected, int n) {
    int wrong = 0;
    for (int i = 0; i < n; ++i) {
        protocol::DeviceInfoBytes info{};
        if (protocol::ReadDeviceInfo(c, info) != protocol::kOk || info != expected) ++wrong;
    }
    return wrong;
}

struct SharedRig {
    sim::EmulatorBackend emulator;
    std::unique_ptr<sim::EmulatorServer> server;
    std::unique_ptr<sim::SharedEmulatorBackend> remote;
    protocol::DeviceConnection streaming{emulator, "kb"};
    std::unique_ptr<protocol::DeviceConnection> reading;
    protocol::DeviceInfoBytes expected{};

    explicit SharedRig(bool throughSocket) {
        emulator.setLink({std::chrono::microseconds(200)});
        emulator.add(DeviceModel::RgbKeyboard);
        emulator.shareDevices();
        hid::Backend* readBackend = &emulator;
        if (throughSocket) {
            server = std::make_unique<sim::EmulatorServer>(emulator);
            std::string problem;
            const auto socket = sim::EmulatorServer::DefaultSocket(problem);
            EXPECT_TRUE(server->start(socket, problem)) << problem;
            remote = std::make_unique<sim::SharedEmulatorBackend>(socket);
            readBackend = remote.get();
        }
        reading = std::make_unique<protocol::DeviceConnection>(*readBackend, "kb");
        EXPECT_EQ(device::ConnectFirst(DeviceKind::Keyboard, streaming), device::ConnectError::None);
        EXPECT_EQ(device::ConnectFirst(DeviceKind::Keyboard, *reading), device::ConnectError::None);
        EXPECT_EQ(protocol::ReadDeviceInfo(*reading, expected), protocol::kOk);
    }
};

TEST_F(SharingFixture, TheLockAndTheDrainKeepAnotherHandlesRepliesOut) {
    struct Case { bool socket, lock, drain, fault; };
    for (const auto& c : {Case{false, true, true, false}, Case{false, false, true, true}, Case{false, true, false, true},
                          Case{true, true, true, false}, Case{true, false, true, true}, Case{true, true, false, true}}) {
        SCOPED_TRACE(::testing::Message() << "socket " << c.socket << " lock " << c.lock << " drain " << c.drain);
        SharedRig rig(c.socket);
        protocol::SetSafeguardsForTesting({c.lock, c.drain});
        int wrong = 0;
        {
            FrameStream stream(rig.streaming);
            while (stream.frames < 3) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            wrong = WrongInfoReads(*rig.reading, rig.expected, 150);
            EXPECT_GT(stream.frames, 3u);
            if (!c.fault) EXPECT_EQ(stream.failures, 0u);
        }
        protocol::SetSafeguardsForTesting({});
        if (c.fault) EXPECT_GT(wrong, 0) << "the fault the safeguard prevents did not show";
        else EXPECT_EQ(wrong, 0);
    }
}

/// Runs a command through the shell; its output and exit code.
std::pair<std::string, int> RunShell(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return {"", -1};
    std::array<char, 4096> buffer{};
    size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) out.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    return {out, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

TEST_F(SharingFixture, OrvanectlThroughTheSharedEmulatorReadsRightWhileFramesStream) {
    SharedRig rig(true);
    const std::string tool = std::string(ORVANECTL) + " --simulate-shared ";
    const auto [baseline, rc] = RunShell(tool + "info kb");
    ASSERT_EQ(rc, 0) << baseline;
    ASSERT_NE(baseline.find("record\t"), std::string::npos) << baseline;
    {
        FrameStream stream(rig.streaming);
        for (int i = 0; i < 12; ++i) {
            const auto [out, code] = RunShell(tool + "info kb");
            EXPECT_EQ(code, 0) << out;
            EXPECT_EQ(out, baseline) << "run " << i;
        }
        const auto [json, code] = RunShell(tool + "readback kb");
        EXPECT_EQ(code, 0) << json;
        EXPECT_EQ(stream.failures, 0u);
    }
    // Without the safeguards, in this process and the tool's, a frame's reply is read as
    // the record: the test above can fail.
    protocol::SetSafeguardsForTesting({false, false});
    int wrongRuns = 0;
    {
        FrameStream stream(rig.streaming);
        for (int i = 0; i < 12 && wrongRuns == 0; ++i)
            if (RunShell("ORVANE_TEST_SHARING=nolock,nodrain " + tool + "info kb").first != baseline) ++wrongRuns;
    }
    EXPECT_GT(wrongRuns, 0);
}

TEST_F(SharingFixture, ABusyDeviceIsAClearFailureAndALockLeftByADeadProcessIsFree) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        protocol::DeviceShareLock lock("sim-kb-0");
        int pid = 0;
        std::string problem;
        const bool held = lock.acquire(std::chrono::milliseconds(1000), pid, problem) == protocol::DeviceShareLock::State::Held;
        [[maybe_unused]] ssize_t n = ::write(ready[1], held ? "h" : "x", 1);
        ::pause();
        ::_exit(0);
    }
    char mark = 0;
    ASSERT_EQ(::read(ready[0], &mark, 1), 1);
    ASSERT_EQ(mark, 'h');

    sim::EmulatorBackend emulator;
    emulator.setLink({std::chrono::microseconds(0)});
    auto& keyboard = emulator.add(DeviceModel::RgbKeyboard);
    emulator.shareDevices();
    protocol::DeviceConnection c(emulator, "kb");
    ASSERT_EQ(device::ConnectFirst(DeviceKind::Keyboard, c), device::ConnectError::None);
    c.shareLockWaitMs = 300;
    const uint64_t sent = keyboard.requestCount();
    protocol::DeviceInfoBytes info{};
    const auto start = ShareClock::now();
    EXPECT_EQ(protocol::ReadDeviceInfo(c, info), protocol::kDeviceBusy);
    EXPECT_LT(ShareClock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(std::string(protocol::ResultText(protocol::kDeviceBusy)),
              "the device is busy in another program (pid " + std::to_string(holder) + ")");
    EXPECT_EQ(keyboard.requestCount(), sent);  // nothing went out

    // The holder dies without letting go: its file stays, with its pid, and locks nothing.
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    EXPECT_TRUE(fs::exists(root_ / "orvane" / "sim-kb-0.lock"));
    EXPECT_EQ(protocol::ReadDeviceInfo(c, info), protocol::kOk);
    std::ifstream file(root_ / "orvane" / "sim-kb-0.lock");
    int written = 0;
    file >> written;
    EXPECT_EQ(written, ::getpid());
}

TEST_F(SharingFixture, AnUnusableRunTimeFolderIsAClearErrorNotAHang) {
    struct Case { const char* name; std::function<fs::path(const fs::path&)> make; const char* says; };
    const Case cases[] = {
        {"a file", [](const fs::path& r) { std::ofstream(r / "file") << "x"; return r / "file"; }, "cannot make the run-time folder"},
        {"open to others", [](const fs::path& r) {
             fs::create_directories(r / "open" / "orvane");
             fs::permissions(r / "open" / "orvane", fs::perms::owner_all | fs::perms::group_read | fs::perms::others_exec);
             return r / "open"; }, "open to other users"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ::setenv("XDG_RUNTIME_DIR", c.make(root_).c_str(), 1);
        sim::EmulatorBackend emulator;
        auto& keyboard = emulator.add(DeviceModel::RgbKeyboard);
        emulator.shareDevices();
        protocol::DeviceConnection conn(emulator, "kb");
        ASSERT_EQ(device::ConnectFirst(DeviceKind::Keyboard, conn), device::ConnectError::None);
        const uint64_t sent = keyboard.requestCount();
        protocol::DeviceInfoBytes info{};
        const auto start = ShareClock::now();
        EXPECT_EQ(protocol::ReadDeviceInfo(conn, info), protocol::kLockUnavailable);
        EXPECT_LT(ShareClock::now() - start, std::chrono::seconds(2));
        EXPECT_NE(std::string(protocol::ResultText(protocol::kLockUnavailable)).find(c.says), std::string::npos)
            << protocol::ResultText(protocol::kLockUnavailable);
        EXPECT_EQ(keyboard.requestCount(), sent);
    }
}

int RawClient(const fs::path& socket) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socket.c_str(), sizeof address.sun_path - 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

/// Whether the peer closed the connection within `limit` (reads and drops what comes first).
bool ClosedWithin(int fd, std::chrono::milliseconds limit) {
    const auto deadline = ShareClock::now() + limit;
    std::array<uint8_t, 4096> buffer{};
    while (ShareClock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0) continue;
        if (::recv(fd, buffer.data(), buffer.size(), 0) <= 0) return true;
    }
    return false;
}

TEST_F(SharingFixture, TheSharedEmulatorClosesHostileClientsAndServesTheOthers) {
    SharedRig rig(true);
    rig.server->partialTimeout = std::chrono::milliseconds(300);
    std::string problem;
    const auto socket = sim::EmulatorServer::DefaultSocket(problem);
    EXPECT_EQ(fs::status(socket).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    struct Case { const char* name; std::vector<uint8_t> bytes; };
    const Case cases[] = {
        {"unknown type", {0x7F, 0x00, 0x00}},
        {"a type meant for clients", {0x86, 0x01, 0x00, 0x04}},
        {"oversized", {0x04, 0xFF, 0xFF, 0x00}},
        {"half a message, then silence", {0x04, 0x40, 0x00, 0x04, 0x01}},
        {"a write before any open", sim::wire::Encode(sim::wire::Type::Write, sim::wire::Out().bytes(std::vector<uint8_t>(64)).data())},
        {"a report over the bound", [] {
             auto open = sim::wire::Encode(sim::wire::Type::Open, sim::wire::Out().text("sim:kb-0:cfg").data());
             auto write = sim::wire::Encode(sim::wire::Type::Write, sim::wire::Out().bytes(std::vector<uint8_t>(2000)).data());
             open.insert(open.end(), write.begin(), write.end());
             return open; }()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int fd = RawClient(socket);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::send(fd, c.bytes.data(), c.bytes.size(), MSG_NOSIGNAL), ssize_t(c.bytes.size()));
        EXPECT_TRUE(ClosedWithin(fd, std::chrono::seconds(3)));
        ::close(fd);
    }
    // Past the limit, connections are closed at once.
    std::vector<int> many;
    for (size_t i = 0; i < sim::EmulatorServer::kMaxSessions + 4; ++i) many.push_back(RawClient(socket));
    const auto until = ShareClock::now() + std::chrono::seconds(3);
    while (rig.server->refused() < 4 && ShareClock::now() < until) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_GE(rig.server->refused(), 4u);
    EXPECT_LE(rig.server->sessions(), sim::EmulatorServer::kMaxSessions);
    for (int fd : many) ::close(fd);
    // The device and the clients that behave are as they were.
    EXPECT_EQ(WrongInfoReads(*rig.reading, rig.expected, 5), 0);
    EXPECT_EQ(WrongInfoReads(rig.streaming, rig.expected, 5), 0);
}

TEST_F(SharingFixture, AnEmulatorThatGoesOrMisbehavesIsADeviceGone) {
    {
        SharedRig rig(true);
        std::atomic<int32_t> result{protocol::kOk};
        std::thread upload([&] {
            std::vector<uint8_t> blob(56 * 400, 0x11);
            result = protocol::WriteMacroBlob(*rig.reading, blob);
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        const auto start = ShareClock::now();
        rig.server->stop();  // the emulating process is gone, mid-transfer
        upload.join();
        EXPECT_LT(ShareClock::now() - start, std::chrono::seconds(5));
        EXPECT_NE(result.load(), protocol::kOk);
        EXPECT_FALSE(rig.reading->device.probePresent());
        std::vector<hid::InterfaceInfo> list;
        EXPECT_TRUE(rig.remote->enumerate(list));
        EXPECT_TRUE(list.empty());
        EXPECT_EQ(WrongInfoReads(rig.streaming, rig.expected, 3), 0);  // the device itself is whole
    }
    // An emulator that answers the open, then sends a report over the bound.
    const fs::path socket = root_ / "fake.sock";
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socket.c_str(), sizeof address.sun_path - 1);
    const int listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 4), 0);
    std::thread fake([&] {
        const int fd = ::accept(listener, nullptr, nullptr);
        std::array<uint8_t, 1024> request{};
        [[maybe_unused]] ssize_t n = ::recv(fd, request.data(), request.size(), 0);
        hid::InterfaceInfo info{"sim:kb-0:cfg", 0x264A, 0x3021, 0x0100, 0xFF1C, 0x0092, 1, "fake-kb"};
        auto opened = sim::wire::Encode(sim::wire::Type::Opened,
                                        sim::wire::Out().u8(0).info(info).bytes(sim::ConfigInterfaceDescriptor()).data());
        const std::vector<uint8_t> oversized{0x86, 0xFF, 0xFF};
        opened.insert(opened.end(), oversized.begin(), oversized.end());
        n = ::send(fd, opened.data(), opened.size(), MSG_NOSIGNAL);
        char rest[256];
        while (::recv(fd, rest, sizeof rest, 0) > 0) {
        }
        ::close(fd);
    });
    sim::SharedEmulatorBackend backend(socket);
    backend.replyTimeout = std::chrono::milliseconds(500);
    auto handle = backend.open("sim:kb-0:cfg", hid::OpenMode{});
    ASSERT_NE(handle, nullptr);
    std::array<uint8_t, 64> report{};
    size_t n = 0;
    const auto start = ShareClock::now();
    EXPECT_FALSE(handle->read(report, 2000, n));
    EXPECT_FALSE(handle->write(report, 1000, n));
    EXPECT_LT(ShareClock::now() - start, std::chrono::seconds(2));
    handle.reset();
    fake.join();
    ::close(listener);
}

}  // namespace
}  // namespace orvane
