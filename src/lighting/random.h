// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The randomness the effects draw on (the breathing colour picks), injectable so that
// tests and the render command are deterministic.

#include <cstdint>

namespace orvane::lighting {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual uint32_t next() = 0;
};

/// A small deterministic generator (xorshift32). Seed 0 is taken as 1.
class SeededRandom final : public RandomSource {
public:
    explicit SeededRandom(uint32_t seed = 1) : state_(seed ? seed : 1) {}
    uint32_t next() override {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }

private:
    uint32_t state_;
};

}  // namespace orvane::lighting
