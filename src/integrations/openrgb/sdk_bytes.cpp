// SPDX-License-Identifier: GPL-3.0-or-later
#include "integrations/openrgb/sdk_bytes.h"

#include <algorithm>

namespace orvane::integrations::openrgb {

void ByteWriter::u16(uint16_t v) {
    out_.push_back(static_cast<uint8_t>(v));
    out_.push_back(static_cast<uint8_t>(v >> 8));
}

void ByteWriter::u32(uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) out_.push_back(static_cast<uint8_t>(v >> shift));
}

void ByteWriter::colour(Colour c) {
    out_.insert(out_.end(), {c.r, c.g, c.b, 0});
}

void ByteWriter::text(std::string_view s) {
    const size_t chars = std::min<size_t>(s.size(), 0xFFFE);
    u16(static_cast<uint16_t>(chars + 1));
    out_.insert(out_.end(), s.begin(), s.begin() + static_cast<std::ptrdiff_t>(chars));
    out_.push_back(0);
}

void ByteWriter::patchU32(size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out_[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

bool ByteReader::take(size_t n, const uint8_t*& p) {
    if (failed_ || in_.size() - pos_ < n) {
        failed_ = true;
        return false;
    }
    p = in_.data() + pos_;
    pos_ += n;
    return true;
}

bool ByteReader::u16(uint16_t& v) {
    const uint8_t* p = nullptr;
    if (!take(2, p)) return false;
    v = static_cast<uint16_t>(p[0] | p[1] << 8);
    return true;
}

bool ByteReader::u32(uint32_t& v) {
    const uint8_t* p = nullptr;
    if (!take(4, p)) return false;
    v = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    return true;
}

bool ByteReader::i32(int32_t& v) {
    uint32_t u = 0;
    if (!u32(u)) return false;
    v = static_cast<int32_t>(u);
    return true;
}

bool ByteReader::colour(Colour& c) {
    const uint8_t* p = nullptr;
    if (!take(4, p)) return false;
    c = {p[0], p[1], p[2]};
    return true;
}

bool ByteReader::text(std::string& s) {
    uint16_t length = 0;
    const uint8_t* p = nullptr;
    if (!u16(length) || !take(length, p)) return false;
    const auto* end = std::find(p, p + length, uint8_t{0});
    s.assign(reinterpret_cast<const char*>(p), static_cast<size_t>(end - p));
    return true;
}

bool ByteReader::skip(size_t n) {
    const uint8_t* p = nullptr;
    return take(n, p);
}

}  // namespace orvane::integrations::openrgb
