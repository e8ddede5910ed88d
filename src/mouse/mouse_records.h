// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mouse's byte records, each with its one layout: the information record, the settings
// of the active on-board slot, the 64-byte slot record, the key pages and the factory keys,
// and the block the profile files are cut from. Records are exchanged byte for byte with the
// mouse and the ".pro" / ".led" files.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "device/byte_record.h"
#include "device/protocol/commands.h"

namespace orvane::mouse {

using device::Rgb;

inline constexpr size_t kSlotCount = 5;
inline constexpr size_t kPageCount = protocol::kBankCount;  // 5
inline constexpr size_t kKeyPageSize = 512;
inline constexpr size_t kSlotRecordSize = 64;
/// Bytes of a slot record the mouse exchanges (commands 5 and 6).
inline constexpr size_t kSlotExchangeSize = 56;
inline constexpr size_t kDpiStageCount = 6;
inline constexpr size_t kButtonCount = 6;

/// The reply to command 3. Bytes other than 6 and 9-14 are carried, not interpreted.
struct MouseDeviceInfo : device::ByteRecord<protocol::kDeviceInfoSize> {
    struct off {
        static constexpr size_t macroUnits = 6;    ///< macro memory in 128-byte units
        static constexpr size_t sensorId = 9;      ///< u16 LE: 0x3325, 0x3050 or 0x3360
        static constexpr size_t dpiStep = 11;      ///< DPI added per slider position
        static constexpr size_t highestPosition = 12;  ///< top of the DPI stage sliders
        static constexpr size_t minimumDpi = 13;   ///< u16 LE
    };
    size_t macroCapacity() const { return size_t{at(off::macroUnits)} * 128; }
    uint16_t sensorId() const { return le16(off::sensorId); }
    uint8_t dpiStep() const { return at(off::dpiStep); }
    uint8_t highestPosition() const { return at(off::highestPosition); }
    uint16_t minimumDpi() const { return le16(off::minimumDpi); }
    void setMinimumDpi(uint16_t dpi) { setLe16(off::minimumDpi, dpi); }
};
static_assert(sizeof(MouseDeviceInfo) == 31);

/// The settings of the active on-board slot as the page shows and edits them; also bytes
/// 0-22 of every slot record.
struct MouseState : device::ByteRecord<23> {
    struct off {
        static constexpr size_t activeSlot = 0;
        static constexpr size_t lightingMode = 1;   ///< 0-9
        static constexpr size_t brightness = 2;
        static constexpr size_t speed = 3;          ///< 4 - speed slider, not below 0
        static constexpr size_t direction = 4;      ///< 1 left, 0 right
        static constexpr size_t sevenColour = 5;
        static constexpr size_t colour = 6;         ///< R, G, B
        static constexpr size_t colourPhase = 9;    ///< written by the lighting animation
        static constexpr size_t reserved = 10;
        static constexpr size_t dpiColour = 11;     ///< R, G, B of the DPI indicator
        static constexpr size_t reportRate = 14;    ///< item index of the report-rate list
        static constexpr size_t dpiStages = 15;     ///< six slider positions
        static constexpr size_t activeDpiStage = 21;  ///< 0-5, set by the mouse
        static constexpr size_t liftOff = 22;
    };
    uint8_t activeSlot() const { return at(off::activeSlot); }
    void setActiveSlot(uint8_t s) { set(off::activeSlot, s); }
    uint8_t lightingMode() const { return at(off::lightingMode); }
    Rgb colour() const { return rgb(off::colour); }
    Rgb dpiColour() const { return rgb(off::dpiColour); }
    void setDpiColour(Rgb c) { setRgb(off::dpiColour, c); }
    uint8_t reportRate() const { return at(off::reportRate); }
    void setReportRate(uint8_t index) { set(off::reportRate, index); }
    /// Slider position of DPI stage `stage` (0-5 for stages 1-6).
    uint8_t dpiStage(size_t stage) const { return at(off::dpiStages + stage); }
    void setDpiStage(size_t stage, uint8_t position) { set(off::dpiStages + stage, position); }
    uint8_t activeDpiStage() const { return at(off::activeDpiStage); }
    uint8_t liftOff() const { return at(off::liftOff); }
    void setLiftOff(uint8_t position) { set(off::liftOff, position); }
};
static_assert(sizeof(MouseState) == 23);

/// One on-board slot, 64 bytes. The mouse exchanges bytes 0-55 (slot s at settings offset
/// s x 64). In a ".led" file bytes 23 and 24 hold the desktop pointer speed and wheel lines;
/// bytes 25-63 are carried unchanged.
struct MouseSlotRecord : device::ByteRecord<kSlotRecordSize> {
    struct off {
        static constexpr size_t state = 0;
        static constexpr size_t pointerSpeed = 23;  ///< 1-20
        static constexpr size_t wheelLines = 24;    ///< 1-10
    };
    MouseState state() const {
        MouseState s;
        s.assignPrefix(span());
        return s;
    }
    void setState(const MouseState& s) { std::copy(s.bytes.begin(), s.bytes.end(), bytes.begin()); }
    uint8_t pointerSpeed() const { return at(off::pointerSpeed); }
    uint8_t wheelLines() const { return at(off::wheelLines); }
    void setPointerSpeed(uint8_t v) { set(off::pointerSpeed, v); }
    void setWheelLines(uint8_t v) { set(off::wheelLines, v); }
};
static_assert(sizeof(MouseSlotRecord) == kSlotRecordSize);

/// Key page p: the mouse's key memory from p x 126 to p x 126 + 511. Its first 126 bytes
/// are key bank p (six button codes, three guard entries, the rest carried); the remaining
/// bytes mirror the following banks and are carried through.
struct MouseKeyPage : device::ByteRecord<kKeyPageSize> {
    static constexpr size_t kBankBytes = protocol::kBankStride;  // 126
    static constexpr size_t kGuardEntries = 18;                  ///< bytes 18-26
    /// The 3-byte function code of button i (0-5).
    std::span<const uint8_t, 3> button(size_t i) const { return std::span<const uint8_t, 3>(&bytes[3 * i], 3); }
};
static_assert(sizeof(MouseKeyPage) == kKeyPageSize);

using MouseKeyPages = std::array<MouseKeyPage, kPageCount>;

/// The factory key table (command 7): the default code of button i at bytes 3i..3i+2.
struct MouseDefaultKeys : device::ByteRecord<kKeyPageSize> {
    std::span<const uint8_t, 3> button(size_t i) const { return std::span<const uint8_t, 3>(&bytes[3 * i], 3); }
};
static_assert(sizeof(MouseDefaultKeys) == kKeyPageSize);

/// The block the profile files are cut from: the five key pages (bytes 0-2559) and the five
/// slot records (bytes 2560-2879). A ".pro" file is page 0; a ".led" file is slot record 0,
/// which is also where the lighting profile is staged, whatever slot is active.
struct MouseSettingsBlock {
    MouseKeyPages pages;
    std::array<MouseSlotRecord, kSlotCount> slots;

    static constexpr size_t kSlotsOffset = kPageCount * kKeyPageSize;  // 2560
    std::span<const uint8_t> bytes() const {
        return {reinterpret_cast<const uint8_t*>(this), sizeof(*this)};
    }
};
static_assert(sizeof(MouseSettingsBlock) == 2880);
static_assert(offsetof(MouseSettingsBlock, slots) == MouseSettingsBlock::kSlotsOffset);

}  // namespace orvane::mouse
