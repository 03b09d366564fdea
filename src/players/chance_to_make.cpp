#include "players/chance_to_make.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <type_traits>

#include "base/block_runner.h"
#include "players/bidding.h"
#include "players/passing.h"
#include "players/rule_player.h"
#include "rules/auction.h"
#include "rules/hand_score.h"
#include "rules/meld_rules.h"
#include "rules/play_state.h"
#include "rules/unseen_deck.h"

namespace vantrel {

namespace {

constexpr std::uint64_t kChanceBlock = 256;

}  // namespace

double ChanceTally::Chance(int suit, int bid) const {
    if (deals == 0 || suit < 0 || suit > 3) return 0;
    std::uint64_t made = 0;
    const auto& histogram = taken[static_cast<std::size_t>(suit)];
    for (int v = std::clamp(bid, 0, kTakenBins); v < kTakenBins; ++v) made += histogram[static_cast<std::size_t>(v)];
    return static_cast<double>(made) / static_cast<double>(deals);
}

double ChanceTally::ExpectedScore(int suit, int bid) const {
    if (deals == 0 || suit < 0 || suit > 3) return 0;
    double total = 0;
    const auto& histogram = taken[static_cast<std::size_t>(suit)];
    for (int v = 0; v < kTakenBins; ++v)
        total += static_cast<double>(histogram[static_cast<std::size_t>(v)]) * DeclarersScore(v, bid);
    return total / static_cast<double>(deals);
}

double ChanceTally::ExpectedMargin(int suit, int bid) const {
    if (deals == 0 || suit < 0 || suit > 3) return 0;
    return ExpectedScore(suit, bid) -
           static_cast<double>(defended[static_cast<std::size_t>(suit)]) / static_cast<double>(deals);
}

double ChanceTally::MarginWhenOpponentsDeclare(int bid) const {
    if (deals == 0) return 0;
    double theirs = 0;
    for (int v = 0; v < kTakenBins; ++v)
        theirs += static_cast<double>(opponentsTaken[static_cast<std::size_t>(v)]) * DeclarersScore(v, bid);
    return (static_cast<double>(opponentsDefended) - theirs) / static_cast<double>(deals);
}

void ChanceTally::Merge(const ChanceTally& other) {
    deals += other.deals;
    promiseFallbacks += other.promiseFallbacks;
    for (std::size_t t = 0; t < 4; ++t) {
        for (std::size_t v = 0; v < kTakenBins; ++v) taken[t][v] += other.taken[t][v];
        defended[t] += other.defended[t];
    }
    for (std::size_t v = 0; v < kTakenBins; ++v) opponentsTaken[v] += other.opponentsTaken[v];
    opponentsDefended += other.opponentsDefended;
}

std::vector<ChanceRow> ChanceRows(const ChanceTally& tally, const RuleSet& rules) {
    std::vector<ChanceRow> rows;
    const int step = std::max(1, rules.bidStep);
    for (int bid = rules.standingBid; bid < kTakenBins; bid += step) {
        ChanceRow row{bid, {}, {}};
        double most = 0;
        for (std::size_t t = 0; t < 4; ++t) {
            row.chance[t] = tally.Chance(static_cast<int>(t), bid);
            row.expected[t] = tally.ExpectedScore(static_cast<int>(t), bid);
            most = std::max(most, row.chance[t]);
        }
        if (most < 0.05 && !rows.empty()) break;
        rows.push_back(row);
    }
    return rows;
}

BestBid BestBidOf(const ChanceTally& tally, const RuleSet& rules, int lowest) {
    BestBid best;
    const int least = std::max(lowest, rules.standingBid + rules.bidStep);
    for (const ChanceRow& row : ChanceRows(tally, rules)) {
        if (row.bid < least) continue;
        for (int t = 0; t < 4; ++t) {
            const double margin = tally.ExpectedMargin(t, row.bid);
            if (margin > 0 && (row.bid > best.bid || (row.bid == best.bid && margin > best.margin)))
                best = {row.bid, t, tally.Chance(t, row.bid), tally.ExpectedScore(t, row.bid), margin};
        }
    }
    return best;
}

std::string ChanceText(const std::vector<ChanceRow>& rows, const BestBid& best, bool alone) {
    static constexpr std::array<const char*, 4> kSuits{"Clubs", "Hearts", "Spades", "Diamonds"};
    auto percent = [](double share) { return std::to_string(static_cast<int>(std::lround(100 * share))) + "%"; };
    auto signed_ = [](double value) {
        const long rounded = std::lround(value);
        return (rounded > 0 ? "+" : "") + std::to_string(rounded);
    };
    std::string text = best.bid > 0 ? "Best bid: up to " + std::to_string(best.bid) + " in " +
                                          kSuits[static_cast<std::size_t>(best.trump)] + ", made " +
                                          percent(best.chance) + " of the time, " + signed_(best.margin) +
                                          (alone ? " on average\n" : " over the other side on average\n")
                       : alone ? std::string("Best bid: none is expected to score\n")
                               : std::string("Best bid: none scores more than it gives the other side\n");
    text += "Each trump: the chance to make the bid, and the hand score expected\n";
    text += "Bid    Clubs          Hearts         Spades         Diamonds\n";
    for (const ChanceRow& row : rows) {
        std::string line = std::to_string(row.bid);
        line.resize(7, ' ');
        for (std::size_t t = 0; t < 4; ++t) {
            std::string cell = percent(row.chance[t]) + " " + signed_(row.expected[t]);
            cell.resize(15, ' ');
            line += cell;
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        text += line + "\n";
    }
    return text;
}

namespace {

// The hands as they stand melded and played out by four rule players, and
// what each side took, under the rules' scoring.
template <class HandType>
std::array<int, 2> PlayOutAndScore(const RuleSet& rules, std::array<HandType, 4> hands, int trump, int declarer) {
    if (rules.passCards > 0) {
        // Partner passes to the declarer, who passes back as many.
        auto& partnerHand = hands[static_cast<std::size_t>(PartnerSeat(declarer))];
        auto& declarerHand = hands[static_cast<std::size_t>(declarer)];
        const auto pass = [&](const HandType& hand, bool toDeclarer) {
            if constexpr (std::is_same_v<HandType, HandCounts>)
                return ChoosePass(hand, trump, rules.passCards, toDeclarer);
            else
                return ChoosePass(rules, hand, trump, rules.passCards, toDeclarer);
        };
        const HandType toDeclarer = pass(partnerHand, true);
        partnerHand = Less(partnerHand, toDeclarer);
        declarerHand = Plus(declarerHand, toDeclarer);
        const HandType back = pass(declarerHand, false);
        declarerHand = Less(declarerHand, back);
        partnerHand = Plus(partnerHand, back);
    }
    HandTally tally;
    tally.declarerSide = SideOf(declarer);
    for (int seat = 0; seat < 4; ++seat)
        tally.meld[static_cast<std::size_t>(SideOf(seat))] +=
            MeldOf(rules, hands[static_cast<std::size_t>(seat)], trump);
    BasicPlayState<HandType> state(rules, hands, trump, declarer);
    while (!state.Over()) state.Make(RuleCard(state, declarer));
    tally.cardPoints = state.Points();
    tally.tricks = state.Tricks();
    return ScoreHand(rules, tally).taken;
}

}  // namespace

std::array<int, 2> PlayOutDeal(const RuleSet& rules, const std::array<HandCounts, 4>& hands, int trump, int declarer) {
    return PlayOutAndScore(rules, hands, trump, declarer);
}

std::array<int, 2> PlayOutDeal(const RuleSet& rules, const std::array<KindCounts, 4>& hands, int trump, int declarer) {
    return PlayOutAndScore(rules, hands, trump, declarer);
}

namespace {

// One deal played out with South declaring in each trump, into the tally.
template <class HandType>
void TallyTrumps(const RuleSet& rules, const std::array<HandType, 4>& hands, ChanceTally& mine) {
    for (int trump = 0; trump < 4; ++trump) {
        const std::array<int, 2> taken = PlayOutDeal(rules, hands, trump, 0);
        ++mine.taken[static_cast<std::size_t>(trump)]
                    [static_cast<std::size_t>(std::clamp(taken[0], 0, kTakenBins - 1))];
        mine.defended[static_cast<std::size_t>(trump)] += taken[1];
    }
}

}  // namespace

ChanceTally ChanceToMake(const ChanceRequest& request, const std::atomic<bool>* cancel,
                         const std::function<void(std::uint64_t)>& progress) {
    auto total = std::make_unique<ChanceTally>();
    if (CardCount(request.hand) != 12 || request.deals == 0) return *total;
    if (UnseenDeck::Besides(request.hand).Size() != 36) return *total;

    const std::uint64_t blocks = (request.deals + kChanceBlock - 1) / kChanceBlock;
    RunBlocks<ChanceTally>(
        blocks, request.threads, cancel,
        [&](std::uint64_t block, ChanceTally& mine) {
            const std::uint64_t count = std::min(kChanceBlock, request.deals - block * kChanceBlock);
            Random random(request.seed, block);
            UnseenDeck unseen = UnseenDeck::Besides(request.hand);  // each block deals from the same order
            for (std::uint64_t deal = 0; deal < count; ++deal) {
                // South holds the hand; North, West and East the unseen cards.
                std::array<HandCounts, 3> dealt{};
                const bool constrained = request.partnerPromise || request.opponentsFit;
                auto fits = [&] {
                    return (!request.partnerPromise || request.partnerPromise(dealt[0])) &&
                           (!request.opponentsFit || request.opponentsFit(dealt[1], dealt[2]));
                };
                bool kept = !constrained;
                for (int attempt = 0; attempt < 100 && !kept; ++attempt) {
                    dealt = unseen.Deal(random, std::array<int, 3>{12, 12, 12});
                    kept = fits();
                }
                if (!kept) ++mine.promiseFallbacks;
                if (!constrained || !kept) dealt = unseen.Deal(random, std::array<int, 3>{12, 12, 12});
                const std::array<HandCounts, 4> hands{request.hand, dealt[1], dealt[0], dealt[2]};
                TallyTrumps(request.rules, hands, mine);
                if (request.opponentsBid > 0) {
                    // The opponent whose hand is worth more by the bidding
                    // help's count declares in its best suit, if that count
                    // reaches the bid: the one that would have outbid a pass.
                    int declarer = 1;
                    int best = 0;
                    int bestValue = -1;
                    for (const int seat : {1, 3})
                        for (int suit = 0; suit < 4; ++suit)
                            if (const int value = HelpValue(hands[static_cast<std::size_t>(seat)], suit, 0);
                                value > bestValue && (!request.dealerStands || seat == 1))
                                declarer = seat, best = suit, bestValue = value;
                    if (bestValue < request.opponentsBid && !request.dealerStands) continue;
                    const std::array<int, 2> taken = PlayOutDeal(request.rules, hands, best, declarer);
                    ++mine.opponentsTaken[static_cast<std::size_t>(std::clamp(taken[1], 0, kTakenBins - 1))];
                    mine.opponentsDefended += taken[0];
                }
            }
            mine.deals += count;
        },
        [&](const ChanceTally& mine) {
            total->Merge(mine);
            if (progress) progress(total->deals);
        });
    return *total;
}

ChanceTally ChanceToMake(const RuleSet& rules, const KindCounts& hand, std::uint64_t deals, std::uint64_t seed,
                         unsigned threads, const std::atomic<bool>* cancel,
                         const std::function<void(std::uint64_t)>& progress) {
    auto total = std::make_unique<ChanceTally>();
    if (!IsFormHand(rules, hand) || deals == 0) return *total;
    const std::uint64_t blocks = (deals + kChanceBlock - 1) / kChanceBlock;
    RunBlocks<ChanceTally>(
        blocks, threads, cancel,
        [&](std::uint64_t block, ChanceTally& mine) {
            const std::uint64_t count = std::min(kChanceBlock, deals - block * kChanceBlock);
            Random random(seed, block);
            OthersDeal others(rules, hand);
            for (std::uint64_t deal = 0; deal < count; ++deal) {
                // South holds the hand; North, West and East the unseen cards.
                const std::array<KindCounts, 3> dealt = others.Next(random);
                TallyTrumps(rules, std::array<KindCounts, 4>{hand, dealt[1], dealt[0], dealt[2]}, mine);
            }
            mine.deals += count;
        },
        [&](const ChanceTally& mine) {
            total->Merge(mine);
            if (progress) progress(total->deals);
        });
    return *total;
}

}  // namespace vantrel
