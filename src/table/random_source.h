#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <utility>

namespace vantrel {

/// One step of splitmix64: how a seed is spread over xoshiro256++'s four words.
constexpr std::uint64_t SplitMix64(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

/// One step of xoshiro256++ on a state of four words: the generator behind
/// the deals and the hand analysis.
constexpr std::uint64_t Xoshiro256PlusPlus(std::array<std::uint64_t, 4>& state) {
    auto rotl = [](std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); };
    const std::uint64_t result = rotl(state[0] + state[3], 23) + state[0];
    const std::uint64_t t = state[1] << 17;
    state[2] ^= state[0];
    state[3] ^= state[1];
    state[1] ^= state[2];
    state[0] ^= state[3];
    state[2] ^= t;
    state[3] = rotl(state[3], 45);
    return result;
}

/// Reads the clock that reseeds the generator. Any steadily rising count
/// will do; tests inject a fixed one to reproduce deals.
using Clock = std::function<std::uint64_t()>;

/// Nanoseconds of the system clock.
std::uint64_t SystemClockNanoseconds();

/// The program's pseudo-random generator: xoshiro256++ seeded through
/// splitmix64, giving single-precision draws in [0, 1).
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
        const std::uint64_t bits = Next64();
        return {static_cast<std::uint32_t>(bits >> 40), static_cast<std::uint32_t>(bits >> 8) & 0xFFFFFFu};
    }

private:
    std::uint64_t Next64() { return Xoshiro256PlusPlus(state_); }

    std::array<std::uint64_t, 4> state_{1, 2, 3, 4};
    std::uint64_t lastKey_ = 0;
    bool seeded_ = false;
    std::uint32_t spare_ = 0;
    bool hasSpare_ = false;
};

}  // namespace vantrel
