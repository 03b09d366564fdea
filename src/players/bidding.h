#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

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

/// The least bid a seat declined by passing (the bid it could have made when
/// it passed), or 0 when it has not passed, or passed while its partner
/// held a bid (the players never bid over partner, so that pass says
/// nothing). A pass says the hand did not reach it.
int DeclinedBid(const Auction& auction, int seat);

/// Whether a hand keeps the promise of a jump.
bool KeepsPromise(HandCounts hand, int jump);

/// The hand valued as the program's help values it: meld for the trump, 20
/// for each trump, 20 for each ace outside trump, and the meld partner
/// promised.
int HelpValue(HandCounts hand, int trump, int partnerJump);

/// How Normal and Strong decide to bid on: by the expected margin of bidding
/// against passing, or (as they did first) while the next bid makes at
/// least half the time.
enum class BidRule { ExpectedScore, HalfTheTime };

/// How many deals the bidding simulation plays out at a level.
std::uint64_t BiddingDeals(Level level);

/// A computer's call. All levels jump to show meld on their first bid, as the
/// help says, and do not bid over a partner who holds the bid except to show
/// meld. Otherwise Easy bids in steps while the help's valuation reaches the
/// next bid (opening only as the help's opening advice allows). Normal and
/// Strong simulate the hand, keeping partner's promise; by the expected
/// score they bid the next bid when its expected margin (what their side
/// scores less what the other side scores, the bid lost when set) beats
/// the margin of passing, taken as the other side declaring at the bid
/// standing (at least the standing bid) in the suit it holds best.
BidChoice ChooseBid(const Auction& auction, int seat, HandCounts hand, const RuleSet& rules, Level level,
                    std::uint64_t seed, const std::atomic<bool>* cancel = nullptr,
                    BidRule rule = BidRule::ExpectedScore);

/// A call weighed by the expected score: the bid (0: a pass), the trump it
/// is best played in (-1 for a pass), and its expected margin, what the
/// caller's side scores less what the other side scores.
struct CallFigure {
    int bid = 0;
    int trump = -1;
    double margin = 0;
    friend bool operator==(const CallFigure&, const CallFigure&) = default;
};

/// The figure of most margin, the first of equals.
const CallFigure& BestFigure(const std::vector<CallFigure>& figures);

/// The calls open to a seat, each weighed as Normal and Strong weigh a call
/// over `deals` played-out deals that fit the auction: the pass first, then
/// the least bid and, in the 48-card game, the help's jumps of 20, 30 and 50
/// over the high bid. A pass is worth the contract left to the other side
/// at the bid standing, or to partner where it stands; in the 80-card game,
/// whose players bid while declaring beats the other side, nothing. A bid
/// `also` that is none of these is weighed too, in its place by amount.
std::vector<CallFigure> CallFigures(const Auction& auction, int seat, const KindCounts& hand, const RuleSet& rules,
                                    std::uint64_t deals, std::uint64_t seed, const std::atomic<bool>* cancel = nullptr,
                                    int also = 0);

/// The winner's trump: the suit with the best expected hand score at the bid
/// (Easy: the best valuation).
int ChooseTrump(const Auction& auction, int seat, HandCounts hand, const RuleSet& rules, Level level,
                std::uint64_t seed, const std::atomic<bool>* cancel = nullptr);

/// A hand of a form's deck (the 80-card one) valued as Easy values it: its
/// meld in the trump, the half of the deck's card points a side takes on
/// average, the meld a partner holds on average (a tenth of that half),
/// and a point for each trump beyond a fair share of the suit.
int FormHelpValue(const RuleSet& rules, const KindCounts& hand, int trump);

/// A computer's call with a hand of any form's deck, in the form's points.
/// The jumps that show meld belong to the 48-card game's help and are not
/// made. Easy bids in steps while its valuation reaches the next bid;
/// Normal and Strong play the hand out in every trump and bid the next bid
/// while declaring it is expected to score more than the other side.
/// Neither bids over a partner who holds the bid.
BidChoice ChooseBid(const Auction& auction, int seat, const KindCounts& hand, const RuleSet& rules, Level level,
                    std::uint64_t seed, const std::atomic<bool>* cancel = nullptr);
int ChooseTrump(const Auction& auction, int seat, const KindCounts& hand, const RuleSet& rules, Level level,
                std::uint64_t seed, const std::atomic<bool>* cancel = nullptr);

}  // namespace vantrel
