// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The cursor image the mouse keeps: four sequences of 30 steps in the macro image's layout
// (macro_image.h), at most 3072 bytes. What the host makes of one it reads back: the
// length its header announces and the action lines of each sequence.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace orvane::macros {

inline constexpr int kCursorSequenceCount = 4;
inline constexpr int kCursorSteps = 30;
inline constexpr int kActionsPerStep = 6;
/// A full sequence: 30 steps of 6 actions; also the most an imported file may hold.
inline constexpr int kSequenceActions = kCursorSteps * kActionsPerStep;  // 180
/// The mouse's cursor memory; the image must fit it whole.
inline constexpr size_t kCursorImageLimit = 3072;

/// The length of the image a cursor memory's 16-byte header announces, or nullopt when the
/// header is not an image's (wrong magic, a total below 16 or beyond the 3072 bytes).
std::optional<size_t> CursorImageLength(std::span<const uint8_t> header);

/// The action lines of each entry of a cursor image read from the mouse: pressed = bit 7
/// of the kind, the label of the kind and code. nullopt when the image does not parse.
std::optional<std::vector<std::vector<std::string>>> SequenceLinesFromImage(std::span<const uint8_t> image);

}  // namespace orvane::macros
