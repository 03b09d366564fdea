#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "rules/cards.h"
#include "rules/designed_meld.h"
#include "rules/rule_set.h"

namespace vantrel {

/// A card (or two) whose arrival would complete a meld the hand nearly has,
/// with the exact chance that partner holds at least one copy of each.
struct NearMeld {
    std::string meld;        // e.g. "Run in Hearts"
    std::vector<int> kinds;  // the missing cards, one or two kinds
    double exact = 0;        // hypergeometric over the 36 unseen cards
};

/// Whether a hand is twelve cards with at most two copies of each: the only
/// hands the analysis takes. Every function below refuses any other, with no
/// near melds, no chance and an empty tally.
bool IsWholeHand(HandCounts own);

/// The near melds of a hand: runs missing one or two cards, four of a kind
/// missing one suit, the other half of a pinochle, the King or Queen of a
/// marriage. By the standard rules also the second copies that raise meld:
/// those of a double pinochle, a second marriage, and the missing cards of a
/// double four of a kind (one or two). In suit order, runs first.
std::vector<NearMeld> FindNearMelds(HandCounts own, MeldRules rules = MeldRules::Designed);

/// What a player should know of a hand's meld under the standard rules: each
/// marriage that is worth nothing in a trump because its King and Queen are
/// in the run, e.g. "With Hearts as trump the K♥ Q♥ marriage is worth
/// nothing: its King and Queen are in the run."
std::vector<std::string> MeldNotes(HandCounts own, MeldRules rules);

/// The exact chance that partner's twelve of the 36 cards the hand does not
/// hold include at least one copy of every kind given.
double ChancePartnerHoldsAll(HandCounts own, const std::vector<int>& kinds);

// One hand melds at most 1,800 by the standard rules (a double run in
// spades with a double pinochle), two hands under 4,096.
inline constexpr int kPartnerMeldBins = 2048;
inline constexpr int kOpponentsMeldBins = 4096;

/// Everything counted over the simulated deals, for the four trumps. All of
/// it is whole numbers, so tallies merge to the same figures in any order.
struct SimulationTally {
    struct Trump {
        std::int64_t partnerSum = 0, partnerSquares = 0;
        std::int64_t opponentsSum = 0, opponentsSquares = 0;
        std::array<std::uint64_t, kPartnerMeldBins> partner{};
        std::array<std::uint64_t, kOpponentsMeldBins> opponents{};
    };
    std::uint64_t deals = 0;
    std::array<Trump, 4> trumps{};
    std::int64_t partnerNoTrumpSum = 0, partnerNoTrumpSquares = 0;
    std::vector<std::uint64_t> nearMeldHits;  // deals in which partner held each near meld's cards

    void Merge(const SimulationTally& other);
};

struct SimulationRequest {
    HandCounts own = 0;
    std::uint64_t seed = 1;
    std::uint64_t deals = 100000;
    unsigned threads = 0;  // 0: every core
    std::vector<NearMeld> nearMelds;
    MeldRules meld = MeldRules::Designed;
};

/// Deals in fixed blocks, each with a generator seeded from the seed and its
/// block number, so the figures depend on the seed and the count alone.
inline constexpr std::uint64_t kBlockDeals = 4096;

/// Deals the 36 cards the hand does not hold to partner and the two opponents
/// `deals` times and tallies their meld in every trump. `progress` is called
/// with the tally so far after each block, on a worker thread, one call at a
/// time; `cancel` stops the work within a block. A hand that is not twelve
/// cards of at most two copies each gives an empty tally.
SimulationTally Simulate(const SimulationRequest& request, const std::atomic<bool>* cancel = nullptr,
                         const std::function<void(const SimulationTally&)>& progress = {});

/// One block of deals into `tally`: the unit of work, exposed for the benchmark.
void SimulateBlock(const SimulationRequest& request, std::uint64_t block, SimulationTally& tally);

/// The spread of a tallied meld: mean with its 95% half-width, and the 10th,
/// 50th and 90th percentiles (the least value with at least that share of deals
/// at or below it).
struct MeldSpread {
    double mean = 0;
    double halfWidth = 0;
    int p10 = 0, p50 = 0, p90 = 0;
};

template <std::size_t Bins>
MeldSpread SpreadOf(const std::array<std::uint64_t, Bins>& histogram, std::int64_t sum, std::int64_t squares,
                    std::uint64_t deals);

/// The share of deals with a tallied meld of at least `value`.
template <std::size_t Bins>
double ShareAtLeast(const std::array<std::uint64_t, Bins>& histogram, int value, std::uint64_t deals);

/// The analysis of a hand of any four-handed form (the 80-card deck): the
/// same figures from the form's deck and meld, for a hand IsFormHand takes.
/// The melds a card or two of partner's would complete or raise: each meld
/// class (a run in each suit, each four of a kind, the pinochle, a marriage
/// in each suit) at the next multiplicity the hand is one copy short of, in
/// one or two kinds (two cards short of a run not held at all), e.g.
/// "Triple Aces around" missing the A♥. With the exact chance that partner
/// holds a copy of each.
std::vector<NearMeld> FindNearMelds(const RuleSet& rules, const KindCounts& own);
double ChancePartnerHoldsAll(const RuleSet& rules, const KindCounts& own, const std::vector<int>& kinds);
/// Deals the unseen cards to partner and the two opponents `deals` times
/// and tallies their meld in every trump, and how often partner holds each
/// near meld's cards. The same figures for any number of threads.
SimulationTally Simulate(const RuleSet& rules, const KindCounts& own, const std::vector<NearMeld>& nearMelds,
                         std::uint64_t seed, std::uint64_t deals, unsigned threads = 0,
                         const std::atomic<bool>* cancel = nullptr,
                         const std::function<void(const SimulationTally&)>& progress = {});

}  // namespace vantrel
