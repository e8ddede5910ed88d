// SPDX-License-Identifier: GPL-3.0-or-later
#include "macros/macro_image.h"

#include <algorithm>

namespace orvane::macros {

namespace {

constexpr size_t kRecordHeaderSize = 4;

uint16_t Le16(std::span<const uint8_t> b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }

void PutLe16(std::vector<uint8_t>& b, size_t at, size_t value) {
    b[at] = static_cast<uint8_t>(value & 0xFF);
    b[at + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

}  // namespace

uint64_t ImageSize(std::span<const ImageEntry> entries) {
    uint64_t size = kImageHeaderSize + 6 * uint64_t(entries.size());
    for (const auto& e : entries) size += 4 * uint64_t(e.size());
    return size;
}

std::optional<std::vector<uint8_t>> BuildImage(std::span<const ImageEntry> entries) {
    const uint64_t size = ImageSize(entries);
    if (entries.size() > kImageFieldLimit || size > kImageFieldLimit) return std::nullopt;
    std::vector<uint8_t> image(size, 0);
    PutLe16(image, 0, kImageMagic);
    PutLe16(image, 2, size);
    PutLe16(image, 4, entries.size());
    size_t next = kImageHeaderSize + 2 * entries.size();
    for (size_t i = 0; i < entries.size(); ++i) {
        PutLe16(image, kImageHeaderSize + 2 * i, next);
        PutLe16(image, next, entries[i].size());
        size_t at = next + kRecordHeaderSize;
        for (const DeviceAction& a : entries[i]) {
            std::copy(a.begin(), a.end(), image.begin() + std::ptrdiff_t(at));
            at += a.size();
        }
        next = at;
    }
    return image;
}

std::optional<std::vector<ImageEntry>> ParseImage(std::span<const uint8_t> image) {
    if (image.size() < kImageHeaderSize || Le16(image, 0) != kImageMagic) return std::nullopt;
    const size_t total = Le16(image, 2);
    const size_t count = Le16(image, 4);
    const size_t tableEnd = kImageHeaderSize + 2 * count;
    if (total < tableEnd || total > image.size()) return std::nullopt;
    const auto bytes = image.first(total);

    std::vector<ImageEntry> entries(count);
    for (size_t i = 0; i < count; ++i) {
        const size_t at = Le16(bytes, kImageHeaderSize + 2 * i);
        if (at < tableEnd || at + kRecordHeaderSize > total) return std::nullopt;
        const size_t actions = Le16(bytes, at);
        if (at + kRecordHeaderSize + 4 * actions > total) return std::nullopt;
        entries[i].resize(actions);
        for (size_t j = 0; j < actions; ++j) {
            const size_t from = at + kRecordHeaderSize + 4 * j;
            std::copy(bytes.begin() + std::ptrdiff_t(from), bytes.begin() + std::ptrdiff_t(from + 4), entries[i][j].begin());
        }
    }
    return entries;
}

}  // namespace orvane::macros
