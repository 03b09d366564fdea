#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "players/search_player.h"
#include "rules/cards.h"
#include "rules/rule_set.h"

namespace vantrel {

/// Who plays a pair's cards in a duel: a random legal card, or a computer level.
enum class DuelPlayer { Random, Easy, Normal, Strong };

/// One deal of a duplicate match, played twice with the pairs' seats
/// exchanged. The contract is fixed by the deal: the seat with the highest
/// designed bid value declares its best trump at that value, and every hand
/// shows its standard meld. A deal of the 80-card deck is dealt by the form;
/// its declarer is the seat and suit with the most meld in that trump and
/// two counters a card of the suit, at the standing bid.
struct DuelDeal {
    double cardPoints = 0;  // pair A's card points less pair B's, per hand (the mean of the two plays)
    double handScore = 0;   // the same for the hand scores
};
DuelDeal PlayDuelDeal(const RuleSet& rules, DuelPlayer a, DuelPlayer b, std::uint64_t seed, std::uint64_t deal);

/// A whole match: the mean differences with their 95% half-widths.
struct DuelResult {
    std::uint64_t deals = 0;
    double cardPoints = 0, cardPointsHalfWidth = 0;
    double handScore = 0, handScoreHalfWidth = 0;
};
DuelResult PlayDuel(const RuleSet& rules, DuelPlayer a, DuelPlayer b, std::uint64_t deals, std::uint64_t seed,
                    unsigned threads = 0);

/// Runs `play(deal)` for deals 0..deals-1 on `threads` threads (0: every
/// core), each deal on whichever thread is free; the results in deal order.
template <class Deal>
std::vector<Deal> PlayDeals(std::uint64_t deals, unsigned threads, const std::function<Deal(std::uint64_t)>& play);

/// The mean of `values` and the half-width of its 95% interval.
std::pair<double, double> MeanWithInterval(const std::vector<double>& values);

/// The seat and suit a deal's contract falls to without an auction: the
/// most meld in that trump and `perCard` for each card of the suit
/// (seat, trump).
std::pair<int, int> StrongestSuit(const RuleSet& rules, const std::array<KindCounts, 4>& hands, int perCard);

}  // namespace vantrel

#include "players/duel_deals.h"
