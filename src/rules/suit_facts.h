#pragma once

#include <array>
#include <cstdint>

#include "rules/cards.h"

namespace vantrel {

/// What one suit of a hand melds, read once off its twelve bits (A 10 K Q J
/// 9, two bits each): the facts both fast meld counts are built from.
struct SuitFacts {
    // Four bytes, so that the whole table stays in the first-level cache of a
    // simulation that reads it millions of times a second.
    // Complete A 10 K Q J sets (0..2) in bits 0-1, King-Queen pairs in
    // bits 2-3, nines in bits 4-5.
    std::uint8_t counts = 0;
    std::uint8_t around = 0;  // copies of A, K, Q and J, two bits each
    // The designed marriage value outside trump: a pair 20, three of the four
    // cards 20 too, all four 40, a run keeping one King and Queen for itself.
    std::uint8_t designedMarriage = 0;
    std::uint8_t held = 0;  // a bit for each of A, K, Q and J held at all

    [[nodiscard]] constexpr int Runs() const { return counts & 3; }
    [[nodiscard]] constexpr int Marriages() const { return (counts >> 2) & 3; }
    [[nodiscard]] constexpr int Nines() const { return (counts >> 4) & 3; }
    [[nodiscard]] constexpr int Around(std::size_t rank) const { return (around >> (2 * rank)) & 3; }
};

/// A hand's meld ready for any trump, as a fast count gives it.
class MeldByTrump {
public:
    /// The meld for no trump.
    [[nodiscard]] int NoTrump() const { return base_; }
    /// The meld for trump suit 0..3 (Clubs, Hearts, Spades, Diamonds), the
    /// nines of trump included.
    [[nodiscard]] int WithTrump(int suit) const { return withTrump_[static_cast<std::size_t>(suit)]; }

protected:
    int base_ = 0;
    std::array<int, 4> withTrump_{};
};

/// The facts of every one of the 4096 ways a suit can lie in a hand.
extern const std::array<SuitFacts, 4096> kSuitFacts;

/// The facts of suit 0..3 of a hand.
inline const SuitFacts& FactsOf(HandCounts hand, int suit) {
    return kSuitFacts[static_cast<std::size_t>((hand >> (12 * suit)) & 0xFFFu)];
}

}  // namespace vantrel
