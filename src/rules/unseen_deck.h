#pragma once

#include <array>
#include <cstdint>
#include <utility>

#include "base/random.h"
#include "rules/cards.h"

namespace vantrel {

/// Two copies of each of the 24 kinds: the whole deck as hand counts.
inline constexpr HandCounts kWholeDeck = 0xAAAAAAAAAAAAull;

/// Cards to be dealt out again and again: the unseen cards of a seat, the
/// whole deck for a fresh deal. Each deal is a partial Fisher-Yates shuffle of
/// the order the last one left, so a run of deals from one generator costs a
/// draw a card and gives every deal with the same chance.
class UnseenDeck {
public:
    /// The deck of the cards given (each count 0..2).
    explicit UnseenDeck(HandCounts cards) {
        for (int kind = 0; kind < kCardKinds; ++kind)
            for (int copy = 0; copy < CountOf(cards, kind); ++copy) cards_[size_++] = static_cast<std::uint8_t>(kind);
    }
    /// The cards a seat has not seen, beside those it has (each count 0..2).
    static UnseenDeck Besides(HandCounts seen) { return UnseenDeck(kWholeDeck - seen); }

    [[nodiscard]] int Size() const { return static_cast<int>(size_); }

    /// Deals the cards into hands of the sizes given, which add up to Size():
    /// each hand but the last draws its cards in turn, and the last holds
    /// what is left.
    template <std::size_t N>
    std::array<HandCounts, N> Deal(Random& random, const std::array<int, N>& sizes) {
        std::array<HandCounts, N> hands{};
        std::uint32_t at = 0;
        const auto size = static_cast<std::uint32_t>(size_);
        for (std::size_t h = 0; h < N; ++h) {
            const auto end = h + 1 == N ? size : std::min(size, at + static_cast<std::uint32_t>(sizes[h]));
            for (; at < end; ++at) {
                if (h + 1 < N) std::swap(cards_[at], cards_[at + random.Below(size - at)]);
                hands[h] += KindBit(cards_[at]);
            }
        }
        return hands;
    }

private:
    std::array<std::uint8_t, 48> cards_{};
    std::size_t size_ = 0;
};

/// A deal of the 48 cards into four hands of twelve (South, West, North,
/// East), from a seed and a stream number.
inline std::array<HandCounts, 4> DealHands(std::uint64_t seed, std::uint64_t stream) {
    Random random(seed, stream);
    return UnseenDeck(kWholeDeck).Deal(random, std::array<int, 4>{12, 12, 12, 12});
}

}  // namespace vantrel
