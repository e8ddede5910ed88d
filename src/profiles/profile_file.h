// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The profile file: a 16-byte header (magic AA 55, reserved 0, the device kind as a 16-bit
// little-endian value at offset 4, reserved 0) followed by the raw body. Readers test the
// magic only; the kind and the file length are not compared, and a file shorter than header
// plus body leaves the rest of the body zero (the reader says how much came from the file,
// so that callers can tell the user). Only regular files are read.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "device/models.h"
#include "platform/atomic_file.h"

namespace orvane::profiles {

inline constexpr size_t kHeaderSize = 16;
inline constexpr uint8_t kMagic0 = 0xAA;
inline constexpr uint8_t kMagic1 = 0x55;

/// ReadProfileFile results.
enum class ReadResult : int { Read = 0, Missing = 1, BadMagic = -1 };

struct ProfileBody {
    ReadResult result = ReadResult::Missing;
    /// Always exactly the size asked for; zero where the file had no bytes.
    std::vector<uint8_t> bytes;
    /// Body bytes that came from the file; the rest of `bytes` is zero.
    size_t bodyBytesRead = 0;
    /// Missing because the path is a folder, FIFO or device rather than absent.
    bool notRegular = false;
    bool ok() const { return result == ReadResult::Read; }
    /// Read, but shorter than header and body.
    bool isShort() const { return ok() && bodyBytesRead < bytes.size(); }
    /// "the file was short: 3 of 64 body bytes, the other 61 filled with zeros"; empty when
    /// the file was whole.
    std::string shortNote() const;
};

/// Reads at most header + bodySize bytes, whatever the file's length.
ProfileBody ReadProfileFile(const std::filesystem::path& path, size_t bodySize);
/// The same from bytes already read (any length).
ProfileBody ParseProfileBytes(std::string_view bytes, size_t bodySize);

/// Header and body as the file holds them.
std::string ProfileFileBytes(device::DeviceKind kind, std::span<const uint8_t> body);

/// Writes header and body atomically (a temporary file beside the target, renamed over it),
/// so a failure leaves the old file as it was. false when the file could not be written;
/// the debug text "文件打开失败" is logged then.
bool WriteProfileFile(const std::filesystem::path& path, device::DeviceKind kind, std::span<const uint8_t> body);
/// The same with the write's options (an export makes no folders) and why it failed.
platform::WriteOutcome WriteProfile(const std::filesystem::path& path, device::DeviceKind kind,
                                    std::span<const uint8_t> body, platform::WriteOptions options = {});

}  // namespace orvane::profiles
