#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <string>

namespace vantrel {

/// The four seats in the order of play, South first: the partnerships are
/// South-North (side 0) and West-East (side 1).
enum class Seat : int { South, West, North, East };
inline constexpr std::array<Seat, 4> kAllSeats{Seat::South, Seat::West, Seat::North, Seat::East};
constexpr int Index(Seat seat) { return static_cast<int>(seat); }
constexpr Seat SeatAt(int index) { return static_cast<Seat>(index & 3); }
constexpr Seat PartnerOf(Seat seat) { return SeatAt(Index(seat) + 2); }
constexpr int SideOf(Seat seat) { return Index(seat) & 1; }

/// The four suits, and None where no suit is named (no trump).
enum class Suit : int { None = -1, Clubs, Hearts, Spades, Diamonds };
inline constexpr std::array<Suit, 4> kAllSuits{Suit::Clubs, Suit::Hearts, Suit::Spades, Suit::Diamonds};
constexpr int Index(Suit suit) { return static_cast<int>(suit); }
/// The suit of index 0..3; None for any other.
constexpr Suit SuitAt(int index) { return index >= 0 && index < 4 ? static_cast<Suit>(index) : Suit::None; }

/// Arrays indexed by a seat, a suit or a side.
template <class Key, class T, std::size_t N>
struct ByKey : std::array<T, N> {
    using std::array<T, N>::operator[];
    constexpr T& operator[](Key key) { return std::array<T, N>::operator[](static_cast<std::size_t>(key)); }
    constexpr const T& operator[](Key key) const { return std::array<T, N>::operator[](static_cast<std::size_t>(key)); }
};
template <class T>
using PerSeat = ByKey<Seat, T, 4>;
template <class T>
using PerSuit = ByKey<Suit, T, 4>;

/// The 24 kinds of card of the pinochle deck, numbered 6 * suit + rank with
/// suits 0..3 (Clubs, Hearts, Spades, Diamonds) and ranks 0..5 (A, 10, K, Q,
/// J, 9): a lower rank number is the higher card. The engines name a card by
/// its kind; the design's card codes are met only at the edge
/// (rules/design_codes.h).
inline constexpr int kCardKinds = 24;
template <class T>
using PerKind = std::array<T, kCardKinds>;
constexpr int SuitOfKind(int kind) { return kind / 6; }
constexpr int RankOfKind(int kind) { return kind % 6; }
constexpr int KindOf(int suit, int rank) { return 6 * suit + rank; }

/// A hand as the count (0..2) of each kind of card, two bits a kind: suit s
/// holds bits 12 * s to 12 * s + 11. Adding the bit of each card builds it.
using HandCounts = std::uint64_t;
constexpr HandCounts KindBit(int kind) { return HandCounts{1} << (2 * kind); }
constexpr int CountOf(HandCounts hand, int kind) { return static_cast<int>((hand >> (2 * kind)) & 3u); }
/// The bits a hand's counts may use; anything above them is no card.
inline constexpr HandCounts kDeckBits = (HandCounts{1} << (2 * kCardKinds)) - 1;

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

/// A hand of any deck as the count of each kind: up to four copies in the
/// 80-card deck, where two bits a kind cannot hold them.
using KindCounts = std::array<std::uint8_t, kCardKinds>;
constexpr KindCounts CountsOf(HandCounts hand) {
    KindCounts counts{};
    for (int kind = 0; kind < kCardKinds; ++kind)
        counts[static_cast<std::size_t>(kind)] = static_cast<std::uint8_t>(CountOf(hand, kind));
    return counts;
}

/// A hand of the 48-card deck, counted a kind, back in two bits a kind: for
/// the code that holds that deck alone (counts above 3 do not fit).
constexpr HandCounts PackedCounts(const KindCounts& counts) {
    HandCounts hand = 0;
    for (int kind = 0; kind < kCardKinds; ++kind)
        hand |= static_cast<HandCounts>(counts[static_cast<std::size_t>(kind)] & 3u) << (2 * kind);
    return hand;
}
template <std::size_t N>
constexpr std::array<HandCounts, N> PackedCounts(const std::array<KindCounts, N>& hands) {
    std::array<HandCounts, N> packed{};
    for (std::size_t h = 0; h < N; ++h) packed[h] = PackedCounts(hands[h]);
    return packed;
}
template <std::size_t N>
constexpr std::array<KindCounts, N> CountsOf(const std::array<HandCounts, N>& hands) {
    std::array<KindCounts, N> counts{};
    for (std::size_t h = 0; h < N; ++h) counts[h] = CountsOf(hands[h]);
    return counts;
}

/// A hand of either kind read and changed alike, for the code that serves
/// both decks: the count of a kind, cards added or taken, the whole count,
/// and a hand less the cards of another.
constexpr int CountIn(HandCounts hand, int kind) { return CountOf(hand, kind); }
constexpr int CountIn(const KindCounts& hand, int kind) { return hand[static_cast<std::size_t>(kind)]; }
constexpr void AddCards(HandCounts& hand, int kind, int copies = 1) {
    hand += static_cast<HandCounts>(copies) * KindBit(kind);
}
constexpr void AddCards(KindCounts& hand, int kind, int copies = 1) {
    hand[static_cast<std::size_t>(kind)] = static_cast<std::uint8_t>(hand[static_cast<std::size_t>(kind)] + copies);
}
constexpr void TakeCards(HandCounts& hand, int kind, int copies = 1) {
    hand -= static_cast<HandCounts>(copies) * KindBit(kind);
}
constexpr void TakeCards(KindCounts& hand, int kind, int copies = 1) {
    hand[static_cast<std::size_t>(kind)] = static_cast<std::uint8_t>(hand[static_cast<std::size_t>(kind)] - copies);
}
constexpr int CardCount(const KindCounts& hand) {
    int cards = 0;
    for (const std::uint8_t count : hand) cards += count;
    return cards;
}
/// The cards a hand holds of a suit.
constexpr int SuitLength(const KindCounts& hand, int suit) {
    int cards = 0;
    for (int rank = 0; rank < 6; ++rank) cards += CountIn(hand, KindOf(suit, rank));
    return cards;
}
constexpr HandCounts Less(HandCounts hand, HandCounts cards) { return hand - cards; }
constexpr KindCounts Less(KindCounts hand, const KindCounts& cards) {
    for (std::size_t kind = 0; kind < hand.size(); ++kind)
        hand[kind] = static_cast<std::uint8_t>(hand[kind] - cards[kind]);
    return hand;
}
constexpr HandCounts Plus(HandCounts hand, HandCounts cards) { return hand + cards; }
/// Eight counts at a time: a count stays below 128, so no byte carries
/// into the next (a playout adds three hands at every card).
constexpr KindCounts Plus(const KindCounts& hand, const KindCounts& cards) {
    auto words = std::bit_cast<std::array<std::uint64_t, 3>>(hand);
    const auto more = std::bit_cast<std::array<std::uint64_t, 3>>(cards);
    for (std::size_t w = 0; w < words.size(); ++w) words[w] += more[w];
    return std::bit_cast<KindCounts>(words);
}

/// A set of kinds, one bit a kind: what a hand holds at least one of, or
/// what a seat may play.
using KindMask = std::uint32_t;
constexpr KindMask KindFlag(int kind) { return KindMask{1} << kind; }
constexpr KindMask SuitMask(int suit) { return KindMask{0x3F} << (6 * suit); }
/// The kinds of `kind`'s suit that beat it, from a table: the solvers ask
/// for it at every card.
inline constexpr std::array<KindMask, kCardKinds> kAbove = [] {
    std::array<KindMask, kCardKinds> above{};
    for (int kind = 0; kind < kCardKinds; ++kind)
        above[static_cast<std::size_t>(kind)] = ((KindMask{1} << RankOfKind(kind)) - 1) << (6 * SuitOfKind(kind));
    return above;
}();
constexpr KindMask Above(int kind) { return kAbove[static_cast<std::size_t>(kind)]; }

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

/// The kinds a hand of any deck holds at least one of: eight counts at a
/// time, each byte's high bit set where it is not zero, the eight bits then
/// gathered by one multiplication (a playout asks at every card).
constexpr KindMask HeldKinds(const KindCounts& hand) {
    const auto words = std::bit_cast<std::array<std::uint64_t, 3>>(hand);
    KindMask held = 0;
    for (std::size_t w = 0; w < words.size(); ++w) {
        constexpr std::uint64_t kLow = 0x7F7F7F7F7F7F7F7Full;
        const std::uint64_t nonzero = (((words[w] & kLow) + kLow) | words[w]) & ~kLow;
        held |= static_cast<KindMask>(((nonzero >> 7) * 0x0102040810204080ull) >> 56) << (8 * w);
    }
    return held;
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

/// Each card, in the deck's order, e.g. "J♥ 9♠ 9♠ 9♦".
std::string CardsText(const KindCounts& cards);

}  // namespace vantrel
