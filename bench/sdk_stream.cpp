// SPDX-License-Identifier: GPL-3.0-or-later
// orvane_sdk_stream: an OpenRGB SDK client setting every LED of all three emulated devices
// at a fixed rate against the program as main() builds it (offscreen, the SDK server on,
// the emulated keyboard, mouse and mousepad on a link of LINK_US per report).
//
// First the client floods each device for a few seconds: the frames that reach a device
// then are what its link allows (the link-limited rate). Then it sends RATE frames a second
// to each device for SECONDS and the program reports, per device, the frames that reached
// it against min(RATE, link-limited rate), the median and 90th percentile delay from the
// client's send to the device taking the whole frame, and the CPU the program used (its
// process less the client's own thread) as a share of one core.
//   orvane_sdk_stream [SECONDS] [RATE] [LINK_US]   (defaults 10, 60, 1000)
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "app/features.h"
#include "app/program.h"
#include "integrations/openrgb/sdk_controller.h"
#include "integrations/openrgb/sdk_packet.h"
#include "platform/pointer_settings.h"
#include "sim/emulator.h"
#include "ui/dialogs.h"

using namespace orvane;
namespace sdk = integrations::openrgb;
using Clock = std::chrono::steady_clock;

namespace {

constexpr uint8_t kMarker = 0x5A;  // the blue of every LED: marks the client's frames

bool RunUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

double CpuSeconds(int who) {
    rusage u{};
    getrusage(who, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

int64_t NowNs() { return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count(); }

// What reached the devices: frames counted per device, delays of the marked ones.
struct Arrivals {
    std::array<std::atomic<int64_t>, 65536> sentAt{};  // by sequence number
    std::mutex mutex;
    std::array<uint64_t, 3> frames{};
    std::vector<double> delayMs;
    bool measuring = false;

    void arrived(lighting::LightingDevice device, const lighting::OutsideFrame& frame) {
        // Every LED carries the sequence number in red and green and the marker in blue.
        const auto& p = frame.payload;
        for (size_t i = 0; i + 2 < p.size(); i += 3) {
            if (p[i + 2] != kMarker) continue;
            const int64_t sent = sentAt[size_t(p[i]) | size_t(p[i + 1]) << 8].load();
            std::lock_guard guard(mutex);
            ++frames[size_t(device)];
            if (measuring && sent != 0) delayMs.push_back(double(NowNs() - sent) / 1e6);
            return;
        }
    }
    void reset(bool measure) {
        std::lock_guard guard(mutex);
        frames = {};
        delayMs.clear();
        measuring = measure;
    }
};

// A blocking client on its own thread.
struct Client {
    int fd = -1;
    sdk::PacketReader reader;
    std::vector<size_t> ledCounts;

    bool open(uint16_t port) {
        fd = ::socket(AF_INET, SOCK_STREAM, 0);
        int one = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(port);
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    }
    void send(const std::vector<uint8_t>& bytes) {
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (n <= 0) return;
            done += size_t(n);
        }
    }
    std::optional<sdk::Packet> next() {
        sdk::Packet p;
        for (;;) {
            if (reader.next(p) == sdk::ReadStatus::Packet) return p;
            uint8_t buffer[65536];
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n <= 0) return std::nullopt;
            reader.feed({buffer, size_t(n)});
        }
    }
    bool describe() {
        const std::array<uint8_t, 4> version{uint8_t(sdk::kNewestProtocol), 0, 0, 0};
        send(sdk::EncodePacket(0, sdk::packet_id::kRequestProtocolVersion, version));
        if (!next()) return false;
        send(sdk::EncodePacket(0, sdk::packet_id::kRequestControllerCount));
        const auto count = next();
        if (!count || count->payload.size() != 4) return false;
        for (uint32_t i = 0; i < count->payload[0]; ++i) {
            send(sdk::EncodePacket(i, sdk::packet_id::kRequestControllerData, version));
            const auto data = next();
            const auto c = data ? sdk::DecodeController(data->payload, sdk::kNewestProtocol) : std::nullopt;
            if (!c) return false;
            ledCounts.push_back(c->leds.size());
        }
        return true;
    }
    void frame(uint32_t controller, uint16_t sequence) {
        const std::vector<sdk::Colour> colours(ledCounts[controller],
                                               sdk::Colour{uint8_t(sequence), uint8_t(sequence >> 8), kMarker});
        send(sdk::EncodePacket(controller, sdk::packet_id::kUpdateLeds, sdk::EncodeUpdateLeds(colours)));
    }
};

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    const int rate = argc > 2 ? std::atoi(argv[2]) : 60;
    const int linkUs = argc > 3 ? std::atoi(argv[3]) : 1000;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir scratch;
    sim::EmulatorBackend backend;
    backend.setLink({std::chrono::microseconds(linkUs)});
    for (auto m : {device::DeviceModel::RgbKeyboard, device::DeviceModel::Mouse, device::DeviceModel::Mousepad})
        backend.add(m);

