// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mousepad's byte records: the information record (carried, not interpreted), the
// settings of the active slot and the 64-byte slot record, whose slot-0 copy is also the
// body of a mousepad ".led" file.

#include <array>
#include <cstddef>
#include <cstdint>

#include "device/byte_record.h"
#include "device/protocol/commands.h"

namespace orvane::mousepad {

using device::Rgb;

inline constexpr size_t kSlotCount = 5;
inline constexpr uint8_t kSlowestSpeed = 14;

struct PadDeviceInfo : device::ByteRecord<protocol::kDeviceInfoSize> {};
static_assert(sizeof(PadDeviceInfo) == 31);

struct PadState : device::ByteRecord<21> {
    struct off {
        static constexpr size_t activeSlot = 0;
        static constexpr size_t lightingMode = 1;  ///< 0-9
        static constexpr size_t brightness = 2;    ///< 0-4
        static constexpr size_t speed = 3;         ///< 14 - speed slider, not below 0
        static constexpr size_t direction = 4;     ///< 1 left, 0 right
        static constexpr size_t sevenColour = 5;
        static constexpr size_t colour = 6;        ///< R, G, B
        static constexpr size_t animation = 9;     ///< written by the pad animation
        static constexpr size_t reserved = 10;     ///< 10-20, carried
    };
    uint8_t activeSlot() const { return at(off::activeSlot); }
    void setActiveSlot(uint8_t s) { set(off::activeSlot, s); }
    uint8_t lightingMode() const { return at(off::lightingMode); }
    uint8_t brightness() const { return at(off::brightness); }
    uint8_t speed() const { return at(off::speed); }
    Rgb colour() const { return rgb(off::colour); }
};
static_assert(sizeof(PadState) == 21);

/// One on-board slot, 64 bytes; the pad exchanges bytes 0-55 (slot s at s x 64).
struct PadSlotRecord : device::ByteRecord<64> {
    PadState state() const {
        PadState s;
        s.assignPrefix(span());
        return s;
    }
    void setState(const PadState& s) {
        for (size_t i = 0; i < PadState::kSize; ++i) bytes[i] = s.bytes[i];
    }
};
static_assert(sizeof(PadSlotRecord) == 64);

/// Speed byte for a position of "mp_deng_speed_slider" (14 - position, not below 0), and
/// the position shown for a stored speed.
constexpr uint8_t PadSpeedFromSlider(int position) {
    const int v = kSlowestSpeed - position;
    return static_cast<uint8_t>(v < 0 ? 0 : (v > kSlowestSpeed ? kSlowestSpeed : v));
}
constexpr int PadSliderFromSpeed(uint8_t speed) { return kSlowestSpeed - speed; }

}  // namespace orvane::mousepad
