#pragma once

#include <array>
#include <cstdint>

#include "rules/cards.h"

namespace vantrel {

/// What one suit of a hand melds, read once off its twelve bits (A 10 K Q J
/// 9, two bits each): the facts both fast meld counts are built from.
struct SuitFacts {
    std::uint8_t runs = 0;       // complete A 10 K Q J sets, 0..2
    std::uint8_t marriages = 0;  // King-Queen pairs, 0..2
    std::uint8_t nines = 0;
    std::array<std::uint8_t, 4> around{};  // copies of A, K, Q and J
    // The designed marriage value outside trump: a pair 20, three of the four
    // cards 20 too, all four 40, a run keeping one King and Queen for itself.
    std::uint8_t designedMarriage = 0;
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
