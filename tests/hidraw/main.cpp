// SPDX-License-Identifier: GPL-3.0-or-later
// The hidraw tests: the device suites shared with the integration tests, and those of the
// hidraw path alone, all against hidraw nodes of a umockdev test bed.

#include <gtest/gtest.h>

#include <stdlib.h>

#include <cstdio>
#include <filesystem>

#include "sim/hidraw_bed.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!orvane::sim::HidrawBed::Available() && !::testing::GTEST_FLAG(list_tests)) {
        std::fprintf(stderr, "orvane_hidraw_tests: the hidraw test bed needs umockdev's preload library; "
                             "run it under umockdev-wrapper (ctest does)\n");
        return 1;
    }
    // The bed's nodes are this process's own, so are their lock files: another test process's
    // bed names its nodes alike (/dev/hidraw0) but is another device.
    char runtime[] = "/tmp/orvane-hidraw-XXXXXX";
    if (::mkdtemp(runtime)) ::setenv("XDG_RUNTIME_DIR", runtime, 1);
    const int result = RUN_ALL_TESTS();
    std::error_code ec;
    std::filesystem::remove_all(runtime, ec);
    return result;
}
