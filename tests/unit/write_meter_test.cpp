// SPDX-License-Identifier: GPL-3.0-or-later
// The write meter behind the progress ring: it counts the chunks written on its own thread
// against the bytes planned, reports each new percentage once, stays at 100 when a write is
// sent again, and never counts another thread's writes (the lighting frames).
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "device/protocol/write_meter.h"

namespace {

using orvane::protocol::WriteMeter;

TEST(WriteMeter, ReportsGrowingPercentagesOfThePlannedBytesOnItsOwnThread) {
    std::vector<int> told;
    {
        WriteMeter meter([&](int percent) { told.push_back(percent); });
        meter.plan(200);
        WriteMeter::Count(56);
        std::thread([] { WriteMeter::Count(1000); }).join();  // another thread's frame
        WriteMeter::Count(56);
        WriteMeter::Count(56);
        WriteMeter::Count(32);
        WriteMeter::Count(200);  // sent again after a refusal: still full
    }
    EXPECT_EQ(told, (std::vector<int>{28, 56, 84, 100}));
    WriteMeter::Count(56);  // no meter any more: nothing told
    EXPECT_EQ(told.size(), 4u);
}

}  // namespace
