#pragma once

#include <string_view>

#include "rules/card_rec.h"

namespace vantrel {

/// The counts behind the playing-points estimate of a hand for trump `s`.
struct PlayingPointsCount {
    int trumps = 0;  // cards of the trump suit
    int aces = 0;    // aces outside trump
    int dixes = 0;   // nines of trump

    /// 20 a trump with five or more of them, else 15.
    [[nodiscard]] int TrumpValue() const { return trumps > 4 ? 20 : 15; }
    [[nodiscard]] int PlayPoints() const { return trumps * TrumpValue() + aces * 20; }
    [[nodiscard]] int DixMeld() const { return dixes * 10; }
};

/// Counts the twelve cards from `hand` for trump suit letter `s`.
PlayingPointsCount CountPlayingPoints(const CardRec* hand, std::string_view s);

}  // namespace vantrel
