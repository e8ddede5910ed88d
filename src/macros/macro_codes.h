#pragma once
// The function-code types of a key or button that refer to the macro set or to a cursor
// sequence: {type, b1, b2} with b1 the macro's index in the set (the order of the index
// file) or the sequence number.

#include <cstdint>

namespace orvane::macros {

/// b2: play mode 0-3.
inline constexpr uint8_t kMacroCodeType = 0x70;
/// b2: repeat count 0-255.
inline constexpr uint8_t kMacroRepeatCodeType = 0x71;
/// b1: cursor sequence 0-3; b2: 0. Not touched when macros come and go.
inline constexpr uint8_t kCursorSequenceCodeType = 0x72;

constexpr bool IsMacroCodeType(uint8_t type) { return type == kMacroCodeType || type == kMacroRepeatCodeType; }

}  // namespace orvane::macros
