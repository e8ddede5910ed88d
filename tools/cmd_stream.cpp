// SPDX-License-Identifier: GPL-3.0-or-later
// orvanectl stream: runs the four lighting workers against the devices for a while and
// prints the frames per second each device took, against what the tick and transfer
// times allow, and the CPU the whole process used.

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ostream>
#include <thread>

#include "device/discovery.h"
#include "keyboard/keyboard_device.h"
#include "lighting/animation_engine.h"
#include "mouse/mouse_device.h"
#include "mousepad/pad_device.h"
#include "tools/cli.h"

namespace orvane::cli {

namespace {

using lighting::LightingDevice;

struct StreamRequest {
    unsigned seconds = 0;
    std::optional<uint8_t> speed, brightness, sync;
    std::array<std::optional<uint8_t>, 3> mode;  // keyboard, mouse, pad
    double linkMs = 1.0;
};

bool ParseByte(const std::string& text, std::optional<uint8_t>& out) {
    const auto v = ParseNumber(text, 255);
    if (!v) return false;
    out = uint8_t(*v);
    return true;
}

std::optional<StreamRequest> Parse(const std::vector<std::string>& args, std::ostream& err) {
    StreamRequest r;
    if (args.empty()) return std::nullopt;
    {
        const auto seconds = ParseNumber(args[0], 3600);
        if (!seconds || *seconds == 0) {
            err << "orvanectl: stream: SECONDS must be 1-3600\n";
            return std::nullopt;
        }
        r.seconds = unsigned(*seconds);
    }
    for (size_t i = 1; i < args.size(); i += 2) {
        if (i + 1 >= args.size()) {
            err << "orvanectl: stream: missing value after " << args[i] << '\n';
            return std::nullopt;
        }
        const std::string& opt = args[i];
        const std::string& value = args[i + 1];
        bool ok = true;
        if (opt == "--speed") ok = ParseByte(value, r.speed);
        else if (opt == "--brightness") ok = ParseByte(value, r.brightness);
        else if (opt == "--kb") ok = ParseByte(value, r.mode[0]);
        else if (opt == "--ms") ok = ParseByte(value, r.mode[1]);
        else if (opt == "--mp") ok = ParseByte(value, r.mode[2]);
        else if (opt == "--sync") ok = ParseByte(value, r.sync);
        else {
            err << "orvanectl: stream: unknown option " << opt << '\n';
            return std::nullopt;
        }
        if (!ok) {
            err << "orvanectl: stream: bad value for " << opt << ": " << value << '\n';
            return std::nullopt;
        }
    }
    return r;
}

// Bytes 1-8 of a record with the overrides of the command line.
template <class Record>
void Override(Record& r, const StreamRequest& q, std::optional<uint8_t> mode) {
    if (mode) r.bytes[1] = *mode;
    if (q.brightness) r.bytes[2] = *q.brightness;
    if (q.speed) r.bytes[3] = *q.speed;
}

double CpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    const auto secs = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return secs(u.ru_utime) + secs(u.ru_stime);
}

// The frame period the pacing and the link allow: tick + the effect's sleep + one link
// time per report.
double CeilingFps(lighting::TickTiming t, double reportsPerFrame, double linkMs) {
    const double period = double(t.tickMs + t.extraMs) + reportsPerFrame * linkMs;
    return period > 0 ? 1000.0 / period : 0;
}

int RunStream(Context& ctx, const std::vector<std::string>& args) {
    const auto request = Parse(args, ctx.err);
    if (!request) return kExitUsage;

    std::array<std::unique_ptr<protocol::DeviceConnection>, 3> connections;
    const std::array<device::DeviceKind, 3> kinds{device::DeviceKind::Keyboard, device::DeviceKind::Mouse,
                                                  device::DeviceKind::Mousepad};
    keyboard::KeyboardModel keyboardModel;
    mouse::MouseModel mouseModel;
    mousepad::PadModel padModel;
    for (size_t i = 0; i < 3; ++i) {
        connections[i] = std::make_unique<protocol::DeviceConnection>(ctx.backend, std::string(device::KindTag(kinds[i])));
        connections[i]->setTrace(ctx.trace);
        device::DeviceModel model{};
        if (device::ConnectFirst(kinds[i], *connections[i], &model) != device::ConnectError::None) continue;
        switch (kinds[i]) {
        case device::DeviceKind::Keyboard:
            keyboardModel.model = model;
            keyboard::ReadBackKeyboard(*connections[i], keyboardModel);
            break;
        case device::DeviceKind::Mouse: mouse::ReadBackMouse(*connections[i], mouseModel); break;
        case device::DeviceKind::Mousepad: mousepad::ReadBackPad(*connections[i], padModel); break;
        }
    }
    keyboardModel.update([&](keyboard::KeyboardData& d) { Override(d.lighting, *request, request->mode[0]); });
    mouseModel.update([&](mouse::MouseData& d) { Override(d.state, *request, request->mode[1]); });
    padModel.update([&](mousepad::PadData& d) { Override(d.state, *request, request->mode[2]); });

    lighting::AnimationOptions options;
    options.keyboardStartWait = options.mouseStartWait = options.padStartWait = std::chrono::milliseconds(0);
    lighting::AnimationEngine engine({*connections[0], *connections[1], *connections[2], keyboardModel, mouseModel,
                                      padModel},
                                     options);
    for (auto device : {LightingDevice::Keyboard, LightingDevice::Mouse, LightingDevice::Pad})
        engine.requestReset(device);
    if (request->sync) {
        mouseModel.update([&](mouse::MouseData& d) { d.state.bytes[1] = *request->sync; });
        engine.copyForSameMode(LightingDevice::Mouse);
        engine.startSynchronised();
    }

    const double cpuBefore = CpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    {
        std::jthread keyboardWorker([&](std::stop_token s) { engine.runKeyboard(s); });
        std::jthread mouseWorker([&](std::stop_token s) { engine.runMouse(s); });
        std::jthread padWorker([&](std::stop_token s) { engine.runPad(s); });
        std::jthread syncWorker([&](std::stop_token s) { engine.runSynchronised(s); });
        std::this_thread::sleep_for(std::chrono::seconds(request->seconds));
    }  // the workers stop and are joined here
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = CpuSeconds() - cpuBefore;

    const char* names[] = {"kb", "ms", "mp"};
    char line[160];
    std::snprintf(line, sizeof line, "%-4s %-9s %5s %5s %8s %8s %8s %7s\n", "dev", "state", "mode", "speed", "frames",
                  "fps", "ceiling", "share");
    ctx.out << "streamed " << request->seconds << " s; ceiling at " << request->linkMs << " ms per report\n" << line;
    const std::array<lighting::LightingChoice, 3> choices{
        keyboardModel.read([](const auto& d) { return lighting::LightingChoice::Of(d.lighting); }),
        lighting::LightingChoice::Of(mouseModel.state()), lighting::LightingChoice::Of(padModel.state())};
    for (size_t i = 0; i < 3; ++i) {
        const auto device = LightingDevice(i);
        const auto& c = engine.counters(device);
        const double frames = double(c.accepted);
        const double fps = frames / wall;
        double reports = c.sent ? double(c.reports) / double(c.sent) : 0;
        const auto& choice = choices[i];
        lighting::TickTiming timing;
        if (request->sync) {
            timing.tickMs = lighting::SyncCycleMs(choice.speed) + lighting::SyncSleeps(choice.mode).afterSendMs;
            // One cycle carries every connected device's frame.
            double all = 0;
            for (size_t j = 0; j < 3; ++j) {
                const auto& cj = engine.counters(LightingDevice(j));
                if (cj.sent && connections[j]->connected) all += double(cj.reports) / double(cj.sent);
            }
            reports = all;
        } else if (i == 0) {
            timing = lighting::KeyboardTiming(keyboardModel.variant(), choice.mode, choice.speed);
        } else if (i == 1) {
            timing = lighting::MouseTiming(choice.mode, choice.speed);
        } else {
            timing = lighting::PadTiming(choice.mode, choice.speed);
        }
        const double ceiling = CeilingFps(timing, reports, request->linkMs);
        const char* state = !connections[i]->connected ? "absent" : request->sync ? "sync" : "own";
        std::snprintf(line, sizeof line, "%-4s %-9s %5u %5u %8.0f %8.1f %8.1f %6.1f%%\n", names[i], state,
                      unsigned(choice.mode), unsigned(choice.speed), frames, fps, frames ? ceiling : 0.0,
                      frames && ceiling > 0 ? 100.0 * fps / ceiling : 0.0);
        ctx.out << line;
    }
    std::snprintf(line, sizeof line, "cpu %.2f s in %.1f s: %.2f %% of one core\n", cpu, wall, 100.0 * cpu / wall);
    ctx.out << line;
    return kExitOk;
}

}  // namespace

std::vector<Subcommand> StreamSubcommands() {
    return {{
        "stream",
        "SECONDS [--kb MODE] [--ms MODE] [--mp MODE] [--speed S] [--brightness B] [--sync MODE]",
        "run the lighting workers for SECONDS against the devices (their stored lighting, with the given "
        "overrides; --sync: same mode from the mouse) and print frames per second per device and the CPU used",
        RunStream,
    }};
}

}  // namespace orvane::cli
