#pragma once

#include <array>
#include <string_view>

#include "rules/card_rec.h"
#include "rules/cards.h"

namespace vantrel {

/// What one hand melds for one trump text, by this program's own rules: a
/// second set of a four-of-a-kind adds nothing, a double run is one run, runs
/// count in every suit, two pinochles are worth 80, and the nine of trump is
/// left to the playing-points estimate.
struct MeldCount {
    bool aces = false;
    bool kings = false;
    bool queens = false;
    bool jacks = false;
    std::array<bool, 4> runs{};      // Clubs, Hearts, Spades, Diamonds
    std::array<int, 4> marriages{};  // value per suit, doubled in trump
    int pinochle = 0;
    int total = 0;
    bool noRun = true;

    friend bool operator==(const MeldCount&, const MeldCount&) = default;
};

/// Counts the meld of twelve cards (their Code and Suit) for trump `t`: a
/// suit letter, or any other text for no trump.
MeldCount CountMeld(const CardRec* hand, std::string_view t);

/// What a hand melds as designed, ready for any trump. CountMeld reads the
/// hand card by card for one trump; this reads each suit once through a
/// table, so a simulation can weigh three hands in four trumps about a
/// million times a second. The two agree for every hand and trump.
class DesignedMeld {
public:
    explicit DesignedMeld(HandCounts hand);

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
