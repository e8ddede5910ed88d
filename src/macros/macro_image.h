// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The image a device plays macros (or cursor sequences) from, little-endian:
//   0   magic 0x55AA
//   2   total size, header included
//   4   M, the number of entries
//   6   10 reserved bytes, zero
//   16  offset table: M offsets of the entries' records from the image's start
//   16 + 2M  the records in order, each: action count A, 2 reserved bytes, A x 4 bytes
//            (delayLow, delayHigh, kind, code)
// Total = 16 + 6M + 4 x (sum of A). Every field is 16 bits, which bounds M, A and the total.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace orvane::macros {

inline constexpr uint16_t kImageMagic = 0x55AA;
inline constexpr size_t kImageHeaderSize = 16;
inline constexpr size_t kImageFieldLimit = 0xFFFF;

/// delayLow, delayHigh, kind, code.
using DeviceAction = std::array<uint8_t, 4>;
using ImageEntry = std::vector<DeviceAction>;

/// 16 + 6M + 4 x (sum of A), without overflow whatever the counts.
uint64_t ImageSize(std::span<const ImageEntry> entries);
/// The image, or nullopt when M, an action count or the total would not fit 16 bits.
std::optional<std::vector<uint8_t>> BuildImage(std::span<const ImageEntry> entries);

/// The entries of an image read from a device. The whole image is rejected (nullopt) when
/// it is shorter than its header, the magic is wrong, its total is below 16 + 2M or beyond
/// the bytes received, or an offset or action count points outside the total. Nothing past
/// the received bytes is ever read.
std::optional<std::vector<ImageEntry>> ParseImage(std::span<const uint8_t> image);

}  // namespace orvane::macros
