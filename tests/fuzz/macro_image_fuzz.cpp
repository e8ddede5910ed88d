// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the macro image reader: an image as a device might return it. Not
// part of the default build:
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -Isrc \
//     tests/fuzz/macro_image_fuzz.cpp src/macros/macro_image.cpp -o /tmp/macro_image_fuzz
// An accepted image's entries fit inside it; packing them again gives an image of the size
// the layout says, which reads back to the same entries.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "macros/macro_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orvane::macros;
    const auto entries = ParseImage(std::span(data, size));
    if (!entries) return 0;
    const uint64_t packed = ImageSize(*entries);
    // Records may overlap in a device's image, so only the table and the header are sure.
    if (entries->size() * 2 + kImageHeaderSize > size) std::abort();
    if (const auto again = BuildImage(*entries)) {
        if (again->size() != packed) std::abort();
        const auto back = ParseImage(*again);
        if (!back || *back != *entries) std::abort();
    }
    return 0;
}
