#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "app/card_rec.h"
#include "rules/cards.h"

namespace vantrel {

/// The counts of twelve card records, by their codes.
HandCounts CountsOfHand(const CardRec* hand);

/// What a hand melds, ready for any trump. CountMeld reads the same hand card
/// by card for one trump; this reads each suit once through a table, so a
/// simulation can weigh three hands in four trumps about a million times a
/// second. The two agree for every hand and trump.
class FastMeld {
public:
    explicit FastMeld(HandCounts hand);

    /// The meld for no trump: what CountMeld gives for a text that names no suit.
    [[nodiscard]] int NoTrump() const { return base_; }
    /// The meld for trump suit 0..3 (Clubs, Hearts, Spades, Diamonds), nines
    /// of trump included at 10 each.
    [[nodiscard]] int WithTrump(int suit) const { return withTrump_[static_cast<std::size_t>(suit)]; }

private:
    int base_ = 0;
    std::array<int, 4> withTrump_{};
};

}  // namespace vantrel
