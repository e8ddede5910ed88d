// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keyboard's byte records, each with its one layout: the information record, the
// built-in key table, the key assignment banks, the lighting slots and the current lighting
// record, the paint state and the per-key colour layers, and the ".led" body they make up.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "device/byte_record.h"
#include "device/protocol/commands.h"
#include "functions/function_code.h"
#include "keyboard/key_positions.h"

namespace orvane::keyboard {

using device::Rgb;

inline constexpr size_t kKeyTableSize = 512;
/// The most keys a 512-byte key table holds at 3 bytes a key. A keyboard reporting more
/// cannot be read; the program says so with this message once and keeps its tables. (The
/// language files keep "message_text_11" for the profile list's last-entry message.)
inline constexpr size_t kMaxKeyCount = kKeyTableSize / 3;  // 170
inline constexpr std::string_view kTooManyKeysMessage = "message_text_19";
inline constexpr size_t kBankCount = protocol::kBankCount;
inline constexpr size_t kLightingSlotCount = 5;
inline constexpr size_t kColourLayerCount = 5;
inline constexpr size_t kLedSlotCount = kKeyPositionCount;  // 126

/// The reply to command 3. Byte 5 is the key count N, byte 6 the macro memory in 128-byte
/// units; the others are carried.
struct KeyboardInfo : device::ByteRecord<protocol::kDeviceInfoSize> {
    struct off {
        static constexpr size_t keyCount = 5;
        static constexpr size_t macroUnits = 6;
    };
    uint8_t reportedKeyCount() const { return at(off::keyCount); }
    /// The key count as far as the tables reach: never above 170, so that no loop over
    /// the keys reads past a 512-byte table.
    size_t keyCount() const { return reportedKeyCount() < kMaxKeyCount ? reportedKeyCount() : kMaxKeyCount; }
    size_t macroCapacity() const { return size_t{at(off::macroUnits)} * 128; }
};
static_assert(sizeof(KeyboardInfo) == 31);

/// A 3-byte function code {type, b1, b2}; for an ordinary key {0x20, modifier bits, HID
/// usage}.
using KeyCode = functions::FunctionCode;

/// 512 bytes of 3-byte codes, key i at 3i..3i+2; bytes beyond the keys are zero. Both the
/// keyboard's built-in table and every assignment bank have this layout.
struct KeyTable : device::ByteRecord<kKeyTableSize> {
    KeyCode code(size_t key) const { return {bytes[3 * key], bytes[3 * key + 1], bytes[3 * key + 2]}; }
    void setCode(size_t key, KeyCode c) {
        bytes[3 * key] = c.type;
        bytes[3 * key + 1] = c.b1;
        bytes[3 * key + 2] = c.b2;
    }
};
static_assert(sizeof(KeyTable) == kKeyTableSize);

/// The keyboard's own code of each key (command 7); also the key's default assignment.
using NativeKeyTable = KeyTable;
/// Bank b holds what every key produces; a ".pro" file is one bank.
using KeyAssignmentBanks = std::array<KeyTable, kBankCount>;

/// The current lighting record: a working copy of the first 21 bytes of one lighting slot.
struct LightingRecord : device::ByteRecord<21> {
    struct off {
        static constexpr size_t slot = 0;         ///< 0-4; also the active assignment bank
        static constexpr size_t mode = 1;
        static constexpr size_t brightness = 2;   ///< 0-4
        static constexpr size_t speed = 3;        ///< 4 - speed slider, not below 0
        static constexpr size_t direction = 4;    ///< nonzero: left
        static constexpr size_t sevenColour = 5;
        static constexpr size_t colour = 6;       ///< R, G, B
        static constexpr size_t reserved = 9;     ///< 9-20, carried
    };
    uint8_t slot() const { return at(off::slot); }
    void setSlot(uint8_t s) { set(off::slot, s); }
    uint8_t mode() const { return at(off::mode); }
    Rgb colour() const { return rgb(off::colour); }
};
static_assert(sizeof(LightingRecord) == 21);

/// One lighting slot, 64 bytes: the lighting record's 21 bytes, then 43 reserved bytes.
struct LightingSlot : device::ByteRecord<64> {
    LightingRecord record() const {
        LightingRecord r;
        r.assignPrefix(span());
        return r;
    }
    void setRecord(const LightingRecord& r) {
        for (size_t i = 0; i < LightingRecord::kSize; ++i) bytes[i] = r.bytes[i];
    }
};
static_assert(sizeof(LightingSlot) == 64);
using LightingSlots = std::array<LightingSlot, kLightingSlotCount>;

/// Byte 0: the colour layer being painted (0-4); bytes 1-3: the paint colour.
struct CustomPaintState : device::ByteRecord<4> {
    struct off {
        static constexpr size_t layer = 0;
        static constexpr size_t colour = 1;
    };
    uint8_t layer() const { return at(off::layer); }
    Rgb colour() const { return rgb(off::colour); }
};
static_assert(sizeof(CustomPaintState) == 4);

/// Five painted layers of 126 LED slots, R, G, B each (layer L, slot s at 378L + 3s). The
/// single-colour keyboard keeps one level per slot at 378L + s.
struct KeyColourMap : device::ByteRecord<kColourLayerCount * kLedSlotCount * 3> {
    static constexpr size_t kLayerSize = kLedSlotCount * 3;  // 378
    Rgb colourAt(size_t layer, size_t slot) const { return rgb(kLayerSize * layer + 3 * slot); }
    void setColourAt(size_t layer, size_t slot, Rgb c) { setRgb(kLayerSize * layer + 3 * slot, c); }
    uint8_t levelAt(size_t layer, size_t slot) const { return at(kLayerSize * layer + slot); }
    void setLevelAt(size_t layer, size_t slot, uint8_t level) { set(kLayerSize * layer + slot, level); }
};
static_assert(sizeof(KeyColourMap) == 1890);

/// The body of a keyboard lighting profile (".led"): one lighting slot, the paint state and
/// the colour layers.
struct KeyboardLightingBody {
    LightingSlot slot;
    CustomPaintState paint;
    KeyColourMap colours;
};
static_assert(sizeof(KeyboardLightingBody) == 1958);
static_assert(offsetof(KeyboardLightingBody, paint) == 64);
static_assert(offsetof(KeyboardLightingBody, colours) == 68);

/// For each of the 126 key positions, the device key drawn there, or kNoDeviceKey.
inline constexpr int32_t kNoDeviceKey = 126;
using PositionMap = std::array<int32_t, kKeyPositionCount>;
constexpr PositionMap InitialPositionMap() {
    PositionMap m{};
    m.fill(kNoDeviceKey);
    return m;
}

}  // namespace orvane::keyboard
