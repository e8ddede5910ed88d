// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target for the update server's reply reading: any bytes through the cut, the
// jsoncpp parse and the member and version reading. Not part of the default build:
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -Isrc -I/usr/include/jsoncpp \
//     tests/fuzz/update_reply_fuzz.cpp src/update/update_protocol.cpp -ljsoncpp -o /tmp/update_reply_fuzz
//   /tmp/update_reply_fuzz tests/fuzz/corpus/update_reply_fuzz

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "update/update_protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto reply = orvane::update::ParseReply(bytes);
    if (reply.version) {
        orvane::update::ValidServerVersion(std::string_view(*reply.version));
        orvane::update::LeadingNumber(*reply.version);
    }
    orvane::update::VersionNumber(bytes);
    orvane::update::InstalledVersionNumber(bytes);
    return 0;
}
