// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/firmware_profiles.h"

#include <algorithm>

namespace orvane::sim {

namespace {

using device::DeviceModel;

// DPI = minimumDpi + position x dpiStep; the highest position gives the sensor's maximum
// (5000, 4000, 12000). Factory stages: 400, 800, 1600, 3200, then the upper range.
constexpr std::array<SensorRow, 3> kSensors{{
    {0x3325, 100, 48, 200, {2, 6, 14, 30, 46, 48}},      // 400 800 1600 3200 4800 5000
    {0x3050, 50, 75, 250, {3, 11, 27, 59, 75, 75}},      // 400 800 1600 3200 4000 4000
    {0x3360, 100, 119, 100, {3, 7, 15, 31, 63, 119}},    // 400 800 1600 3200 6400 12000
}};

constexpr uint16_t kVersion = 0x0103;

// model, version, keys, factory banks, macro units, LEDs, bytes/LED, sensor, DPI stages,
// key memory, slots, cursor image, factory speed, reset notification
const std::array<FirmwareProfile, 5> kProfiles{{
    {DeviceModel::RgbKeyboard, kVersion, kKeyboardFirmwareKeys, 1, 32, 126, 3, 0, 0,
     true, false, false, 0, std::nullopt},
    {DeviceModel::MonoKeyboard, kVersion, kKeyboardFirmwareKeys, 1, 32, 126, 1, 0, 0,
     true, false, false, 0, std::nullopt},
    {DeviceModel::Mouse, kVersion, kMouseFirmwareKeys, 5, 16, 20, 3, 0x3325, 5,
     true, true, true, 2, uint16_t{0x0402}},
    {DeviceModel::Mouse2, kVersion, kMouseFirmwareKeys, 5, 16, 20, 3, 0x3360, 6,
     true, true, true, 2, uint16_t{0x0402}},
    {DeviceModel::Mousepad, kVersion, {}, 0, 0, 15, 3, 0, 0,
     false, true, false, 7, std::nullopt},
}};

// Lighting of the five slots, shared by mouse and mousepad: mode, seven-colour, R, G, B.
struct SlotLighting {
    uint8_t mode, sevenColour, r, g, b;
};
constexpr std::array<SlotLighting, kSlotCount> kSlotLighting{{
    {0, 1, 0xFF, 0x00, 0x00},
    {1, 0, 0x00, 0x8A, 0xFF},
    {2, 0, 0x6C, 0xFF, 0x00},
    {3, 0, 0x7E, 0x00, 0xFF},
    {0, 0, 0xFE, 0xB3, 0x00},
}};
constexpr uint8_t kFactoryBrightness = 4;
constexpr uint8_t kFactoryReportRate = 3;    // highest rate of the rate list
constexpr uint8_t kFactoryActiveStage = 1;   // 800 DPI
constexpr uint8_t kFactoryLiftOff = 1;
constexpr uint8_t kFactoryPointerSpeed = 10;
constexpr uint8_t kFactoryWheelLines = 3;

void PutLe16(std::span<uint8_t> bytes, size_t at, uint16_t v) {
    bytes[at] = static_cast<uint8_t>(v & 0xFF);
    bytes[at + 1] = static_cast<uint8_t>(v >> 8);
}

}  // namespace

const FirmwareProfile& ProfileFor(DeviceModel model) {
    for (const auto& p : kProfiles)
        if (p.model == model) return p;
    return kProfiles[0];
}

const SensorRow* FindSensor(uint16_t sensorId) {
    for (const auto& s : kSensors)
        if (s.sensorId == sensorId) return &s;
    return nullptr;
}

protocol::DeviceInfoBytes FactoryInfo(const FirmwareProfile& profile) {
    protocol::DeviceInfoBytes rec{};
    PutLe16(rec, info::productId, device::Identity(profile.model).productId);
    PutLe16(rec, info::firmwareVersion, profile.firmwareVersion);
    rec[info::deviceKind] = static_cast<uint8_t>(profile.kind());
    rec[info::keyCount] = static_cast<uint8_t>(profile.nativeKeys.size());
    rec[info::macroUnits] = profile.macroUnits;
    rec[info::ledCount] = profile.ledCount;
    rec[info::bytesPerLed] = profile.bytesPerLed;
    if (const SensorRow* sensor = FindSensor(profile.sensorId)) {
        PutLe16(rec, info::sensorId, sensor->sensorId);
        rec[info::dpiStep] = sensor->dpiStep;
        rec[info::highestDpiPosition] = sensor->highestPosition;
        PutLe16(rec, info::minimumDpi, sensor->minimumDpi);
    }
    return rec;
}

std::array<uint8_t, kNativeTableSize> FactoryKeyTable(const FirmwareProfile& profile) {
    std::array<uint8_t, kNativeTableSize> table{};
    for (size_t i = 0; i < profile.nativeKeys.size() && 3 * i + 2 < table.size(); ++i) {
        const FunctionCode& c = profile.nativeKeys[i];
        table[3 * i] = c.type;
        table[3 * i + 1] = c.b1;
        table[3 * i + 2] = c.b2;
    }
    return table;
}

std::vector<uint8_t> FactoryKeyMemory(const FirmwareProfile& profile) {
    std::vector<uint8_t> memory(kKeyMemorySize, 0);
    const auto table = FactoryKeyTable(profile);
    const size_t length = profile.nativeKeys.size() * 3;
    // Last bank first: a table longer than the bank stride (the keyboard's) overlaps the
    // next bank, and the lower bank must keep its table whole.
    for (size_t b = std::min<size_t>(profile.factoryBanks, protocol::kBankCount); b-- > 0;)
        std::copy_n(table.begin(), length, memory.begin() + b * protocol::kBankStride);
    return memory;
}

std::array<uint8_t, kSlotSize> FactorySlotRecord(const FirmwareProfile& profile, size_t s) {
    std::array<uint8_t, kSlotSize> rec{};
    const SlotLighting& light = kSlotLighting[s % kSlotCount];
    rec[slot::index] = static_cast<uint8_t>(s);
    rec[slot::mode] = light.mode;
    rec[slot::brightness] = kFactoryBrightness;
    rec[slot::speed] = profile.factorySpeed;
    rec[slot::sevenColour] = light.sevenColour;
    rec[slot::colour] = light.r;
    rec[slot::colour + 1] = light.g;
    rec[slot::colour + 2] = light.b;
    if (const SensorRow* sensor = FindSensor(profile.sensorId)) {
        rec[slot::dpiColour] = light.r;
        rec[slot::dpiColour + 1] = light.g;
        rec[slot::dpiColour + 2] = light.b;
        rec[slot::reportRate] = kFactoryReportRate;
        std::copy(sensor->factoryStages.begin(), sensor->factoryStages.end(),
                  rec.begin() + slot::dpiStages);
        rec[slot::activeDpiStage] = kFactoryActiveStage;
        rec[slot::liftOff] = kFactoryLiftOff;
    }
    if (profile.kind() == device::DeviceKind::Mouse) {
        rec[slot::pointerSpeed] = kFactoryPointerSpeed;
        rec[slot::wheelLines] = kFactoryWheelLines;
    }
    return rec;
}

std::vector<uint8_t> FactorySettingsMemory(const FirmwareProfile& profile) {
    std::vector<uint8_t> memory(kSettingsMemorySize, 0);
    for (size_t s = 0; s < kSlotCount; ++s) {
        const auto rec = FactorySlotRecord(profile, s);
        std::copy(rec.begin(), rec.end(), memory.begin() + s * kSlotSize);
    }
    memory[kActiveSlotOffset] = 0;
    return memory;
}

namespace {

constexpr uint16_t kImageMagic = 0x55AA;
constexpr size_t kImageHeaderSize = 16;

struct Action {
    uint16_t delay;  // units of 10 ms
    uint8_t kind;    // bit 7: press / left / up
    uint8_t code;
};

// One cursor step: a click, then the step delay, a horizontal and a vertical move (the
// last three are what the cursor editor changes). Sequence k pulls down harder as it runs.
std::array<Action, 6> CursorStep(size_t sequence, size_t step) {
    const auto down = static_cast<uint8_t>(1 + sequence + step / 10);
    const auto wait = static_cast<uint16_t>(6 + 2 * sequence);
    return {{
        {2, 0x81, 0x01},     // left press
        {0, 0x01, 0x01},     // left release
        {0, 0x05, 0x00},     // no move
        {wait, 0x04, 0x00},  // step delay
        {0, 0x04, 0x00},     // horizontal: none
        {0, 0x05, down},     // vertical: down
    }};
}

}  // namespace

std::vector<uint8_t> FactoryMacroMemory(size_t capacity) {
    std::vector<uint8_t> memory(capacity, 0);
    if (capacity >= kImageHeaderSize) {
        PutLe16(memory, 0, kImageMagic);
        PutLe16(memory, 2, kImageHeaderSize);
    }
    return memory;
}

std::vector<uint8_t> FactoryCursorImage() {
    constexpr size_t kSequences = 4;
    constexpr size_t kSteps = 30;
    constexpr size_t kActions = kSteps * 6;
    constexpr size_t kSize = kImageHeaderSize + 6 * kSequences + 4 * kActions * kSequences;
    static_assert(kSize <= kCursorImageLimit);

    std::vector<uint8_t> image(kSize, 0);
    PutLe16(image, 0, kImageMagic);
    PutLe16(image, 2, kSize);
    PutLe16(image, 4, kSequences);
    size_t next = kImageHeaderSize + 2 * kSequences;
    for (size_t k = 0; k < kSequences; ++k) {
        PutLe16(image, kImageHeaderSize + 2 * k, static_cast<uint16_t>(next));
        PutLe16(image, next, kActions);
        size_t at = next + 4;
        for (size_t p = 0; p < kSteps; ++p)
            for (const Action& a : CursorStep(k, p)) {
                PutLe16(image, at, a.delay);
                image[at + 2] = a.kind;
                image[at + 3] = a.code;
                at += 4;
            }
        next = at;
    }
    return image;
}

}  // namespace orvane::sim
