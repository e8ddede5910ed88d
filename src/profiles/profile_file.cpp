#include "profiles/profile_file.h"

#include <fstream>

#include "device/log.h"
#include "platform/atomic_file.h"

namespace orvane::profiles {

ProfileBody ReadProfileFile(const std::filesystem::path& path, size_t bodySize) {
    ProfileBody out;
    out.bytes.assign(bodySize, 0);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return out;  // missing, or a folder
    std::ifstream in(path, std::ios::binary);
    if (!in) return out;
    std::array<char, kHeaderSize> header{};
    in.read(header.data(), header.size());
    if (in.gcount() < 2 || uint8_t(header[0]) != kMagic0 || uint8_t(header[1]) != kMagic1) {
        out.result = ReadResult::BadMagic;
        return out;
    }
    out.result = ReadResult::Read;
    if (in.gcount() == std::streamsize(kHeaderSize))
        in.read(reinterpret_cast<char*>(out.bytes.data()), std::streamsize(bodySize));
    return out;
}

std::string ProfileFileBytes(device::DeviceKind kind, std::span<const uint8_t> body) {
    std::string bytes(kHeaderSize, '\0');
    bytes[0] = char(kMagic0);
    bytes[1] = char(kMagic1);
    bytes[4] = char(static_cast<uint8_t>(kind));
    bytes.append(reinterpret_cast<const char*>(body.data()), body.size());
    return bytes;
}

bool WriteProfileFile(const std::filesystem::path& path, device::DeviceKind kind, std::span<const uint8_t> body) {
    if (platform::WriteFileAtomically(path, ProfileFileBytes(kind, body))) return true;
    device::Log("文件打开失败");
    return false;
}

}  // namespace orvane::profiles
