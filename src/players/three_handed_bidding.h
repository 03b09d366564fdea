#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "players/bidding.h"
#include "players/chance_to_make.h"
#include "players/search_player.h"
#include "rules/auction.h"
#include "rules/cards.h"
#include "rules/rule_set.h"

namespace vantrel {

/// The three cards a bidder lays away with trump named: none its meld needs
/// and no trump unless the rules allow; from the shortest plain suits
/// first, to make a void, and of those the cards worth most, whose points
/// count for the bidder once laid away.
KindCounts ChooseLayAway(const RuleSet& rules, const KindCounts& hand, int trump);

/// A three-handed hand as bidder, played out by rule players in deals of
/// the cards it does not see: the widow (unless `widow` is given, once
/// shown), and the two others' hands. In each trump the bidder takes the
/// widow, lays away as ChooseLayAway does and leads; what it takes (its
/// meld where it takes a trick, and its card points, those laid away
/// included) is tallied, as ChanceTally's `taken`.
ChanceTally ThreeHandedChance(const RuleSet& rules, const KindCounts& hand, const KindCounts& widow,
                              std::uint64_t deals, std::uint64_t seed, const std::atomic<bool>* cancel = nullptr);

/// The bidder's expected score at `bid` in `suit` by the rules' scoring: in
/// the classic settlement twice the units from the two opponents when made,
/// four times them paid when set; in the points game what it takes when
/// made, less the bid when set.
double ThreeHandedExpected(const RuleSet& rules, const ChanceTally& tally, int suit, int bid);

/// The suit of the best expected score at `bid`.
int BestThreeHandedTrump(const RuleSet& rules, const ChanceTally& tally, int bid);

/// The chance-to-make table of a three-handed hand, each figure the
/// expected score by the rules' scoring.
std::vector<ChanceRow> ThreeHandedChanceRows(const RuleSet& rules, const ChanceTally& tally);
/// The highest bid from `lowest` on whose expected score in its best suit
/// is above nothing: the computer's own rule for going on bidding.
BestBid BestThreeHandedBid(const RuleSet& rules, const ChanceTally& tally, int lowest);

/// The calls open to a seat in the three-handed auction, each weighed as
/// the computer weighs its call: the pass at nothing, then the least bid,
/// jumps of 20, 30 and 50 over the high bid, and `also` where it is none of
/// these, each in its best trump at the bidder's expected score by the
/// rules' scoring, over `deals` deals with the widow unknown.
std::vector<CallFigure> ThreeHandedCallFigures(const Auction& auction, const KindCounts& hand, const RuleSet& rules,
                                               std::uint64_t deals, std::uint64_t seed,
                                               const std::atomic<bool>* cancel = nullptr, int also = 0);

/// A computer's call in the three-handed auction. Easy bids while its
/// valuation (its meld in its best suit and 10 for each ace and each trump
/// beyond four) reaches the next bid. Normal and Strong play the hand out
/// with the widow unknown and bid the next bid while its expected score in
/// the best trump beats passing, which scores nothing.
BidChoice ChooseThreeHandedBid(const Auction& auction, int seat, const KindCounts& hand, const RuleSet& rules,
                               Level level, std::uint64_t seed, const std::atomic<bool>* cancel = nullptr);

/// The bidder's trump with the widow taken (`hand` holds it): the best by
/// the expected score at the bid, the others' hands dealt; Easy: the best
/// valuation.
int ChooseThreeHandedTrump(const RuleSet& rules, const KindCounts& hand, int bid, Level level, std::uint64_t seed);

/// Whether the bidder concedes before the first lead, its cards laid away:
/// where playing is expected to score less than conceding does (Easy: where
/// its meld and the points it laid away fall 100 short of the bid).
bool ChooseConcession(const RuleSet& rules, const KindCounts& hand, const KindCounts& laidAway, int trump, int bid,
                      Level level, std::uint64_t seed);

}  // namespace vantrel
