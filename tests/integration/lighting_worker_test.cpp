// SPDX-License-Identifier: GPL-3.0-or-later
// The lighting workers against emulated devices: frames reach each device, an absent or
// synchronised device gets none and its worker sleeps until told of a change, the sync
// flags and what clears them, the single-colour keyboard's self-built reports stopping at
// the first refused one, and stopping at once.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "device/discovery.h"
#include "device/protocol/commands.h"
#include "lighting/animation_engine.h"
#include "sim/emulator.h"
#include "sim/firmware_device.h"
#include "support/device_bed.h"
#include "support/eventually.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using device::DeviceKind;
using device::DeviceModel;
using lighting::AnimationWorker;
using lighting::IdleEvent;
using lighting::LightingDevice;

constexpr auto kGenerous = 10s;

// Waits (without timing assertions) until pred holds or the generous bound passes.
using testing::Eventually;

struct IdleCounts {
    std::mutex mutex;
    std::map<AnimationWorker, std::pair<int, int>> counts;  // sleeping, woken
    void record(AnimationWorker w, IdleEvent e) {
        std::lock_guard guard(mutex);
        (e == IdleEvent::Sleeping ? counts[w].first : counts[w].second)++;
    }
    std::pair<int, int> of(AnimationWorker w) {
        std::lock_guard guard(mutex);
        return counts[w];
    }
};

// Emulated devices on a zero-time link (connected are those listed), the models, and the
// engine with no start waits (unless given) and no periodic look while idle.
struct WorkerRig {
    testing::DeviceBed bed;
    sim::EmulatorBackend& backend = bed.emulator;
    protocol::DeviceConnection keyboard{bed.backend(), "kb"}, mouse{bed.backend(), "ms"}, pad{bed.backend(), "mp"};
    keyboard::KeyboardModel keyboardModel;
    mouse::MouseModel mouseModel;
    mousepad::PadModel padModel;
    IdleCounts idle;
    std::unique_ptr<lighting::AnimationEngine> engine;
    std::vector<std::jthread> workers;

    explicit WorkerRig(std::initializer_list<DeviceModel> present, std::initializer_list<DeviceModel> connected = {},
                       std::chrono::milliseconds startWaits = 0ms) {
        for (auto m : present) bed.add(m);
        for (auto m : connected.size() ? connected : present) {
            const auto kind = device::Identity(m).kind;
            EXPECT_EQ(device::ConnectFirst(kind, connection(kind)), device::ConnectError::None);
            if (kind == device::DeviceKind::Keyboard) keyboardModel.model = m;
        }
        lighting::AnimationOptions options;
        options.keyboardStartWait = options.mouseStartWait = options.padStartWait = startWaits;
        options.idleRecheck.reset();
        options.idleHook = [this](AnimationWorker w, IdleEvent e) { idle.record(w, e); };
        engine = std::make_unique<lighting::AnimationEngine>(
            lighting::AnimationDevices{keyboard, mouse, pad, keyboardModel, mouseModel, padModel}, options);
    }
    ~WorkerRig() { workers.clear(); }

    protocol::DeviceConnection& connection(DeviceKind kind) {
        return kind == DeviceKind::Keyboard ? keyboard : kind == DeviceKind::Mouse ? mouse : pad;
    }
    // Mode, brightness, speed, direction, seven-colour, R, G, B into bytes 1-8.
    void choose(LightingDevice device, std::array<uint8_t, 8> choice) {
        const auto put = [&](auto& record) { std::copy(choice.begin(), choice.end(), record.bytes.begin() + 1); };
        if (device == LightingDevice::Keyboard) keyboardModel.update([&](auto& d) { put(d.lighting); });
        if (device == LightingDevice::Mouse) mouseModel.update([&](auto& d) { put(d.state); });
        if (device == LightingDevice::Pad) padModel.update([&](auto& d) { put(d.state); });
        engine->requestReset(device);
    }
    void start() {
        workers.emplace_back([this](std::stop_token s) { engine->runKeyboard(s); });
        workers.emplace_back([this](std::stop_token s) { engine->runMouse(s); });
        workers.emplace_back([this](std::stop_token s) { engine->runPad(s); });
        workers.emplace_back([this](std::stop_token s) { engine->runSynchronised(s); });
    }
    uint64_t frames(DeviceModel model) {
        uint64_t n = 0;
        if (auto* d = backend.find(model))
            d->withFirmware([&](sim::Firmware& f) { n = static_cast<sim::DeviceFirmware&>(f).frameCount(); });
        return n;
    }
    std::vector<uint8_t> lastFrame(DeviceModel model) {
        std::vector<uint8_t> out;
        backend.find(model)->withFirmware([&](sim::Firmware& f) {
            const auto frame = static_cast<sim::DeviceFirmware&>(f).lastFrame();
            out.assign(frame.begin(), frame.end());
        });
        return out;
    }
};

