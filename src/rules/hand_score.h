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

/// A hand of the three-handed game as the seats (0..2) brought it: the
/// bidder alone against the two others.
struct ThreeHandTally {
    int bidder = 0;
    int bid = 0;
    int trump = 0;
    std::array<int, 3> meld{};        // each seat's meld for the trump
    std::array<int, 3> cardPoints{};  // of the tricks taken, the last trick and the bidder's cards laid away included
    std::array<int, 3> tricks{};
    bool conceded = false;  // the bidder gave up before the first lead
};

/// A three-handed hand's score, seat by seat. The bidder's meld counts as a
/// side's does in the partnership game (a trick taken, where the rules ask
/// one); the bidder makes the bid when its meld and card points reach it.
///   The classic settlement: the bidder wins the bid's units (SettlementUnits)
///     from each opponent when made, and pays them double to each when set;
///     conceding, it pays them single to each.
///   The points game: the bidder scores its meld and card points when made,
///     and loses the bid when set or conceding (a concession also paying the
///     bid to each opponent where `concedeToEach` says so). Each opponent
///     scores its card points, and its meld where all three meld and it
///     took a trick; conceded, its meld alone.
struct ThreeHandScore {
    std::array<int, 3> score{};
    int taken = 0;   // the bidder's counted meld and card points
    int margin = 0;  // what the bidder took beyond the bid (below it when negative)
    bool made = false;
    bool conceded = false;
    /// "Made by 30", "Made exactly", "Set by 20" or "Conceded".
    [[nodiscard]] std::string Result() const;
    friend bool operator==(const ThreeHandScore&, const ThreeHandScore&) = default;
};
ThreeHandScore ScoreThreeHanded(const RuleSet& rules, const ThreeHandTally& hand);

/// The units of the classic settlement for a bid: 3 from 300, 5 from 350,
/// 10 from 400, then 5 more for each 50 to 30 from 600; doubled with spades
/// trump where `spadesDouble` says so.
int SettlementUnits(const RuleSet& rules, int bid, int trump);

/// The seat that has won the points game once a hand's score is added to
/// `totals`, or -1: the bidder counts out first when it made its bid; else
/// the highest of the others to reach the target, the first from the
/// bidder's left among equals. The classic settlement keeps running totals
/// and has no winner.
int ThreeHandedWinner(const RuleSet& rules, const std::array<int, 3>& totals, int bidder, bool made);

}  // namespace vantrel
