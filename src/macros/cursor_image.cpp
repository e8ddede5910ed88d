// SPDX-License-Identifier: GPL-3.0-or-later
#include "macros/cursor_image.h"

#include "macros/action_line.h"
#include "macros/action_tables.h"
#include "macros/macro_image.h"

namespace orvane::macros {

std::optional<size_t> CursorImageLength(std::span<const uint8_t> header) {
    if (header.size() < kImageHeaderSize) return std::nullopt;
    const uint16_t magic = static_cast<uint16_t>(header[0] | (header[1] << 8));
    const size_t total = static_cast<size_t>(header[2] | (header[3] << 8));
    if (magic != kImageMagic || total < kImageHeaderSize || total > kCursorImageLimit) return std::nullopt;
    return total;
}

std::optional<std::vector<std::vector<std::string>>> SequenceLinesFromImage(std::span<const uint8_t> image) {
    const auto entries = ParseImage(image);
    if (!entries) return std::nullopt;
    std::vector<std::vector<std::string>> sequences;
    sequences.reserve(entries->size());
    for (const ImageEntry& entry : *entries) {
        auto& lines = sequences.emplace_back();
        lines.reserve(entry.size());
        for (const DeviceAction& a : entry)
            lines.push_back(FormatActionLine(
                {a[0], a[1], a[2], a[3], static_cast<uint16_t>(a[2] >> 7), LabelForDeviceAction(a[2], a[3])}));
    }
    return sequences;
}

}  // namespace orvane::macros