TEST(LightingWorkers, FramesOfEverySizeReachTheirDevices) {
    struct Case {
        const char* what;
        DeviceModel keyboard;
        uint8_t keyboardMode, mouseMode, padMode;
        size_t keyboardBytes, mouseBytes, padBytes;
    };
    const Case cases[] = {
        {"colour cycle, spectrum, spectrum", DeviceModel::RgbKeyboard, 7, 3, 1, 378, 60, 45},
        {"self-built static, blink, static", DeviceModel::MonoKeyboard, 0, 6, 3, 126, 30, 60},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WorkerRig rig({c.keyboard, DeviceModel::Mouse, DeviceModel::Mousepad});
        rig.choose(LightingDevice::Keyboard, {c.keyboardMode, 4, 0, 1, 0, 200, 100, 50});
        rig.choose(LightingDevice::Mouse, {c.mouseMode, 4, 0, 1, 0, 200, 100, 50});
        rig.choose(LightingDevice::Pad, {c.padMode, 4, 0, 1, 0, 200, 100, 50});
        rig.start();
        // The pad counts a frame when its last report arrives; the engine counts it accepted
        // once the reply to that report is read, a little later.
        EXPECT_TRUE(Eventually([&] {
            return rig.frames(c.keyboard) >= 3 && rig.frames(DeviceModel::Mouse) >= 2 &&
                   rig.frames(DeviceModel::Mousepad) >= 3 && rig.engine->counters(LightingDevice::Pad).accepted >= 3;
        }));
        EXPECT_EQ(rig.lastFrame(c.keyboard).size(), c.keyboardBytes);
        EXPECT_EQ(rig.lastFrame(DeviceModel::Mouse).size(), c.mouseBytes);
        EXPECT_EQ(rig.lastFrame(DeviceModel::Mousepad).size(), c.padBytes);
        EXPECT_GE(rig.engine->counters(LightingDevice::Pad).accepted, 3u);
    }
}

// A start wait holds back the device's frames, not the preview: each worker's first preview
// is shown while its device has had no frame yet, and the frames follow once the wait is over.
TEST(LightingWorkers, TheStartWaitHoldsBackTheDevicesFramesButNotThePreview) {
    struct FirstPreviews : lighting::PreviewSink {
        WorkerRig* rig = nullptr;
        std::mutex mutex;
        std::map<LightingDevice, uint64_t> framesAtFirst;  // the device's frames when its first preview came
        void show(LightingDevice device, std::span<const lighting::PreviewCell>) override {
            const DeviceModel model = device == LightingDevice::Keyboard ? DeviceModel::RgbKeyboard
                                      : device == LightingDevice::Mouse  ? DeviceModel::Mouse
                                                                         : DeviceModel::Mousepad;
            const uint64_t frames = rig->frames(model);
            std::lock_guard guard(mutex);
            framesAtFirst.try_emplace(device, frames);
        }
        size_t seen() {
            std::lock_guard guard(mutex);
            return framesAtFirst.size();
        }
    } sink;  // outlives the rig, whose end stops the workers
    WorkerRig rig({DeviceModel::RgbKeyboard, DeviceModel::Mouse, DeviceModel::Mousepad}, {}, 300ms);
    sink.rig = &rig;
    rig.engine->setPreviewSink(&sink);
    rig.choose(LightingDevice::Keyboard, {7, 4, 0, 1, 0, 0, 0, 0});  // colour cycle
    rig.choose(LightingDevice::Mouse, {3, 4, 0, 1, 0, 0, 0, 0});     // spectrum
    rig.choose(LightingDevice::Pad, {1, 4, 0, 1, 0, 0, 0, 0});       // spectrum
    rig.start();
    ASSERT_TRUE(Eventually([&] { return sink.seen() == 3; }));
    for (const auto& [device, frames] : sink.framesAtFirst) EXPECT_EQ(frames, 0u) << "device " << int(device);
    EXPECT_TRUE(Eventually([&] {
        return rig.frames(DeviceModel::RgbKeyboard) > 0 && rig.frames(DeviceModel::Mouse) > 0 &&
               rig.frames(DeviceModel::Mousepad) > 0;
    }));
}

