// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Bytes as lower-case hex digits, two per byte, no separators: the form of traces, the
// command-line tool's output and the lighting golden frames.

#include <cstdint>
#include <span>
#include <string>

namespace orvane::device {

inline void AppendHex(std::string& out, std::span<const uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    out.reserve(out.size() + bytes.size() * 2);
    for (uint8_t b : bytes) {
        out += kDigits[b >> 4];
        out += kDigits[b & 0x0F];
    }
}

inline std::string ToHex(std::span<const uint8_t> bytes) {
    std::string out;
    AppendHex(out, bytes);
    return out;
}

}  // namespace orvane::device
