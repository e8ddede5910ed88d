// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the cursor image as the mouse returns it at connect: the input is
// the mouse's cursor memory. Its header decides how much is read; the image read is
// turned into the lines of the sequence files. Not part of the default build:
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -Isrc \
//     tests/fuzz/cursor_image_fuzz.cpp src/macros/cursor_image.cpp src/macros/macro_image.cpp \
//     src/macros/action_line.cpp src/macros/action_tables.cpp src/platform/ini_snapshot.cpp \
//     src/platform/ini_text.cpp src/platform/atomic_file.cpp -o /tmp/cursor_image_fuzz
// Every line written parses back to the action the image held.

#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <span>

#include "macros/action_line.h"
#include "macros/cursor_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace orvane::macros;
    const std::span memory(data, size);
    const auto length = CursorImageLength(memory.first(std::min<size_t>(size, 16)));
    if (!length) return 0;
    if (*length > kCursorImageLimit) std::abort();
    const auto image = memory.first(std::min(*length, size));  // a short memory: the read stops there
    const auto sequences = SequenceLinesFromImage(image);
    if (!sequences) return 0;
    for (const auto& lines : *sequences)
        for (const auto& line : lines) {
            const ActionLine a = ParseActionLine(line);
            if (a.pressed != (a.kind >> 7)) std::abort();
        }
    return 0;
}
