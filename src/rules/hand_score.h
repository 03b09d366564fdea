#pragma once

#include <array>
#include <string>

#include "rules/rule_set.h"

namespace vantrel {

/// What each side brought to a played hand. Sides: 0 South-North, 1 East-West.
struct HandTally {
    int declarerSide = 0;
    int bid = 0;
    std::array<int, 2> meld{};        // both hands of the side, for the named trump
    std::array<int, 2> cardPoints{};  // of the tricks taken, the last trick included
    std::array<int, 2> tricks{};
    bool thrownIn = false;  // the declarer conceded after the meld
};

/// The hand's score: a side's meld counts only when it takes a trick and
/// the card points the rules ask (where they say so); the declaring side makes its bid when its meld and card
/// points reach it and then scores them, else loses the bid; the other side
/// scores its meld and card points. Thrown in, the declarers lose the bid and
/// the other side scores its meld.
struct HandScore {
    std::array<bool, 2> meldCounts{};
    std::array<int, 2> taken{};  // counted meld plus card points
    std::array<int, 2> score{};
    bool made = false;
    bool thrownIn = false;
    int margin = 0;  // what the declarers took beyond the bid (below it when negative)
    /// "Made by 30", "Made exactly", "Set by 20" or "Thrown in": written only
    /// when asked for, as a simulation scores hands by the thousand.
    [[nodiscard]] std::string Result() const;
};
HandScore ScoreHand(const RuleSet& rules, const HandTally& hand);

/// The declaring side's score for what it took (counted meld and card
/// points) against its bid: what it took when that reaches the bid, else
/// minus the bid.
constexpr int DeclarersScore(int taken, int bid) { return taken >= bid ? taken : -bid; }

/// The side that has won the game once a hand's score is added to `totals`,
/// or -1. When both sides reach the target in the same hand the declaring
/// side counts out first, unless it was set: then the defenders win.
int GameWinner(const RuleSet& rules, const std::array<int, 2>& totals, int declarerSide, bool made);

}  // namespace vantrel
