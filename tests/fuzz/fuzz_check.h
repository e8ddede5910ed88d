// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A property a fuzz target holds: when it fails, the input is a crash libFuzzer keeps.

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                           \
    do {                                                                                \
        if (!(condition)) {                                                             \
            std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                               \
        }                                                                               \
    } while (0)
