#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "players/search_player.h"
#include "rules/auction.h"
#include "rules/cards.h"
#include "rules/rule_set.h"

namespace vantrel {

/// A computer's call with its reason, e.g. "Jump 30: aces around" or
/// "260: makes it 58% of the time". A bid of 0 is a pass.
struct BidChoice {
    int bid = 0;
    std::string reason;
};

/// The meld a seat's first bid promised by its jump over the high bid before
/// it, by the program's bidding help: 50 a run (150), 30 aces around (100),
/// 20 a hundred meld; 0 for no jump.
int PromisedJump(const Auction& auction, int seat);

/// Whether a hand keeps the promise of a jump.
bool KeepsPromise(HandCounts hand, int jump);

/// The hand valued as the program's help values it: meld for the trump, 20
/// for each trump, 20 for each ace outside trump, and the meld partner
/// promised.
int HelpValue(HandCounts hand, int trump, int partnerJump);

/// How many deals the bidding simulation plays out at a level.
std::uint64_t BiddingDeals(Level level);

/// A computer's call. All levels jump to show meld on their first bid, as the
/// help says, and do not bid over a partner who holds the bid except to show
/// meld. Otherwise Easy bids in steps while the help's valuation reaches the
/// next bid (opening only as the help's opening advice allows); Normal and
/// Strong bid while the chance to make the next bid, by simulation that
/// keeps partner's promise, is at least one half.
BidChoice ChooseBid(const Auction& auction, int seat, HandCounts hand, const RuleSet& rules, Level level,
                    std::uint64_t seed, const std::atomic<bool>* cancel = nullptr);

/// The winner's trump: the suit with the best expected hand score at the bid
/// (Easy: the best valuation).
int ChooseTrump(const Auction& auction, int seat, HandCounts hand, const RuleSet& rules, Level level,
                std::uint64_t seed, const std::atomic<bool>* cancel = nullptr);

}  // namespace vantrel
