// SPDX-License-Identifier: GPL-3.0-or-later
// Device work never holds up the window: a mouse that stops answering (four silent replies
// of 300 ms per exchange) keeps a slot switch busy for seconds while the window's event loop
// goes on turning; a job for a device that is gone ends at once with "not connected".
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>

#include "app/features.h"
#include "program_rig.h"

using namespace orvane;
using device::DeviceKind;
using device::DeviceModel;

namespace {

TEST(DeviceJobsInTheWindow, ASilentMouseNeverStopsTheWindowsEventLoop) {
    programtest::RigOptions o;
    o.models = {DeviceModel::Mouse};
    o.features = std::vector<std::string_view>{"presence", "mouse page"};
    programtest::ProgramRig rig(o);
    ASSERT_TRUE(rig.waitForTab("ms_tab"));
    rig.settle();
    // From now on the mouse takes every request and answers none.
    sim::Fault silent;
    silent.kind = sim::FaultKind::NoReply;
    silent.when = [](uint64_t, const protocol::Report&) { return true; };
    silent.times = -1;
    rig.device(DeviceModel::Mouse).addFault(silent);

    // The window's loop: a 10 ms timer and the longest gap between two of its ticks.
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0, longestGap = 0;
    QTimer ticker;
    ticker.setInterval(10);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, clock.elapsed() - last);
        last = clock.elapsed();
    });
    ticker.start();
    last = clock.elapsed();

    QElapsedTimer job;
    job.start();
    rig.control<QAbstractButton>("ms_profile_3")->click();  // a slot switch: one silent exchange at least
    ASSERT_TRUE(rig.settle(20000));
    const qint64 jobTook = job.elapsed();
    ticker.stop();
    // The switch waited out its exchange (4 x 300 ms) off the window's thread; the loop kept
    // turning throughout (a blocked loop would show a gap as long as the exchange).
    EXPECT_GE(jobTook, 1100);
    EXPECT_LT(longestGap, 300) << "the window's loop stood still for " << longestGap << " ms";
    RecordProperty("longest_ui_gap_ms", int(longestGap));
    RecordProperty("job_ms", int(jobTook));
}

TEST(DeviceJobsInTheWindow, AJobForADeviceThatIsGoneEndsAtOnceAsNotConnected) {
    programtest::RigOptions o;
    o.features = std::vector<std::string_view>{};
    programtest::ProgramRig rig(o);
    auto& rt = rig.runtime();
    std::optional<runtime::JobStatus> status;
    bool ran = false;
    rt.jobs(DeviceKind::Mouse).submit({.name = "read-back"}, [&] { ran = true; },
                                      [&](runtime::JobStatus s) { status = s; });
    ASSERT_TRUE(rig.settle());
    EXPECT_EQ(status, runtime::JobStatus::NotConnected);
    EXPECT_FALSE(ran);
    // A job that only needs the files runs without the device.
    rt.jobs(DeviceKind::Mouse).submit({.name = "profile", .needsDevice = false}, [&] { ran = true; },
                                      [&](runtime::JobStatus s) { status = s; });
    ASSERT_TRUE(rig.settle());
    EXPECT_EQ(status, runtime::JobStatus::Done);
    EXPECT_TRUE(ran);
}

}  // namespace
