#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vantrel {

/// The 24 kinds of card of the pinochle deck, numbered 6 * suit + rank with
/// suits 0..3 (Clubs, Hearts, Spades, Diamonds) and ranks 0..5 (A, 10, K, Q,
/// J, 9): a lower rank number is the higher card. The card record's code is
/// 100 * (suit + 1) + (rank + 1).
inline constexpr int kCardKinds = 24;
constexpr int KindOfCode(int code) { return 6 * (code / 100 - 1) + (code % 100 - 1); }
constexpr int CodeOfKind(int kind) { return 100 * (kind / 6 + 1) + kind % 6 + 1; }
constexpr int SuitOfKind(int kind) { return kind / 6; }
constexpr int RankOfKind(int kind) { return kind % 6; }
constexpr int KindOf(int suit, int rank) { return 6 * suit + rank; }

/// A hand as the count (0..2) of each kind of card, two bits a kind: suit s
/// holds bits 12 * s to 12 * s + 11. Adding the bit of each card builds it.
using HandCounts = std::uint64_t;
constexpr HandCounts KindBit(int kind) { return HandCounts{1} << (2 * kind); }
constexpr int CountOf(HandCounts hand, int kind) { return static_cast<int>((hand >> (2 * kind)) & 3u); }

/// Whether a hand holds every card of `cards`, each as often.
constexpr bool Holds(HandCounts hand, HandCounts cards) {
    for (int kind = 0; kind < kCardKinds; ++kind)
        if (CountOf(cards, kind) > CountOf(hand, kind)) return false;
    return true;
}

/// The counts of A, 10, K, Q, J and 9 in one suit's twelve bits of a hand.
constexpr std::array<int, 6> RankCounts(int suitBits) {
    std::array<int, 6> counts{};
    for (int rank = 0; rank < 6; ++rank) counts[static_cast<std::size_t>(rank)] = (suitBits >> (2 * rank)) & 3;
    return counts;
}

/// A set of kinds, one bit a kind: what a hand holds at least one of, or
/// what a seat may play.
using KindMask = std::uint32_t;
constexpr KindMask KindFlag(int kind) { return KindMask{1} << kind; }
constexpr KindMask SuitMask(int suit) { return KindMask{0x3F} << (6 * suit); }
/// The kinds of `kind`'s suit that beat it.
constexpr KindMask Above(int kind) { return ((KindMask{1} << RankOfKind(kind)) - 1) << (6 * SuitOfKind(kind)); }

/// The kinds a hand holds at least one of.
constexpr KindMask HeldKinds(HandCounts hand) {
    // Each two-bit count becomes one bit, and the bits are gathered together.
    std::uint64_t x = (hand | (hand >> 1)) & 0x5555555555555555ull;
    x = (x | (x >> 1)) & 0x3333333333333333ull;
    x = (x | (x >> 2)) & 0x0F0F0F0F0F0F0F0Full;
    x = (x | (x >> 4)) & 0x00FF00FF00FF00FFull;
    x = (x | (x >> 8)) & 0x0000FFFF0000FFFFull;
    x = (x | (x >> 16)) & 0x00000000FFFFFFFFull;
    return static_cast<KindMask>(x);
}

/// The number of cards in a hand.
constexpr int CardCount(HandCounts hand) {
    int cards = 0;
    for (int kind = 0; kind < kCardKinds; ++kind) cards += CountOf(hand, kind);
    return cards;
}

/// A kind as a player writes it, e.g. "10♥".
std::string KindText(int kind);

/// The cards of a hand by suit, as a player writes them, e.g. "♣ A K  ♥ —  ♠ 10 9 9  ♦ Q".
std::string CountsText(HandCounts hand);

}  // namespace vantrel
