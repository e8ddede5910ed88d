// SPDX-License-Identifier: GPL-3.0-or-later
#include "integrations/openrgb/sdk_packet.h"

#include <algorithm>
#include <cstring>

#include "integrations/openrgb/sdk_bytes.h"

namespace orvane::integrations::openrgb {

namespace {
uint32_t Le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
}  // namespace

std::string_view Describe(ReadStatus status) {
    switch (status) {
    case ReadStatus::BadMagic: return "not an OpenRGB SDK packet (the header does not start with \"ORGB\")";
    case ReadStatus::TooLarge: return "packet larger than 1 MB";
    case ReadStatus::Packet:
    case ReadStatus::NeedMore: break;
    }
    return {};
}

void PacketReader::feed(std::span<const uint8_t> bytes) {
    if (broken()) return;
    // Drop what was consumed before growing, so a long-lived connection holds at most one
    // packet plus one read.
    if (start_ > 0) {
        buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(start_));
        start_ = 0;
    }
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
}

ReadStatus PacketReader::checkHeader() const {
    const size_t have = pending();
    const uint8_t* p = buffer_.data() + start_;
    // A wrong magic is refused from its first wrong byte, not only once 16 bytes arrived.
    if (std::memcmp(p, kMagic.data(), std::min(have, kMagic.size())) != 0) return ReadStatus::BadMagic;
    if (have < kHeaderSize) return ReadStatus::NeedMore;
    if (Le32(p + 12) > kMaxPayload) return ReadStatus::TooLarge;
    return ReadStatus::Packet;
}

ReadStatus PacketReader::next(Packet& out) {
    if (broken()) return broken_;
    if (pending() == 0) return ReadStatus::NeedMore;
    const ReadStatus header = checkHeader();
    if (header == ReadStatus::BadMagic || header == ReadStatus::TooLarge) {
        broken_ = header;
        buffer_.clear();
        start_ = 0;
        return header;
    }
    if (header == ReadStatus::NeedMore) return header;
    const uint8_t* p = buffer_.data() + start_;
    const uint32_t size = Le32(p + 12);
    if (pending() - kHeaderSize < size) return ReadStatus::NeedMore;
    out.device = Le32(p + 4);
    out.id = Le32(p + 8);
    out.payload.assign(p + kHeaderSize, p + kHeaderSize + size);
    start_ += kHeaderSize + size;
    return ReadStatus::Packet;
}

std::vector<uint8_t> EncodePacket(uint32_t device, uint32_t id, std::span<const uint8_t> payload) {
    ByteWriter w;
    for (char c : kMagic) w.u8(static_cast<uint8_t>(c));
    w.u32(device);
    w.u32(id);
    w.u32(static_cast<uint32_t>(payload.size()));
    auto out = w.take();
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

std::vector<uint8_t> EncodeU32Packet(uint32_t device, uint32_t id, uint32_t value) {
    ByteWriter w;
    w.u32(value);
    const auto payload = w.take();
    return EncodePacket(device, id, payload);
}

}  // namespace orvane::integrations::openrgb
