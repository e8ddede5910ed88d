// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Little-endian field writing and bounds-checked reading for the SDK's packets. The reader
// never reads past its span: a read that does not fit fails and leaves the reader failed, so
// a parser checks once at the end instead of after every field.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::integrations::openrgb {

/// An LED colour as the SDK carries it: 4 bytes, red, green, blue, one unused.
struct Colour {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    friend bool operator==(const Colour&, const Colour&) = default;
};

class ByteWriter {
public:
    void u8(uint8_t v) { out_.push_back(v); }
    void u16(uint16_t v);
    void u32(uint32_t v);
    void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
    void colour(Colour c);
    /// A 16-bit length counting the terminating zero, the characters, the zero. A text longer
    /// than the length field holds is cut.
    void text(std::string_view s);
    /// Writes the current size as a 32-bit value at `at` (a size field reserved earlier).
    void patchU32(size_t at, uint32_t v);
    size_t size() const { return out_.size(); }
    std::vector<uint8_t> take() { return std::move(out_); }

private:
    std::vector<uint8_t> out_;
};

class ByteReader {
public:
    explicit ByteReader(std::span<const uint8_t> in) : in_(in) {}
    bool u16(uint16_t& v);
    bool u32(uint32_t& v);
    bool i32(int32_t& v);
    bool colour(Colour& c);
    /// A length-prefixed text; the characters up to the first zero inside it.
    bool text(std::string& s);
    bool skip(size_t n);
    size_t left() const { return failed_ ? 0 : in_.size() - pos_; }
    bool ok() const { return !failed_; }
    bool atEnd() const { return !failed_ && pos_ == in_.size(); }

private:
    bool take(size_t n, const uint8_t*& p);
    std::span<const uint8_t> in_;
    size_t pos_ = 0;
    bool failed_ = false;
};

}  // namespace orvane::integrations::openrgb
