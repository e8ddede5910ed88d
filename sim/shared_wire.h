// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The messages between a shared emulator (orvane --simulate --share) and the processes that
// reach its devices over a local socket. Each is [type: 1 byte][payload length: 2 bytes, LE]
// [payload]. Each side treats the other as hostile: a type not meant for it, a payload over
// kMaxPayload or a field that does not fit its message breaks the stream, and the connection
// is closed.
//
//   client -> emulator                 emulator -> client
//   Enumerate ()                       Interfaces (count:u16, info...)
//   Probe (path)                       Present (yes:u8)
//   Open (path)                        Opened (error:u8; when 0: info, descriptor:bytes)
//   Write (report:bytes)               Written (ok:u8)
//   Drain ()                           Drained (count:u16) after every Input it sent before
//                                      Input (report:bytes), whenever the device sends one
//
// A connection is either for queries (Enumerate, Probe, any number) or, after Open, one open
// interface (Write, Drain). Strings and byte fields are [length: 2 bytes, LE][bytes].

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/hid/hid_types.h"

namespace orvane::sim::wire {

enum class Type : uint8_t {
    Enumerate = 0x01,
    Probe = 0x02,
    Open = 0x03,
    Write = 0x04,
    Drain = 0x05,
    Interfaces = 0x81,
    Present = 0x82,
    Opened = 0x83,
    Written = 0x84,
    Drained = 0x85,
    Input = 0x86,
};

inline constexpr size_t kHeaderSize = 3;
inline constexpr size_t kMaxPayload = 8192;
inline constexpr size_t kMaxReport = 1024;       ///< one report, either way
inline constexpr size_t kMaxText = 512;          ///< a path or a share id
inline constexpr size_t kMaxInterfaces = 64;

struct Message {
    Type type{};
    std::vector<uint8_t> payload;
};

/// Whether a message of this type may come to the emulator (true) or to a client (false).
bool ForEmulator(Type type);

std::vector<uint8_t> Encode(Type type, std::span<const uint8_t> payload = {});

/// Cuts messages out of a byte stream as it arrives: half a message waits; a broken stream
/// stays broken. Holds at most one message plus what one push added.
class Reader {
public:
    explicit Reader(bool atEmulator) : atEmulator_(atEmulator) {}
    void push(std::span<const uint8_t> bytes);
    /// The next whole message, if any.
    std::optional<Message> next();
    bool broken() const { return !problem_.empty(); }
    const std::string& problem() const { return problem_; }
    /// Bytes of an unfinished message are waiting.
    bool partial() const { return !buffer_.empty(); }

private:
    bool atEmulator_;
    std::vector<uint8_t> buffer_;
    std::string problem_;
};

/// Builds a payload.
class Out {
public:
    Out& u8(uint8_t v);
    Out& u16(uint16_t v);
    Out& bytes(std::span<const uint8_t> b);  ///< length-prefixed
    Out& text(const std::string& s);
    Out& info(const hid::InterfaceInfo& i);
    const std::vector<uint8_t>& data() const { return data_; }

private:
    std::vector<uint8_t> data_;
};

/// Reads a payload; every read past the end, or a field over its bound, fails it for good.
class In {
public:
    explicit In(std::span<const uint8_t> payload) : data_(payload) {}
    uint8_t u8();
    uint16_t u16();
    std::vector<uint8_t> bytes(size_t max);
    std::string text();
    hid::InterfaceInfo info();
    /// Every read fitted and nothing is left over.
    bool whole() const { return ok_ && pos_ == data_.size(); }
    bool ok() const { return ok_; }

private:
    bool take(size_t n);
    std::span<const uint8_t> data_;
    size_t pos_ = 0;
    bool ok_ = true;
};

/// Writes all of `bytes` to a non-blocking socket, waiting at most `timeoutMs` for room in
/// all; false when the peer is gone or does not read.
bool SendAll(int fd, std::span<const uint8_t> bytes, int timeoutMs);

}  // namespace orvane::sim::wire
