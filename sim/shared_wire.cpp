// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/shared_wire.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <chrono>

namespace orvane::sim::wire {

bool ForEmulator(Type type) { return (static_cast<uint8_t>(type) & 0x80) == 0; }

namespace {

bool Known(uint8_t type) {
    return (type >= 0x01 && type <= 0x05) || (type >= 0x81 && type <= 0x86);
}

}  // namespace

std::vector<uint8_t> Encode(Type type, std::span<const uint8_t> payload) {
    std::vector<uint8_t> out;
    out.reserve(kHeaderSize + payload.size());
    out.push_back(static_cast<uint8_t>(type));
    out.push_back(static_cast<uint8_t>(payload.size() & 0xFF));
    out.push_back(static_cast<uint8_t>(payload.size() >> 8));
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

void Reader::push(std::span<const uint8_t> bytes) {
    if (broken()) return;
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
}

std::optional<Message> Reader::next() {
    if (broken() || buffer_.empty()) return std::nullopt;
    const uint8_t type = buffer_[0];
    if (!Known(type) || ForEmulator(Type(type)) != atEmulator_) {
        problem_ = "unexpected message type " + std::to_string(type);
        buffer_.clear();
        return std::nullopt;
    }
    if (buffer_.size() < kHeaderSize) return std::nullopt;
    const size_t length = size_t(buffer_[1]) | size_t(buffer_[2]) << 8;
    if (length > kMaxPayload) {
        problem_ = "message of " + std::to_string(length) + " bytes (at most " + std::to_string(kMaxPayload) + ")";
        buffer_.clear();
        return std::nullopt;
    }
    if (buffer_.size() < kHeaderSize + length) return std::nullopt;
    Message m{Type(type), std::vector<uint8_t>(buffer_.begin() + kHeaderSize, buffer_.begin() + std::ptrdiff_t(kHeaderSize + length))};
    buffer_.erase(buffer_.begin(), buffer_.begin() + std::ptrdiff_t(kHeaderSize + length));
    return m;
}

Out& Out::u8(uint8_t v) {
    data_.push_back(v);
    return *this;
}

Out& Out::u16(uint16_t v) {
    data_.push_back(uint8_t(v & 0xFF));
    data_.push_back(uint8_t(v >> 8));
    return *this;
}

Out& Out::bytes(std::span<const uint8_t> b) {
    u16(uint16_t(b.size()));
    data_.insert(data_.end(), b.begin(), b.end());
    return *this;
}

Out& Out::text(const std::string& s) {
    return bytes(std::span(reinterpret_cast<const uint8_t*>(s.data()), std::min(s.size(), kMaxText)));
}

Out& Out::info(const hid::InterfaceInfo& i) {
    text(i.path).u16(i.vendorId).u16(i.productId).u16(i.versionNumber).u16(i.usagePage).u16(i.usage);
    u16(uint16_t(int16_t(i.interfaceNumber)));
    return text(i.shareId);
}

bool In::take(size_t n) {
    if (!ok_ || data_.size() - pos_ < n) {
        ok_ = false;
        return false;
    }
    return true;
}

uint8_t In::u8() {
    if (!take(1)) return 0;
    return data_[pos_++];
}

uint16_t In::u16() {
    if (!take(2)) return 0;
    const uint16_t v = uint16_t(data_[pos_] | data_[pos_ + 1] << 8);
    pos_ += 2;
    return v;
}

std::vector<uint8_t> In::bytes(size_t max) {
    const size_t n = u16();
    if (n > max) ok_ = false;
    if (!take(n)) return {};
    std::vector<uint8_t> out(data_.begin() + std::ptrdiff_t(pos_), data_.begin() + std::ptrdiff_t(pos_ + n));
    pos_ += n;
    return out;
}

std::string In::text() {
    const auto b = bytes(kMaxText);
    return std::string(b.begin(), b.end());
}

hid::InterfaceInfo In::info() {
    hid::InterfaceInfo i;
    i.path = text();
    i.vendorId = u16();
    i.productId = u16();
    i.versionNumber = u16();
    i.usagePage = u16();
    i.usage = u16();
    i.interfaceNumber = int16_t(u16());
    i.shareId = text();
    return i;
}

bool SendAll(int fd, std::span<const uint8_t> bytes, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            sent += size_t(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) return false;
        pollfd p{fd, POLLOUT, 0};
        if (::poll(&p, 1, int(left)) < 0 && errno != EINTR) return false;
    }
    return true;
}

}  // namespace orvane::sim::wire
