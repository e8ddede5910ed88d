// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The OpenRGB SDK's packets: a 16-byte header ("ORGB", device index, packet id, payload
// size, each number 32-bit little-endian) and its payload. `PacketReader` cuts packets out
// of a TCP byte stream as it arrives: half a packet waits for the rest, one read may hold
// several packets. A wrong magic or a payload over `kMaxPayload` breaks the stream for good:
// nothing after it can be trusted to start a packet, so the connection is to be closed.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace orvane::integrations::openrgb {

inline constexpr size_t kHeaderSize = 16;
inline constexpr std::string_view kMagic = "ORGB";
/// No request of this protocol comes near it (a whole keyboard's colours are ~500 bytes).
inline constexpr uint32_t kMaxPayload = 1024 * 1024;

namespace packet_id {
inline constexpr uint32_t kRequestControllerCount = 0;
inline constexpr uint32_t kRequestControllerData = 1;
inline constexpr uint32_t kRequestProtocolVersion = 40;
inline constexpr uint32_t kSetClientName = 50;
inline constexpr uint32_t kDeviceListUpdated = 100;
inline constexpr uint32_t kRequestProfileList = 150;
inline constexpr uint32_t kUpdateLeds = 1050;
inline constexpr uint32_t kUpdateZoneLeds = 1051;
inline constexpr uint32_t kUpdateSingleLed = 1052;
inline constexpr uint32_t kSetCustomMode = 1100;
inline constexpr uint32_t kUpdateMode = 1101;
inline constexpr uint32_t kSaveMode = 1102;
}  // namespace packet_id

struct Packet {
    uint32_t device = 0;
    uint32_t id = 0;
    std::vector<uint8_t> payload;
};

enum class ReadStatus {
    Packet,    ///< one packet taken out
    NeedMore,  ///< no whole packet buffered yet
    BadMagic,  ///< the stream does not start a packet with "ORGB"
    TooLarge,  ///< a header announces more than kMaxPayload
};
/// A one-line description of a broken stream ("" for Packet and NeedMore).
std::string_view Describe(ReadStatus status);

class PacketReader {
public:
    /// Appends received bytes. Bytes after a broken stream are dropped.
    void feed(std::span<const uint8_t> bytes);
    /// The next whole packet into `out`, NeedMore, or why the stream is broken (it stays so).
    ReadStatus next(Packet& out);
    bool broken() const { return broken_ != ReadStatus::NeedMore; }
    /// Bytes held that are not yet a whole packet (a header's worth of them for a peer that
    /// sent half a packet and went quiet).
    size_t pending() const { return buffer_.size() - start_; }

private:
    ReadStatus checkHeader() const;
    std::vector<uint8_t> buffer_;
    size_t start_ = 0;
    ReadStatus broken_ = ReadStatus::NeedMore;
};

std::vector<uint8_t> EncodePacket(uint32_t device, uint32_t id, std::span<const uint8_t> payload = {});
/// A payload of one 32-bit value (controller count, protocol version).
std::vector<uint8_t> EncodeU32Packet(uint32_t device, uint32_t id, uint32_t value);

}  // namespace orvane::integrations::openrgb
