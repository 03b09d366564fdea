#pragma once

#include <array>
#include <cstdint>
#include <utility>

#include "table/random_source.h"

namespace vantrel {

/// The computer players' generator: xoshiro256++ seeded through splitmix64
/// from a seed and a stream number, so that each world, deal or block of a
/// simulation draws the same cards for the same seed on any machine and with
/// any number of threads.
class PlayerRandom {
public:
    PlayerRandom(std::uint64_t seed, std::uint64_t stream) {
        std::uint64_t mix = seed ^ (stream * 0x9E3779B97F4A7C15ull) ^ 0xA0761D6478BD642Full;
        for (auto& word : state_) word = SplitMix64(mix);
    }
    std::uint64_t Next() { return Xoshiro256PlusPlus(state_); }
    /// A whole number below `bound` (at least 1), without bias: Lemire's draw.
    std::uint32_t Below(std::uint32_t bound) {
        std::uint64_t product = (Next() >> 32) * bound;
        if (static_cast<std::uint32_t>(product) < bound) {
            const std::uint32_t threshold = static_cast<std::uint32_t>(-bound) % bound;
            while (static_cast<std::uint32_t>(product) < threshold) product = (Next() >> 32) * bound;
        }
        return static_cast<std::uint32_t>(product >> 32);
    }

private:
    std::array<std::uint64_t, 4> state_{};
};

/// A deal of the 48 cards into four hands of twelve (South, West, North,
/// East), drawn by a Fisher-Yates shuffle from a seed and a stream number.
inline std::array<std::uint64_t, 4> DealHands(std::uint64_t seed, std::uint64_t stream) {
    PlayerRandom random(seed, stream);
    std::array<int, 48> deck{};
    for (int i = 0; i < 48; ++i) deck[static_cast<std::size_t>(i)] = i / 2;
    for (std::uint32_t i = 47; i > 0; --i) std::swap(deck[i], deck[random.Below(i + 1)]);
    std::array<std::uint64_t, 4> hands{};
    for (std::size_t i = 0; i < 48; ++i) hands[i / 12] += std::uint64_t{1} << (2 * deck[i]);
    return hands;
}

}  // namespace vantrel
