#pragma once

#include <cstdint>
#include <functional>
#include <utility>

#include "base/random.h"

namespace vantrel {

/// Reads the clock that reseeds the generator. Any steadily rising count
/// will do; tests inject a fixed one to reproduce deals.
using Clock = std::function<std::uint64_t()>;

/// Nanoseconds of the system clock.
std::uint64_t SystemClockNanoseconds();

/// The table's draws in [0, 1), single precision, from the program's
/// generator reseeded from a clock reading (stream 0 of that reading).
class RandomSource {
public:
    /// Reseeds from a clock reading. The reading is first made strictly
    /// greater than the last one used, so reseeds within one tick of the clock
    /// (a search deals many times per tick) never bring back an earlier state.
    void Reseed(std::uint64_t clockReading);

    /// A draw r with 0 <= r < 1: a 24-bit integer times 2^-24, so every draw is
    /// exact in single precision. Each 64-bit output serves two draws.
    float NextSingle();

    /// The next two draws as their 24-bit integers k (the draw is k * 2^-24),
    /// in the order NextSingle would give them. The shuffle takes its draws in
    /// pairs this way, without converting each to a float and back.
    std::pair<std::uint32_t, std::uint32_t> NextDrawPair() {
        const std::uint64_t bits = random_.Next64();
        return {static_cast<std::uint32_t>(bits >> 40), static_cast<std::uint32_t>(bits >> 8) & 0xFFFFFFu};
    }

private:
    Random random_{0, 0};
    std::uint64_t lastKey_ = 0;
    bool seeded_ = false;
};

}  // namespace vantrel
