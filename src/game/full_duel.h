#pragma once

#include <array>
#include <cstdint>

#include "players/bidding.h"
#include "players/search_player.h"
#include "rules/rule_set.h"

namespace vantrel {

/// A pair of a duel: its level, and how it decides to bid on.
struct DuelPair {
    Level level = Level::Normal;
    BidRule bidding = BidRule::ExpectedScore;
};

/// One hand at one table of a whole-hand duel, as its sheet has it.
struct FullDuelTable {
    std::array<KindCounts, 4> dealt{};
    int declarer = -1;  // -1: the hand never reached the play (none so far: the dealer is stuck)
    int bid = 0;
    bool made = false;
    std::array<int, 2> score{};  // the hand's score, South-North and West-East
};

/// One deal of a duplicate whole-hand match, played at two tables with the
/// pairs' seats exchanged: each pair bids, names trump, passes cards where
/// the rules ask, melds and plays for itself at its level.
struct FullDuelDeal {
    FullDuelTable first;   // pair A South-North
    FullDuelTable second;  // pair A West-East
    /// Pair A's hand score less pair B's, the mean of the two tables.
    [[nodiscard]] double Difference() const;
};
FullDuelDeal PlayFullDuelDeal(const RuleSet& rules, DuelPair a, DuelPair b, std::uint64_t seed, std::uint64_t deal);

/// A whole match: the mean difference with its 95% half-width, and each
/// pair's contracts won, made and set.
struct FullDuelResult {
    std::uint64_t deals = 0;
    double handScore = 0;
    double halfWidth = 0;
    struct Contracts {
        int won = 0;
        int made = 0;
        int set = 0;
    };
    std::array<Contracts, 2> contracts{};  // pair A, pair B
};
FullDuelResult PlayFullDuel(const RuleSet& rules, DuelPair a, DuelPair b, std::uint64_t deals, std::uint64_t seed,
                            unsigned threads = 0);

}  // namespace vantrel
