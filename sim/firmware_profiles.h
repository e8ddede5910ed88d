// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What differs between the emulated Orvane devices, as data: one row per model, plus the
// factory contents built from it (information record, built-in key table, key banks, slot
// records, cursor image). The factory key table and slot-0 records are valid profile bodies,
// so the default profile files can be generated from them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "device/models.h"
#include "device/protocol/commands.h"
#include "sim/firmware_keys.h"

namespace orvane::sim {

/// One row per sensor model: how DPI stage positions map to DPI, and the factory stages.
struct SensorRow {
    uint16_t sensorId;
    uint8_t dpiStep;          ///< DPI per slider position
    uint8_t highestPosition;  ///< minimumDpi + highestPosition x dpiStep = the sensor's maximum
    uint16_t minimumDpi;
    std::array<uint8_t, 6> factoryStages;  ///< slider positions of DPI stages 1-6
};

struct FirmwareProfile {
    device::DeviceModel model;
    uint16_t firmwareVersion;
    std::span<const FunctionCode> nativeKeys;  ///< built-in code of key i at bytes 3i..3i+2
    uint8_t factoryBanks;     ///< key banks that hold the built-in table after a reset
    uint8_t macroUnits;       ///< macro memory in 128-byte units; 0 = no macro memory
    uint8_t ledCount;
    uint8_t bytesPerLed;      ///< 3 (R, G, B) or 1 (one level per key)
    uint16_t sensorId;        ///< 0 = no sensor
    uint8_t dpiStageCount;    ///< stages the DPI button cycles through
    bool hasKeyMemory;        ///< commands 7, 8, 9
    bool hasSlots;            ///< on-board settings slots, commands 5 and 6
    bool hasCursorImage;      ///< commands 22, 23
    uint8_t factorySpeed;     ///< slot record byte 3 after a reset
    std::optional<uint16_t> resetNotification;  ///< sent after a factory reset

    size_t frameSize() const { return size_t{ledCount} * bytesPerLed; }
    device::DeviceKind kind() const { return device::Identity(model).kind; }
};

const FirmwareProfile& ProfileFor(device::DeviceModel model);
/// The sensor row of that id, or null.
const SensorRow* FindSensor(uint16_t sensorId);

// ---- memory layout shared by every model --------------------------------------------------

inline constexpr size_t kNativeTableSize = 512;
inline constexpr size_t kMaxKeyCount = kNativeTableSize / 3;  // 170
/// Key memory as the host addresses it: bank b at b x 126, and bank 4 still has a whole
/// 512-byte block behind it.
inline constexpr size_t kKeyMemorySize =
    (protocol::kBankCount - 1) * protocol::kBankStride + kNativeTableSize;
inline constexpr size_t kSlotCount = 5;
inline constexpr size_t kSlotSize = 64;
inline constexpr size_t kSettingsMemorySize = kSlotCount * kSlotSize;
inline constexpr size_t kActiveSlotOffset = 0;  ///< shares its byte with slot 0's slot field
inline constexpr size_t kMacroUnit = 128;
inline constexpr size_t kCursorImageLimit = 3072;

/// Information record (31 bytes). Bytes 5, 6 and 9-14 are read by the host; the others
/// describe the device for tools and tests.
namespace info {
inline constexpr size_t productId = 0;        // u16 LE
inline constexpr size_t firmwareVersion = 2;  // u16 LE, BCD
inline constexpr size_t deviceKind = 4;       // 1 keyboard, 2 mouse, 3 mousepad
inline constexpr size_t keyCount = 5;
inline constexpr size_t macroUnits = 6;
inline constexpr size_t ledCount = 7;
inline constexpr size_t bytesPerLed = 8;
inline constexpr size_t sensorId = 9;         // u16 LE
inline constexpr size_t dpiStep = 11;
inline constexpr size_t highestDpiPosition = 12;
inline constexpr size_t minimumDpi = 13;      // u16 LE
}  // namespace info

/// Slot record (64 bytes). Bytes 0-8 are the lighting record of every device; bytes 9-22
/// are the mouse's; bytes 23-24 are the Windows pointer settings a mouse ".led" file keeps.
namespace slot {
inline constexpr size_t index = 0;
inline constexpr size_t mode = 1;
inline constexpr size_t brightness = 2;
inline constexpr size_t speed = 3;
inline constexpr size_t direction = 4;
inline constexpr size_t sevenColour = 5;
inline constexpr size_t colour = 6;  // R, G, B
inline constexpr size_t dpiColour = 11;
inline constexpr size_t reportRate = 14;
inline constexpr size_t dpiStages = 15;  // six stage positions
inline constexpr size_t activeDpiStage = 21;
inline constexpr size_t liftOff = 22;
inline constexpr size_t pointerSpeed = 23;
inline constexpr size_t wheelLines = 24;
}  // namespace slot

// ---- factory contents ----------------------------------------------------------------------

protocol::DeviceInfoBytes FactoryInfo(const FirmwareProfile& profile);
/// The built-in key table, zero beyond the model's keys: also the body of the default key
/// profile ("kbkeydefault.pro", "mskeydefault.pro").
std::array<uint8_t, kNativeTableSize> FactoryKeyTable(const FirmwareProfile& profile);
/// Key memory after a reset: the built-in table at the start of each factory bank.
std::vector<uint8_t> FactoryKeyMemory(const FirmwareProfile& profile);
/// Slot record s after a reset; slot 0 is also the body of the default lighting profile of
/// the mouse and the mousepad ("msdengdefault.led", "msdengdefault2.led", "mpdengdefault.led").
std::array<uint8_t, kSlotSize> FactorySlotRecord(const FirmwareProfile& profile, size_t s);
/// Settings memory after a reset: the five slot records, slot 0 active.
std::vector<uint8_t> FactorySettingsMemory(const FirmwareProfile& profile);
/// An empty macro image (header only) at the start of a capacity-sized memory.
std::vector<uint8_t> FactoryMacroMemory(size_t capacity);
/// Four cursor sequences of 30 steps (180 actions each), in the macro-image layout.
std::vector<uint8_t> FactoryCursorImage();

}  // namespace orvane::sim
