// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one firmware model behind every emulated device; the model's row in
// firmware_profiles.h says which memories it has and what they hold after a reset.
//
// Replies: report id 4, command, length and offset echoed, status at byte 7, read data from
// byte 8, checksum filled in. Status values:
//   0     accepted
//   0xFF  the request is not understood: wrong checksum (every command but 13), unknown
//         command, or a command this model has no memory for
//   0xFE  the request is understood but cannot be done: length 0 or above 56, offset + length
//         outside the memory, a slot index above 4
// A report whose id is not 4 gets no reply.
//
// Settings memory (mouse, mousepad): five 64-byte slot records at slot x 64; byte 0 is the
// active slot (and so slot 0's own index byte reads as the active slot). Command 6 with one
// data byte makes that slot active. Command 6 with 2-56 bytes stores a slot record: byte 0
// of the data names the slot and the bytes go to that slot; in normal use the host names
// the active slot. The record never switches the active slot and never overwrites the
// active-slot byte.
//
// Lighting frames (command 18) are collected chunk by chunk; a frame counts when its chunks
// arrived from offset 0 without a gap up to the frame's last byte. A repeated chunk (a
// retry) is harmless; a frame with a missing chunk is dropped.
//
// Factory reset (command 13, accepted without a checksum) restores key memory, settings
// memory, macro and cursor images; the information record (hardware) and the lighting
// frame stay. The mouse then announces it with notification 0x0402.

#include <cstdint>
#include <span>
#include <vector>

#include "sim/firmware.h"
#include "sim/firmware_profiles.h"

namespace orvane::sim {

inline constexpr uint8_t kStatusAccepted = 0x00;
inline constexpr uint8_t kStatusNotUnderstood = protocol::kStatusRefusedFF;
inline constexpr uint8_t kStatusOutOfRange = protocol::kStatusRefusedFE;

inline constexpr uint16_t kNotifySlotChanged = 0x0401;
inline constexpr uint16_t kNotifySettingsChanged = 0x0402;

class DeviceFirmware final : public Firmware {
public:
    explicit DeviceFirmware(const FirmwareProfile& profile);

    std::optional<protocol::Report> handle(const protocol::Report& request) override;

    const FirmwareProfile& profile() const { return profile_; }

    // Information record; the setters stand in for other hardware.
    const protocol::DeviceInfoBytes& info() const { return info_; }
    void setInfoByte(size_t index, uint8_t value);
    void setKeyCount(uint8_t keys);
    void setSensorId(uint16_t sensorId);
    /// Resizes the macro memory to units x 128 bytes and empties it.
    void setMacroCapacityUnits(uint8_t units);
    size_t macroCapacity() const { return macro_.size(); }

    std::span<const uint8_t> nativeTable() const { return native_; }
    std::span<uint8_t> keyMemory() { return keys_; }
    std::span<const uint8_t> keyMemory() const { return keys_; }
    std::span<uint8_t> settingsMemory() { return settings_; }
    std::span<const uint8_t> settingsMemory() const { return settings_; }
    /// 0 on devices without slots.
    uint8_t activeSlot() const;
    /// The 64 bytes of slot s (s < 5); empty on devices without slots.
    std::span<const uint8_t> slotRecord(size_t s) const;

    /// The last complete lighting frame (empty before the first) and how many arrived.
    std::span<const uint8_t> lastFrame() const { return lastFrame_; }
    uint64_t frameCount() const { return frameCount_; }

    /// The whole macro memory (capacity bytes).
    std::span<const uint8_t> macroImage() const { return macro_; }
    /// The stored cursor image as long as its header says (bounded by the 3072-byte memory);
    /// empty when the memory does not start with a valid header.
    std::span<const uint8_t> cursorImage() const;
    std::span<const uint8_t> cursorMemory() const { return cursor_; }

    uint64_t factoryResetCount() const { return resets_; }

    /// Restores the factory contents and announces it where the model does.
    void factoryReset();
    /// The DPI button on the mouse itself: next stage of the active slot, then 0x0401.
    /// Does nothing on a device without a sensor.
    void pressDpiButton();

private:
    enum class Region : uint8_t { Info, Settings, NativeKeys, KeyMemory, Frame, Macro, Cursor };
    std::span<uint8_t> region(Region r);
    uint8_t writeMemory(uint8_t length, uint16_t offset, const uint8_t* data);
    void frameChunkWritten(size_t offset, size_t length);
    void announce(uint16_t usage);

    const FirmwareProfile& profile_;
    protocol::DeviceInfoBytes info_{};
    std::vector<uint8_t> native_;
    std::vector<uint8_t> keys_;
    std::vector<uint8_t> settings_;
    std::vector<uint8_t> macro_;
    std::vector<uint8_t> cursor_;
    std::vector<uint8_t> frameStaging_;
    std::vector<uint8_t> lastFrame_;
    size_t frameFilled_ = 0;  // bytes received without a gap since the frame's offset-0 chunk
    bool frameBroken_ = true;
    uint64_t frameCount_ = 0;
    uint64_t resets_ = 0;
};

}  // namespace orvane::sim
