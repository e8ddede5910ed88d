// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Makes writes of files bigger than a limit fail part-way, as a full disk or a crash would
// cut them: the test for "an interrupted write leaves the old file".

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>

namespace orvane::testing {

/// Files bigger than `bytes` cannot be written while it lives (the write fails part-way).
struct FileSizeLimit {
    rlimit old{};
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit limit = old;
        limit.rlim_cur = bytes;
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old); }
};

}  // namespace orvane::testing
