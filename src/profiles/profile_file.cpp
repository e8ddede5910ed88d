// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/profile_file.h"

#include <cstring>

#include "device/log.h"
#include "platform/regular_file.h"

namespace orvane::profiles {

ProfileBody ReadProfileFile(const std::filesystem::path& path, size_t bodySize) {
    ProfileBody out;
    out.bytes.assign(bodySize, 0);
    // Longer files are fine: only header and body are read.
    const auto contents = platform::ReadRegularFile(path, kHeaderSize + bodySize, platform::Overflow::TakePrefix);
    if (!contents.ok()) {
        out.notRegular = contents.status == platform::FileStatus::NotRegular;
        return out;
    }
    return ParseProfileBytes(contents.bytes, bodySize);
}

ProfileBody ParseProfileBytes(std::string_view bytes, size_t bodySize) {
    ProfileBody out;
    out.bytes.assign(bodySize, 0);
    if (bytes.size() < 2 || uint8_t(bytes[0]) != kMagic0 || uint8_t(bytes[1]) != kMagic1) {
        out.result = ReadResult::BadMagic;
        return out;
    }
    out.result = ReadResult::Read;
    if (bytes.size() > kHeaderSize) {
        out.bodyBytesRead = std::min(bodySize, bytes.size() - kHeaderSize);
        std::memcpy(out.bytes.data(), bytes.data() + kHeaderSize, out.bodyBytesRead);
    }
    return out;
}

std::string ProfileBody::shortNote() const {
    if (!isShort()) return {};
    return "the file was short: " + std::to_string(bodyBytesRead) + " of " + std::to_string(bytes.size()) +
           " body bytes, the other " + std::to_string(bytes.size() - bodyBytesRead) + " filled with zeros";
}

std::string ProfileFileBytes(device::DeviceKind kind, std::span<const uint8_t> body) {
    std::string bytes(kHeaderSize, '\0');
    bytes[0] = char(kMagic0);
    bytes[1] = char(kMagic1);
    bytes[4] = char(static_cast<uint8_t>(kind));
    bytes.append(reinterpret_cast<const char*>(body.data()), body.size());
    return bytes;
}

platform::WriteOutcome WriteProfile(const std::filesystem::path& path, device::DeviceKind kind,
                                    std::span<const uint8_t> body, platform::WriteOptions options) {
    const auto outcome = platform::WriteFile(path, ProfileFileBytes(kind, body), options);
    if (!outcome.ok()) {
        device::Log("文件打开失败");
        device::Log(path.string() + ": " + outcome.text());
    }
    return outcome;
}

bool WriteProfileFile(const std::filesystem::path& path, device::DeviceKind kind, std::span<const uint8_t> body) {
    return WriteProfile(path, kind, body).ok();
}

}  // namespace orvane::profiles
