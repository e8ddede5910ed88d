// SPDX-License-Identifier: GPL-3.0-or-later
// PointerSettings: clamping, the worker that applies values, the fallback's log line and
// the GNOME speed mapping.

#include <gtest/gtest.h>

#include <future>
#include <mutex>
#include <thread>

#include "platform/pointer_settings.h"

namespace orvane::platform {
namespace {

class FakeBackend final : public PointerBackend {
public:
    std::mutex mutex;
    std::vector<int> speeds, lines;
    std::shared_future<void> gate;  // when set, every call waits for it (generous bound)
    std::string name() const override { return "fake"; }
    bool applyPointerSpeed(int s) override {
        hold();
        std::lock_guard lock(mutex);
        speeds.push_back(s);
        return true;
    }
    bool applyWheelLines(int l) override {
        hold();
        std::lock_guard lock(mutex);
        lines.push_back(l);
        return true;
    }

private:
    void hold() {
        if (gate.valid()) gate.wait_for(std::chrono::seconds(30));
    }
};

TEST(PointerSettings, ClampsKeepsAndApplies) {
    auto backend = std::make_unique<FakeBackend>();
    auto* fake = backend.get();
    PointerSettings pointer(std::move(backend));
    EXPECT_EQ(pointer.pointerSpeed(), 0);
    pointer.setPointerSpeed(26);
    pointer.waitIdle();
    pointer.setWheelLines(0);
    pointer.waitIdle();
    pointer.setWheelLines(11);
    pointer.waitIdle();
    EXPECT_EQ(pointer.pointerSpeed(), 20);
    EXPECT_EQ(pointer.wheelLines(), 10);
    EXPECT_EQ(fake->speeds, std::vector<int>{20});
    EXPECT_EQ(fake->lines, (std::vector<int>{1, 10}));
}

// orvanectl's executor runs the work at once on the caller's thread (its jobs run inline):
// a set must not wait for the lock it holds (the mouse's factory reset sets both values).
TEST(PointerSettings, AnExecutorThatRunsTheWorkAtOnceIsNotBlockedByTheCaller) {
    auto backend = std::make_unique<FakeBackend>();
    auto* fake = backend.get();
    auto pointer = std::make_shared<PointerSettings>(std::move(backend), LogSink{},
                                                     [](std::function<void()> work) { work(); });
    std::promise<void> finished;
    auto done = finished.get_future();
    std::thread([pointer, &finished] {
        pointer->setPointerSpeed(7);
        pointer->setWheelLines(4);
        finished.set_value();
    }).detach();  // a deadlock would leave it hanging: the test fails rather than hangs
    ASSERT_EQ(done.wait_for(std::chrono::seconds(30)), std::future_status::ready);
    EXPECT_EQ(fake->speeds, std::vector<int>{7});
    EXPECT_EQ(fake->lines, std::vector<int>{4});
}

TEST(PointerSettings, CallersDoNotWaitForTheDesktopAndTheLatestValueWins) {
    auto backend = std::make_unique<FakeBackend>();
    auto* fake = backend.get();
    std::promise<void> release;
    fake->gate = release.get_future().share();
    PointerSettings pointer(std::move(backend));

    // The desktop is stuck on the first value; the setters still return at once.
    for (int speed = 1; speed <= 8; ++speed) pointer.setPointerSpeed(speed);
    EXPECT_EQ(pointer.pointerSpeed(), 8);
    release.set_value();
    pointer.waitIdle();
    std::lock_guard lock(fake->mutex);
    ASSERT_FALSE(fake->speeds.empty());
    EXPECT_LE(fake->speeds.size(), 8u);
    EXPECT_EQ(fake->speeds.back(), 8);
}

TEST(PointerSettings, FallbackKeepsTheValueAndSaysItCannotApplyIt) {
    std::mutex mutex;
    std::vector<std::string> log;
    PointerSettings pointer(MakeFallbackPointerBackend(), [&](std::string_view line) {
        std::lock_guard lock(mutex);
        log.emplace_back(line);
    });
    pointer.setWheelLines(4);
    pointer.waitIdle();
    EXPECT_EQ(pointer.wheelLines(), 4);
    std::lock_guard lock(mutex);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_NE(log[0].find("cannot apply wheel lines 4"), std::string::npos) << log[0];
}

TEST(PointerSettings, GnomeSpeedRange) {
    EXPECT_DOUBLE_EQ(GnomeSpeedOf(1), -1.0);
    EXPECT_DOUBLE_EQ(GnomeSpeedOf(20), 1.0);
    EXPECT_DOUBLE_EQ(GnomeSpeedOf(0), -1.0);
    EXPECT_NEAR(GnomeSpeedOf(10), -0.0526, 1e-3);
}

}  // namespace
}  // namespace orvane::platform
