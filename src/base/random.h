#pragma once

#include <array>
#include <cstdint>

namespace vantrel {

/// One step of splitmix64: how a seed is spread over xoshiro256++'s four words.
constexpr std::uint64_t SplitMix64(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

/// The program's one pseudo-random generator: xoshiro256++, its four words
/// drawn through splitmix64 from a seed and a stream number. Every engine
/// takes its draws from one of these, written out here rather than taken from
/// the standard library, whose distributions differ between implementations:
/// the same seed and stream give the same cards on any machine.
class Random {
public:
    /// The generator of stream `stream` (a world, a deal, a block of a
    /// simulation) of a seed. Stream 0 is seeded from the seed alone.
    constexpr Random(std::uint64_t seed, std::uint64_t stream) {
        std::uint64_t mix = seed ^ (stream * 0xD1B54A32D192ED03ull);
        for (auto& word : state_) word = SplitMix64(mix);
    }

    constexpr std::uint64_t Next64() {
        auto rotl = [](std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); };
        const std::uint64_t result = rotl(state_[0] + state_[3], 23) + state_[0];
        const std::uint64_t t = state_[1] << 17;
        state_[2] ^= state_[0];
        state_[3] ^= state_[1];
        state_[1] ^= state_[2];
        state_[0] ^= state_[3];
        state_[2] ^= t;
        state_[3] = rotl(state_[3], 45);
        return result;
    }

    /// Thirty-two bits: the high half of an output, then its low half.
    constexpr std::uint32_t Next32() {
        if (hasSpare_) {
            hasSpare_ = false;
            return spare_;
        }
        const std::uint64_t bits = Next64();
        spare_ = static_cast<std::uint32_t>(bits);
        hasSpare_ = true;
        return static_cast<std::uint32_t>(bits >> 32);
    }

    /// A whole number below `bound` (at least 1), without bias: Lemire's
    /// multiply, with a retry in the rare case that would favour some values.
    constexpr std::uint32_t Below(std::uint32_t bound) {
        std::uint64_t product = std::uint64_t{Next32()} * bound;
        if (static_cast<std::uint32_t>(product) < bound) {
            const std::uint32_t threshold = static_cast<std::uint32_t>(-bound) % bound;
            while (static_cast<std::uint32_t>(product) < threshold) product = std::uint64_t{Next32()} * bound;
        }
        return static_cast<std::uint32_t>(product >> 32);
    }

private:
    std::array<std::uint64_t, 4> state_{};
    std::uint32_t spare_ = 0;
    bool hasSpare_ = false;
};

}  // namespace vantrel
