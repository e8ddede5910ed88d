#pragma once
// The profile file: a 16-byte header (magic AA 55, reserved 0, the device kind as a 16-bit
// little-endian value at offset 4, reserved 0) followed by the raw body. Readers test the
// magic only; the kind and the file length are not compared, and a file shorter than header
// plus body leaves the rest of the body zero.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "device/models.h"

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
    bool ok() const { return result == ReadResult::Read; }
};

/// Reads at most header + bodySize bytes, whatever the file's length.
ProfileBody ReadProfileFile(const std::filesystem::path& path, size_t bodySize);

/// Header and body as the file holds them.
std::string ProfileFileBytes(device::DeviceKind kind, std::span<const uint8_t> body);

/// Writes header and body atomically (a temporary file beside the target, renamed over it),
/// so a failure leaves the old file as it was. false when the file could not be written;
/// the debug text "文件打开失败" is logged then.
bool WriteProfileFile(const std::filesystem::path& path, device::DeviceKind kind, std::span<const uint8_t> body);

}  // namespace orvane::profiles
