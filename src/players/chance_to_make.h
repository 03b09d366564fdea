#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "rules/cards.h"
#include "rules/rule_set.h"

namespace vantrel {

/// What the declaring side takes in a played-out hand, its meld counted
/// where it took a trick, in bins of one point: enough for any hand.
inline constexpr int kTakenBins = 4096;

/// The played-out deals of one hand as declarer (it sits South, partner
/// North; it leads), in each trump: what the side took, deal by deal, as a
/// histogram of whole numbers, so that any number of threads gives the same
/// figures for the same seed.
struct ChanceTally {
    std::uint64_t deals = 0;
    std::uint64_t promiseFallbacks = 0;  // deals that could not be made to fit the calls
    std::array<std::array<std::uint32_t, kTakenBins>, 4> taken{};
    /// What the defending side scored in the same deals, summed: its card
    /// points and its meld where it took a trick.
    std::array<std::int64_t, 4> defended{};
    /// The same deals with the stronger opponent declaring in its best suit
    /// instead (as when the declarer passes), where its hand would bid: what
    /// that side took, as a histogram, and what the declarer's side took
    /// defending, summed. Deals where neither opponent would bid count as
    /// nothing either way.
    std::array<std::uint32_t, kTakenBins> opponentsTaken{};
    std::int64_t opponentsDefended = 0;

    /// The share of deals in which trump `suit` makes `bid`.
    [[nodiscard]] double Chance(int suit, int bid) const;
    /// The mean hand score of the declaring side at `bid`: what it took where
    /// it made the bid, minus the bid where it did not.
    [[nodiscard]] double ExpectedScore(int suit, int bid) const;
    /// The declaring side's mean hand score less the defenders', bidding
    /// `bid` in `suit`.
    [[nodiscard]] double ExpectedMargin(int suit, int bid) const;
    /// The same when the declarer passes and the opponents declare at `bid`
    /// where they would bid: the declarer's side's score less theirs, over
    /// all deals.
    [[nodiscard]] double MarginWhenOpponentsDeclare(int bid) const;
    void Merge(const ChanceTally& other);
};

struct ChanceRequest {
    HandCounts hand = 0;
    RuleSet rules = RuleSet::Standard();
    std::uint64_t deals = 20000;
    std::uint64_t seed = 1;
    unsigned threads = 0;  // 0: every core
    /// Where partner has promised meld (a jump), the deals that keep the
    /// promise: up to 100 deals are tried, then the plain deal is taken.
    std::function<bool(HandCounts partner)> partnerPromise;
    /// The same for the opponents' hands, the one at the hand's left first:
    /// the deals kept fit both (within the same 100 tries).
    std::function<bool(HandCounts left, HandCounts right)> opponentsFit;
    /// Where above 0, each deal is played once more with the stronger
    /// opponent declaring at this bid if its hand is valued at the bid (by
    /// the bidding help's count): the margin when the declarer passes.
    int opponentsBid = 0;
    /// The last call before the dealer with nobody bidding: a pass leaves the
    /// dealer (the opponent at the caller's left, West in the deals) its
    /// standing bid, which it plays in its best suit whatever its hand.
    bool dealerStands = false;
};

/// Deals the 36 unseen cards, counts both sides' meld under the rules,
/// passes cards where the rules ask, plays the hand out with four rule
/// players in every trump, and tallies what the declaring side took.
/// `progress` is called after each block with the deals done; `cancel` stops
/// the work within a block.
ChanceTally ChanceToMake(const ChanceRequest& request, const std::atomic<bool>* cancel = nullptr,
                         const std::function<void(std::uint64_t)>& progress = {});

/// The same for a hand of any four-handed form (the 80-card deck): the
/// unseen cards dealt to the three other hands, the hand played out in every
/// trump, cards passed where the rules ask. An empty tally for a hand the
/// form cannot hold.
ChanceTally ChanceToMake(const RuleSet& rules, const KindCounts& hand, std::uint64_t deals, std::uint64_t seed,
                         unsigned threads = 0, const std::atomic<bool>* cancel = nullptr,
                         const std::function<void(std::uint64_t)>& progress = {});

/// The chance-to-make table: a row a bid from the standing bid upward by the
/// bid step, while the chance in some trump is at least 5% (one row at least).
struct ChanceRow {
    int bid = 0;
    std::array<double, 4> chance{};
    std::array<double, 4> expected{};
};
std::vector<ChanceRow> ChanceRows(const ChanceTally& tally, const RuleSet& rules);

/// How high the hand is worth bidding: the highest bid, from `lowest` on (the
/// least bid the seat could still make; 0 for the first bid over the
/// standing bid), at which declaring scores more than it gives the other
/// side on average, in the trump where it does so most; a bid of 0 where no
/// such bid is left. The highest bid made half the time was no guide: it
/// could lose on average where a lower bid scored far more.
struct BestBid {
    int bid = 0;
    int trump = -1;
    double chance = 0;    // of making it
    double expected = 0;  // the hand score expected there
    double margin = 0;    // and what it scores beyond the other side
};
BestBid BestBidOf(const ChanceTally& tally, const RuleSet& rules, int lowest = 0);

/// The table and the best bid as text, e.g. "Best bid: 260 in Hearts (58%)".
/// `alone`: the bidder plays alone against two, its own score the figure.
std::string ChanceText(const std::vector<ChanceRow>& rows, const BestBid& best, bool alone = false);

/// One deal played out: for the benchmark of playouts and for tests.
/// Returns what each side took (card points, and meld where it counts).
std::array<int, 2> PlayOutDeal(const RuleSet& rules, const std::array<HandCounts, 4>& hands, int trump, int declarer);
/// The same for a deal of any form, cards passed where the rules ask.
std::array<int, 2> PlayOutDeal(const RuleSet& rules, const std::array<KindCounts, 4>& hands, int trump, int declarer);

}  // namespace vantrel
