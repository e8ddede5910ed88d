// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the action line and the macro file it sits in. Not part of the
// default build:
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -Isrc \
//     tests/fuzz/action_line_fuzz.cpp src/macros/action_line.cpp src/platform/ini_snapshot.cpp \
//     src/platform/ini_text.cpp src/platform/atomic_file.cpp -o /tmp/action_line_fuzz
// The input is parsed as one line, and as a whole macro file whose lines are parsed in turn;
// a parsed line formats back to a line that parses to the same fields.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "macros/action_line.h"
#include "platform/ini_index.h"

namespace {

void CheckLine(std::string_view line) {
    using orvane::macros::ActionLine;
    const ActionLine a = orvane::macros::ParseActionLine(line);
    // The label never holds a comma (it is what follows the last one), so formatting and
    // parsing again gives the same fields.
    if (a.label.find(',') != std::string::npos) std::abort();
    if (orvane::macros::ParseActionLine(orvane::macros::FormatActionLine(a)) != a) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckLine(text);
    const auto file = orvane::platform::IniIndex::FromText(text);
    const int count = file.readInt("MACROACTIONCOUNT", "count");
    // Bounded as the file reader bounds it.
    for (int i = 0; i < count && i < 4096; ++i) CheckLine(file.readString("MACROACTION", std::to_string(i)));
    return 0;
}