    auto arrivals = std::make_unique<Arrivals>();
    app::ProgramOptions options;
    options.runtime.backend = &backend;
    options.runtime.dataFolder = std::filesystem::path(scratch.path().toStdString()) / "KX";
    options.runtime.defaultFolders = {std::filesystem::path(ORVANE_SOURCE_DIR) / "data" / "defaults"};
    options.runtime.pointerBackend = platform::MakeFallbackPointerBackend();
    options.runtime.pointerLog = [](std::string_view) {};
    options.runtime.animation.outsideSentHook = [&arrivals](lighting::LightingDevice d, const lighting::OutsideFrame& f) {
        arrivals->arrived(d, f);
    };
    options.window.skinFolder = QStringLiteral(ORVANE_SOURCE_DIR "/skin");
    options.window.mainIni = std::filesystem::path(scratch.path().toStdString()) / "main.ini";
    options.window.machineSettings = std::filesystem::path(scratch.path().toStdString()) / "machine.ini";
    options.window.tray = false;
    options.window.sdkServerPort = 0;  // any free port
    ui::ScriptedDialogs dialogs;
    options.window.dialogs = &dialogs;
    app::Program program(std::move(options));
    program.initialise();
    auto* feature = program.feature<app::SdkServerFeature>();
    auto& rt = program.runtime();
    if (!feature || !feature->server() ||
        !RunUntil([&] { return rt.connected(device::DeviceKind::Keyboard) && rt.connected(device::DeviceKind::Mouse) &&
                               rt.connected(device::DeviceKind::Mousepad); },
                  30000)) {
        std::fprintf(stderr, "orvane_sdk_stream: no server or the emulated devices did not arrive\n");
        return 1;
    }
    RunUntil([&] {  // the arrivals' profile work settles first
        for (auto kind : runtime::kDeviceKinds)
            if (!rt.jobs(kind).idle()) return false;
        return true;
    }, 3000);

    const uint16_t port = feature->server()->port();
    std::atomic<bool> flooding{true};
    std::atomic<bool> stop{false};
    std::atomic<double> clientCpu{0};  // the client thread's own CPU so far
    bool described = false;
    std::thread clientThread([&] {
        Client c;
        described = c.open(port) && c.describe();
        uint16_t sequence = 1;
        auto next = Clock::now();
        while (described && !stop) {
            if (!flooding) {
                next += std::chrono::nanoseconds(1'000'000'000LL / rate);
                std::this_thread::sleep_until(next);
            } else {
                std::this_thread::sleep_for(std::chrono::microseconds(500));
                next = Clock::now();
            }
            arrivals->sentAt[sequence].store(NowNs());
            for (uint32_t i = 0; i < c.ledCounts.size(); ++i) c.frame(i, sequence);
            sequence = sequence == 65535 ? 1 : uint16_t(sequence + 1);
            clientCpu = CpuSeconds(RUSAGE_THREAD);
        }
        ::close(c.fd);
    });

    // The program's own event loop, not a polling one: its CPU is what is measured.
    auto runFor = [&](int s) {
        QElapsedTimer clock;
        clock.start();
        QEventLoop loop;
        QTimer::singleShot(s * 1000, &loop, &QEventLoop::quit);
        loop.exec();
        return double(clock.nsecsElapsed()) / 1e9;
    };
    // The link-limited rate of each device: a client far faster than any link.
    runFor(1);
    arrivals->reset(false);
    const double floodSeconds = runFor(3);
    std::array<double, 3> linkRate{};
    {
        std::lock_guard guard(arrivals->mutex);
        for (size_t i = 0; i < 3; ++i) linkRate[i] = double(arrivals->frames[i]) / floodSeconds;
    }
    flooding = false;
    runFor(1);
    arrivals->reset(true);
    const double cpuBefore = CpuSeconds(RUSAGE_SELF);
    const double clientBefore = clientCpu;
    const double wall = runFor(seconds);
    const double cpuAfter = CpuSeconds(RUSAGE_SELF);
    const double clientShare = clientCpu - clientBefore;
    std::array<uint64_t, 3> frames{};
    std::vector<double> delays;
    {
        std::lock_guard guard(arrivals->mutex);
        frames = arrivals->frames;
        delays = arrivals->delayMs;
    }
    stop = true;
    clientThread.join();
    if (!described) {
        std::fprintf(stderr, "orvane_sdk_stream: the client could not read the controllers\n");
        return 1;
    }
    const double programCpu = std::max(0.0, cpuAfter - cpuBefore - clientShare);
    std::printf("link %d us per report; %d frames a second to each device for %.1f s:\n", linkUs, rate, wall);
    const char* names[] = {"keyboard", "mouse", "mousepad"};
    for (size_t i = 0; i < 3; ++i) {
        const double target = std::min(double(rate), linkRate[i]);
        const double got = double(frames[i]) / wall;
        std::printf("  %-9s link-limited %6.1f/s   target %5.1f/s   delivered %5.1f/s = %5.1f %%\n", names[i],
                    linkRate[i], target, got, target > 0 ? 100.0 * got / target : 0.0);
    }
    std::sort(delays.begin(), delays.end());
    if (!delays.empty())
        std::printf("  client send -> device took the frame: median %.2f ms   p90 %.2f ms   max %.2f ms (%zu frames)\n",
                    delays[delays.size() / 2], delays[delays.size() * 9 / 10], delays.back(), delays.size());
    std::printf("  program CPU: %.2f %% of one core (process %.3f s less client thread ~%.3f s over %.1f s)\n",
                100.0 * programCpu / wall, cpuAfter - cpuBefore, clientShare, wall);
    program.shutdown();
    return 0;
}
