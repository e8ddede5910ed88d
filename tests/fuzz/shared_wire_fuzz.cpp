// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the shared emulator's socket messages, read at either end: any bytes,
// fed in pieces whose sizes the input's first byte chooses, through the message reader, and
// every payload through the field readers the emulator and its clients use. Nothing read
// may exceed its bound. Standalone:
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -Isrc -I. -Itests/fuzz \
//     tests/fuzz/shared_wire_fuzz.cpp sim/shared_wire.cpp -o /tmp/shared_wire_fuzz
//   /tmp/shared_wire_fuzz tests/fuzz/corpus/shared_wire_fuzz

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz_check.h"
#include "sim/shared_wire.h"

using namespace orvane::sim;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const size_t piece = size_t(data[0] % 31) + 1;
    const std::span<const uint8_t> stream(data + 1, size - 1);
    for (const bool atEmulator : {true, false}) {
        wire::Reader reader(atEmulator);
        for (size_t at = 0; at < stream.size() && !reader.broken(); at += piece) {
            reader.push(stream.subspan(at, std::min(piece, stream.size() - at)));
            while (auto m = reader.next()) {
                FUZZ_CHECK(m->payload.size() <= wire::kMaxPayload);
                FUZZ_CHECK(wire::ForEmulator(m->type) == atEmulator);
                wire::In report(m->payload);
                FUZZ_CHECK(report.bytes(wire::kMaxReport).size() <= wire::kMaxReport);
                wire::In list(m->payload);
                const size_t count = std::min<size_t>(list.u16(), wire::kMaxInterfaces);
                for (size_t i = 0; i < count && list.ok(); ++i) {
                    const auto info = list.info();
                    FUZZ_CHECK(info.path.size() <= wire::kMaxText && info.shareId.size() <= wire::kMaxText);
                }
            }
        }
    }
    return 0;
}