TEST(LightingWorkers, AbsentDeviceGetsNoFramesAndItsWorkerSleepsUntilAChange) {
    // The mouse is plugged in but its connection is not open: to the program it is absent.
    WorkerRig rig({DeviceModel::Mouse, DeviceModel::Mousepad}, {DeviceModel::Mousepad});
    rig.choose(LightingDevice::Mouse, {3, 4, 0, 1, 0, 1, 2, 3});
    rig.choose(LightingDevice::Pad, {1, 4, 0, 1, 0, 1, 2, 3});
    rig.start();
    ASSERT_TRUE(Eventually([&] { return rig.idle.of(AnimationWorker::Mouse).first == 1; }));
    ASSERT_TRUE(Eventually([&] { return rig.frames(DeviceModel::Mousepad) >= 20; }));
    // Meanwhile the pad streamed; the mouse worker went to sleep once and stayed asleep.
    EXPECT_EQ(rig.idle.of(AnimationWorker::Mouse), std::make_pair(1, 0));
    EXPECT_EQ(rig.frames(DeviceModel::Mouse), 0u);
    EXPECT_EQ(rig.engine->counters(LightingDevice::Mouse).sent, 0u);

    // A change wakes it; still absent, it looks once and sleeps again.
    rig.engine->changed();
    ASSERT_TRUE(Eventually([&] { return rig.idle.of(AnimationWorker::Mouse).first == 2; }));
    EXPECT_EQ(rig.idle.of(AnimationWorker::Mouse).second, 1);

    // Connected: the next look finds it and frames flow.
    ASSERT_EQ(device::ConnectFirst(DeviceKind::Mouse, rig.mouse), device::ConnectError::None);
    rig.engine->changed();
    EXPECT_TRUE(Eventually([&] { return rig.frames(DeviceModel::Mouse) >= 3; }));
}

TEST(LightingWorkers, ModesThatSendNothingSleepUntilTheModeChanges) {
    WorkerRig rig({DeviceModel::Mouse, DeviceModel::Mousepad});
    rig.choose(LightingDevice::Mouse, {9, 4, 0, 1, 0, 1, 2, 3});
    rig.choose(LightingDevice::Pad, {9, 4, 0, 1, 0, 1, 2, 3});
    rig.start();
    ASSERT_TRUE(Eventually([&] {
        return rig.idle.of(AnimationWorker::Mouse).first == 1 && rig.idle.of(AnimationWorker::Pad).first == 1 &&
               rig.idle.of(AnimationWorker::Synchronised).first == 1;
    }));
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(rig.idle.of(AnimationWorker::Mouse), std::make_pair(1, 0));
    EXPECT_EQ(rig.frames(DeviceModel::Mouse) + rig.frames(DeviceModel::Mousepad), 0u);
    rig.choose(LightingDevice::Pad, {1, 4, 0, 1, 0, 1, 2, 3});  // notifies
    EXPECT_TRUE(Eventually([&] { return rig.frames(DeviceModel::Mousepad) >= 3; }));
}

TEST(LightingWorkers, SameModeWithTheKeyboardAbsentDrivesMouseAndPadOnly) {
    WorkerRig rig({DeviceModel::RgbKeyboard, DeviceModel::Mouse, DeviceModel::Mousepad},
                  {DeviceModel::Mouse, DeviceModel::Mousepad});
    rig.choose(LightingDevice::Mouse, {3, 4, 0, 1, 0, 9, 8, 7});   // spectrum
    rig.choose(LightingDevice::Pad, {9, 4, 0, 1, 0, 1, 2, 3});
    const auto outcome = rig.engine->copyForSameMode(LightingDevice::Mouse);
    EXPECT_EQ(outcome.others[0], LightingDevice::Pad);
    EXPECT_EQ(outcome.others[1], LightingDevice::Keyboard);
    rig.engine->startSynchronised();
    EXPECT_TRUE(rig.keyboard.syncLighting && rig.mouse.syncLighting && rig.pad.syncLighting);
    const auto sync = rig.engine->syncRecord();
    EXPECT_EQ(std::vector<uint8_t>(sync.bytes.begin(), sync.bytes.end()), (std::vector<uint8_t>{3, 4, 0, 1, 0, 9, 8, 7}));
    // The mouse's spectrum is the pad's mode 1 and the keyboard's colour cycle (mode 7).
    EXPECT_EQ(rig.padModel.state().lightingMode(), 1);
    EXPECT_EQ(rig.keyboardModel.read([](const auto& d) { return d.lighting.mode(); }), 7);

    rig.start();
    // Only synchronised frames arrive: the pad's own animation pauses while it is
    // synchronised, and the synchronised pad frame is 45 bytes.
    ASSERT_TRUE(Eventually([&] { return rig.frames(DeviceModel::Mouse) >= 3 && rig.frames(DeviceModel::Mousepad) >= 3; }));
    EXPECT_EQ(rig.frames(DeviceModel::RgbKeyboard), 0u);
    EXPECT_EQ(rig.engine->counters(LightingDevice::Keyboard).accepted, 0u);
    EXPECT_EQ(rig.lastFrame(DeviceModel::Mouse).size(), 60u);
    EXPECT_EQ(rig.lastFrame(DeviceModel::Mousepad).size(), 45u);
}

