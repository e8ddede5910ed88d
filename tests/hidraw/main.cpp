// SPDX-License-Identifier: GPL-3.0-or-later
// The hidraw tests: the device suites shared with the integration tests, and those of the
// hidraw path alone, all against hidraw nodes of a umockdev test bed.

#include <gtest/gtest.h>

#include <cstdio>

#include "sim/hidraw_bed.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!orvane::sim::HidrawBed::Available() && !::testing::GTEST_FLAG(list_tests)) {
        std::fprintf(stderr, "orvane_hidraw_tests: the hidraw test bed needs umockdev's preload library; "
                             "run it under umockdev-wrapper (ctest does)\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
