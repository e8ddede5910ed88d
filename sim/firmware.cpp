// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/firmware.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "sim/firmware_device.h"

namespace orvane::sim {

using namespace protocol;

namespace {

enum class Access : uint8_t { Read, Write };

constexpr size_t kMaxSlotIndex = kSlotCount - 1;

bool ChecksumMatches(const Report& r) { return ComputeChecksum(r) == ReadLe16(r, off::checksum); }

// Frames shorter than the LED count are sent too (the mouse's 30-byte blink) and so are
// longer ones (the pad's 60-byte static, breathing and flash frames, bytes 45-59 zero):
// the frame memory takes at least 60 bytes.
constexpr size_t kLongestShortFrame = 60;
size_t FrameMemorySize(const FirmwareProfile& p) { return std::max(p.frameSize(), kLongestShortFrame); }

}  // namespace

DeviceFirmware::DeviceFirmware(const FirmwareProfile& profile)
    : profile_(profile),
      info_(FactoryInfo(profile)),
      frameStaging_(FrameMemorySize(profile), 0) {
    if (profile_.hasKeyMemory) {
        const auto table = FactoryKeyTable(profile_);
        native_.assign(table.begin(), table.end());
    }
    factoryReset();
    resets_ = 0;  // the first fill is manufacturing, not a reset
}

std::optional<Report> DeviceFirmware::handle(const Report& request) {
    if (request[off::reportId] != kReportId) return std::nullopt;

    Report reply{};
    reply[off::reportId] = kReportId;
    reply[off::command] = request[off::command];
    reply[off::length] = request[off::length];
    reply[off::offset] = request[off::offset];
    reply[off::offset + 1] = request[off::offset + 1];
    const auto answer = [&reply](uint8_t status) {
        reply[off::status] = status;
        StoreChecksum(reply);
        return reply;
    };

    const uint8_t command = request[off::command];
    // The restore-defaults report is sent bare: no checksum to check.
    if (command == kFactoryReset) {
        factoryReset();
        return answer(kStatusAccepted);
    }
    if (!ChecksumMatches(request)) return answer(kStatusNotUnderstood);

    const uint8_t length = request[off::length];
    const uint16_t offset = ReadLe16(request, off::offset);
    switch (command) {
    case kBeginTransfer:
    case kEndTransfer:
        return answer(kStatusAccepted);
    case kWriteMemory:
        if (region(Region::Settings).empty()) return answer(kStatusNotUnderstood);
        return answer(writeMemory(length, offset, &request[off::data]));
    default:
        break;
    }

    // Commands that move bytes of one memory at the request's offset.
    struct BlockCommand {
        uint8_t command;
        Region region;
        Access access;
    };
    static constexpr std::array<BlockCommand, 9> kBlockCommands{{
        {kReadDeviceInfo, Region::Info, Access::Read},
        {kReadMemory, Region::Settings, Access::Read},
        {kReadNativeBlock, Region::NativeKeys, Access::Read},
        {kReadBank, Region::KeyMemory, Access::Read},
        {kWriteBank, Region::KeyMemory, Access::Write},
        {kWriteLightingFrame, Region::Frame, Access::Write},
        {kWriteMacroBlob, Region::Macro, Access::Write},
        {kReadCursorBlob, Region::Cursor, Access::Read},
        {kWriteCursorBlob, Region::Cursor, Access::Write},
    }};
    const auto block = std::find_if(kBlockCommands.begin(), kBlockCommands.end(),
                                    [command](const BlockCommand& b) { return b.command == command; });
    if (block == kBlockCommands.end()) return answer(kStatusNotUnderstood);
    const Region which = block->region;
    const std::span<uint8_t> memory = region(which);
    if (memory.empty()) return answer(kStatusNotUnderstood);
    if (length == 0 || length > kChunkSize || size_t{offset} + length > memory.size())
        return answer(kStatusOutOfRange);

    if (block->access == Access::Read) {
        std::memcpy(&reply[off::data], memory.data() + offset, length);
    } else {
        std::memcpy(memory.data() + offset, &request[off::data], length);
        if (which == Region::Frame) frameChunkWritten(offset, length);
    }
    return answer(kStatusAccepted);
}

std::span<uint8_t> DeviceFirmware::region(Region r) {
    switch (r) {
    case Region::Info: return info_;
    case Region::Settings: return settings_;
    case Region::NativeKeys: return native_;
    case Region::KeyMemory: return keys_;
    case Region::Frame: return frameStaging_;
    case Region::Macro: return macro_;
    case Region::Cursor: return cursor_;
    }
    return {};
}

uint8_t DeviceFirmware::writeMemory(uint8_t length, uint16_t offset, const uint8_t* data) {
    if (offset != 0 || length == 0 || length > kChunkSize) return kStatusOutOfRange;
    const uint8_t target = data[0];
    if (target > kMaxSlotIndex) return kStatusOutOfRange;
    if (length == 1) {
        settings_[kActiveSlotOffset] = target;
        return kStatusAccepted;
    }
    // A slot record: byte 0 names the slot; it is the slot's own index byte, except in
    // slot 0, where that byte holds the active slot and is left alone.
    uint8_t* record = settings_.data() + size_t{target} * kSlotSize;
    std::memcpy(record + 1, data + 1, length - 1u);
    if (target != 0) record[slot::index] = target;
    return kStatusAccepted;
}

void DeviceFirmware::frameChunkWritten(size_t offset, size_t length) {
    if (offset == 0) {
        frameFilled_ = 0;
        frameBroken_ = false;
    }
    if (frameBroken_ || offset > frameFilled_) {
        frameBroken_ = true;  // a chunk is missing: wait for the next frame's first chunk
        return;
    }
    frameFilled_ = std::max(frameFilled_, offset + length);
    // A frame ends with a short chunk, at the LED count or at the end of the memory.
    const size_t end = offset + length;
    if (length < kChunkSize || end == profile_.frameSize() || end == frameStaging_.size()) {
        lastFrame_.assign(frameStaging_.begin(), frameStaging_.begin() + std::ptrdiff_t(end));
        ++frameCount_;
        frameBroken_ = true;  // a repeated last chunk must not count the frame twice
    }
}

uint8_t DeviceFirmware::activeSlot() const {
    return profile_.hasSlots ? settings_[kActiveSlotOffset] : 0;
}

std::span<const uint8_t> DeviceFirmware::slotRecord(size_t s) const {
    if (!profile_.hasSlots || s >= kSlotCount) return {};
    return std::span<const uint8_t>(settings_).subspan(s * kSlotSize, kSlotSize);
}

std::span<const uint8_t> DeviceFirmware::cursorImage() const {
    constexpr size_t kHeader = 16;
    if (cursor_.size() < kHeader) return {};
    const auto word = [this](size_t at) { return static_cast<uint16_t>(cursor_[at] | (cursor_[at + 1] << 8)); };
    if (word(0) != 0x55AA) return {};
    const size_t total = std::clamp<size_t>(word(2), kHeader, cursor_.size());
    return std::span<const uint8_t>(cursor_).first(total);
}

void DeviceFirmware::setInfoByte(size_t index, uint8_t value) {
    if (index < info_.size()) info_[index] = value;
    if (index == info::macroUnits) setMacroCapacityUnits(value);
}

void DeviceFirmware::setKeyCount(uint8_t keys) { info_[info::keyCount] = keys; }

void DeviceFirmware::setSensorId(uint16_t sensorId) {
    info_[info::sensorId] = static_cast<uint8_t>(sensorId & 0xFF);
    info_[info::sensorId + 1] = static_cast<uint8_t>(sensorId >> 8);
}

void DeviceFirmware::setMacroCapacityUnits(uint8_t units) {
    info_[info::macroUnits] = units;
    macro_ = FactoryMacroMemory(size_t{units} * kMacroUnit);
}

void DeviceFirmware::factoryReset() {
    if (profile_.hasKeyMemory) keys_ = FactoryKeyMemory(profile_);
    if (profile_.hasSlots) settings_ = FactorySettingsMemory(profile_);
    macro_ = FactoryMacroMemory(size_t{info_[info::macroUnits]} * kMacroUnit);
    if (profile_.hasCursorImage) {
        cursor_ = FactoryCursorImage();
        cursor_.resize(kCursorImageLimit, 0);
    }
    ++resets_;
    if (profile_.resetNotification) announce(*profile_.resetNotification);
}

void DeviceFirmware::pressDpiButton() {
    if (!profile_.hasSlots || profile_.dpiStageCount == 0) return;
    uint8_t& stage = settings_[size_t{activeSlot()} * kSlotSize + slot::activeDpiStage];
    stage = static_cast<uint8_t>((stage + 1) % profile_.dpiStageCount);
    announce(kNotifySlotChanged);
}

void DeviceFirmware::announce(uint16_t usage) {
    if (notify) notify(usage);
}

std::unique_ptr<Firmware> MakeFirmware(device::DeviceModel model) {
    return std::make_unique<DeviceFirmware>(ProfileFor(model));
}

}  // namespace orvane::sim