TEST(LightingWorkers, CommandSixEndsOneDeviceAndAModeSelectionAll) {
    WorkerRig rig({DeviceModel::Mouse, DeviceModel::Mousepad});
    rig.engine->copyForSameMode(LightingDevice::Pad);
    rig.engine->startSynchronised();
    std::array<uint8_t, 56> record{};
    EXPECT_EQ(protocol::WriteMemory(rig.mouse, record), protocol::kOk);
    EXPECT_FALSE(rig.mouse.syncLighting);
    EXPECT_TRUE(rig.pad.syncLighting && rig.keyboard.syncLighting);

    rig.engine->endSynchronised(LightingDevice::Pad);  // a lighting edit on the pad's page
    EXPECT_FALSE(rig.pad.syncLighting);
    EXPECT_TRUE(rig.keyboard.syncLighting);

    rig.engine->startSynchronised();
    rig.engine->endAllSynchronised();  // a mode selection on any page
    EXPECT_FALSE(rig.keyboard.syncLighting || rig.mouse.syncLighting || rig.pad.syncLighting);
}

TEST(LightingWorkers, SelfBuiltSingleColourReportsStopAtTheFirstRefusedOne) {
    const sim::FaultKind kinds[] = {sim::FaultKind::RefuseFF, sim::FaultKind::RefuseFE, sim::FaultKind::FailWrite};
    for (auto kind : kinds) {
        SCOPED_TRACE(int(kind));
        WorkerRig rig({DeviceModel::MonoKeyboard});
        std::mutex mutex;
        std::multiset<uint16_t> offsets;  // of every frame report the keyboard was sent
        sim::Fault watch;
        watch.kind = sim::FaultKind::NoReply;
        watch.times = -1;
        watch.when = [&](uint64_t, const protocol::Report& r) {
            if (r[protocol::off::command] == protocol::kWriteLightingFrame) {
                std::lock_guard guard(mutex);
                offsets.insert(uint16_t(r[protocol::off::offset] | r[protocol::off::offset + 1] << 8));
            }
            return false;
        };
        // The second report of every frame is refused (or its write fails).
        sim::Fault refuse;
        refuse.kind = kind;
        refuse.times = -1;
        refuse.when = [](uint64_t, const protocol::Report& r) {
            return r[protocol::off::command] == protocol::kWriteLightingFrame && r[protocol::off::offset] == 56;
        };
        rig.backend.find(DeviceModel::MonoKeyboard)->addFault(watch);
        rig.backend.find(DeviceModel::MonoKeyboard)->addFault(refuse);
        rig.choose(LightingDevice::Keyboard, {0, 4, 0, 1, 0, 0, 0, 0});  // static: self-built reports
        rig.start();
        ASSERT_TRUE(Eventually([&] {
            std::lock_guard guard(mutex);
            return offsets.count(56) >= 3;
        }));
        rig.workers.clear();
        size_t thirdReports = 0;
        {
            // Not held while the emulator is asked below: its fault predicate takes this lock
            // inside the device's own lock.
            std::lock_guard guard(mutex);
            thirdReports = offsets.count(112);
        }
        EXPECT_EQ(thirdReports, 0u);
        EXPECT_EQ(rig.frames(DeviceModel::MonoKeyboard), 0u);
        EXPECT_EQ(rig.engine->counters(LightingDevice::Keyboard).accepted, 0u);
    }
}

TEST(LightingWorkers, StopWakesEveryWorkerAtOnce) {
    // Default start waits (1 and 3 s) and the devices absent: every worker is sleeping.
    sim::EmulatorBackend backend;
    protocol::DeviceConnection kb{backend, "kb"}, ms{backend, "ms"}, mp{backend, "mp"};
    keyboard::KeyboardModel kbm;
    mouse::MouseModel msm;
    mousepad::PadModel mpm;
    lighting::AnimationOptions options;
    options.idleRecheck.reset();
    lighting::AnimationEngine engine({kb, ms, mp, kbm, msm, mpm}, options);
    std::vector<std::jthread> workers;
    workers.emplace_back([&](std::stop_token s) { engine.runKeyboard(s); });
    workers.emplace_back([&](std::stop_token s) { engine.runMouse(s); });
    workers.emplace_back([&](std::stop_token s) { engine.runPad(s); });
    workers.emplace_back([&](std::stop_token s) { engine.runSynchronised(s); });
    std::this_thread::sleep_for(50ms);
    const auto before = std::chrono::steady_clock::now();
    workers.clear();  // request stop and join
    EXPECT_LT(std::chrono::steady_clock::now() - before, 1000ms);  // far below the start waits
}

}  // namespace
}  // namespace orvane
