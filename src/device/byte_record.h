// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A fixed-size byte record exchanged byte for byte with a device or a file. Device records
// derive from it and add named offsets and small accessors; the bytes stay the one truth,
// so a record read from a device or a file goes back out unchanged.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace orvane::device {

/// An R, G, B triple as three bytes of a record.
struct Rgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

template <size_t N>
struct ByteRecord {
    static constexpr size_t kSize = N;
    std::array<uint8_t, N> bytes{};

    constexpr uint8_t at(size_t i) const { return bytes[i]; }
    constexpr void set(size_t i, uint8_t v) { bytes[i] = v; }
    /// 16-bit little-endian value at i, i + 1.
    constexpr uint16_t le16(size_t i) const {
        return static_cast<uint16_t>(bytes[i] | (bytes[i + 1] << 8));
    }
    constexpr void setLe16(size_t i, uint16_t v) {
        bytes[i] = static_cast<uint8_t>(v & 0xFF);
        bytes[i + 1] = static_cast<uint8_t>(v >> 8);
    }
    constexpr Rgb rgb(size_t i) const { return {bytes[i], bytes[i + 1], bytes[i + 2]}; }
    constexpr void setRgb(size_t i, Rgb c) {
        bytes[i] = c.r;
        bytes[i + 1] = c.g;
        bytes[i + 2] = c.b;
    }

    std::span<uint8_t, N> span() { return bytes; }
    std::span<const uint8_t, N> span() const { return bytes; }
    /// Copies the first min(N, source.size()) bytes of source; the rest stay as they are.
    void assignPrefix(std::span<const uint8_t> source) {
        const size_t n = source.size() < N ? source.size() : N;
        for (size_t i = 0; i < n; ++i) bytes[i] = source[i];
    }

    friend bool operator==(const ByteRecord&, const ByteRecord&) = default;
};

}  // namespace orvane::device
