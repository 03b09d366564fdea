#include "players/three_handed_bidding.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "base/random.h"
#include "rules/hand_score.h"
#include "rules/lay_away.h"
#include "rules/meld_rules.h"
#include "rules/play_state.h"
#include "rules/seats.h"
#include "rules/trick_rules.h"
#include "rules/unseen_deck.h"
#include "search/rule_card.h"

namespace vantrel {

namespace {

// Deals a Normal and a Strong player weigh a call or a concession over.
std::uint64_t ThreeHandedDeals(Level level) { return level == Level::Strong ? 1000 : 300; }

int PointsOf(const RuleSet& rules, const KindCounts& cards) {
    int points = 0;
    for (int kind = 0; kind < kCardKinds; ++kind)
        points += cards[static_cast<std::size_t>(kind)] * CardPointsOf(rules, kind);
    return points;
}

// What the bidder (seat 0, leading) takes when rule players play the hand
// out: its card points, those laid away included, and its meld where it
// counts.
int PlayedOut(const RuleSet& rules, const KindCounts& kept, const KindCounts& away,
              const std::array<KindCounts, 2>& others, int trump, int meld) {
    FormPlayState play(rules, {kept, others[0], others[1], KindCounts{}}, trump, 0);
    while (!play.Over()) play.Make(RuleCard(play, 0));
    const int cards = play.Points()[0] + PointsOf(rules, away);
    const bool counts = (!rules.meldNeedsTrick || play.Tricks()[0] > 0) && cards >= rules.meldCounters;
    return cards + (counts ? meld : 0);
}

void Tally(ChanceTally& tally, int suit, int taken) {
    ++tally.taken[static_cast<std::size_t>(suit)][static_cast<std::size_t>(std::clamp(taken, 0, kTakenBins - 1))];
}

std::string SuitWord(int suit) { return std::string(kSuitNames[static_cast<std::size_t>(suit & 3)]); }

}  // namespace

KindCounts ChooseLayAway(const RuleSet& rules, const KindCounts& hand, int trump) {
    // Card by card, within the rules; a hand that cannot, as freely as it must.
    const int meld = MeldOf(rules, hand, trump);
    const auto greedy = [&](bool trumpToo, bool meldToo) {
        KindCounts away{};
        for (int pick = 0; pick < rules.form.widow; ++pick) {
            int best = -1;
            std::pair<int, int> bestKey{};
            const KindCounts kept = Less(hand, away);
            for (int kind = 0; kind < kCardKinds; ++kind) {
                if (kept[static_cast<std::size_t>(kind)] == 0) continue;
                if (SuitOfKind(kind) == trump && !rules.layAwayTrump && !trumpToo) continue;
                KindCounts tried = kept;
                --tried[static_cast<std::size_t>(kind)];
                if (!meldToo && MeldOf(rules, tried, trump) != meld) continue;
                // The shortest suit first, then the most points.
                const std::pair<int, int> key{-SuitLength(kept, SuitOfKind(kind)), CardPointsOf(rules, kind)};
                if (best < 0 || key > bestKey) best = kind, bestKey = key;
            }
            if (best < 0) break;
            ++away[static_cast<std::size_t>(best)];
        }
        return away;
    };
    const KindCounts within = greedy(false, false);
    if (CardCount(within) == rules.form.widow) return within;
    const LayAwayFreedom freedom = LayAwayFreedomOf(rules, hand, trump);
    const KindCounts away = greedy(freedom != LayAwayFreedom::WithinRules, freedom == LayAwayFreedom::AnyCards);
    if (WhyNotLaidAway(rules, hand, trump, away, freedom).empty()) return away;
    // Where choosing card by card falls short, the first choice that may go.
    return FirstLayAway(rules, hand, trump, freedom).value_or(away);
}

ChanceTally ThreeHandedChance(const RuleSet& rules, const KindCounts& hand, const KindCounts& widow,
                              std::uint64_t deals, std::uint64_t seed, const std::atomic<bool>* cancel) {
    ChanceTally tally;
    const int size = rules.form.handCards;
    // The widow is dealt unless it is known: given, or already in the hand.
    const bool known = CardCount(widow) > 0 || CardCount(hand) > size;
    UnseenDeck deck(Less(Less(WholeDeckOf(rules.form), hand), widow));
    Random random(seed, 0x3A);
    for (std::uint64_t d = 0; d < deals; ++d) {
        if (cancel != nullptr && d % 64 == 0 && cancel->load(std::memory_order_relaxed)) break;
        KindCounts full = Plus(hand, widow);
        std::array<KindCounts, 2> others{};
        if (known) {
            const std::array<KindCounts, 2> dealt = deck.DealCounts(random, std::array<int, 2>{size, size});
            others = dealt;
        } else {
            const std::array<KindCounts, 3> dealt =
                deck.DealCounts(random, std::array<int, 3>{rules.form.widow, size, size});
            full = Plus(full, dealt[0]);
            others = {dealt[1], dealt[2]};
        }
        for (int suit = 0; suit < 4; ++suit) {
            const KindCounts away = ChooseLayAway(rules, full, suit);
            Tally(tally, suit, PlayedOut(rules, Less(full, away), away, others, suit, MeldOf(rules, full, suit)));
        }
        ++tally.deals;
    }
    return tally;
}

double ThreeHandedExpected(const RuleSet& rules, const ChanceTally& tally, int suit, int bid) {
    if (rules.pointsGame) return tally.ExpectedScore(suit, bid);
    const double made = tally.Chance(suit, bid);
    const int units = SettlementUnits(rules, bid, suit);
    return made * 2 * units - (1 - made) * 4 * units;
}

int BestThreeHandedTrump(const RuleSet& rules, const ChanceTally& tally, int bid) {
    int best = 0;
    for (int suit = 1; suit < 4; ++suit)
        if (ThreeHandedExpected(rules, tally, suit, bid) > ThreeHandedExpected(rules, tally, best, bid)) best = suit;
    return best;
}

std::vector<ChanceRow> ThreeHandedChanceRows(const RuleSet& rules, const ChanceTally& tally) {
    std::vector<ChanceRow> rows = ChanceRows(tally, rules);
    for (ChanceRow& row : rows)
        for (std::size_t suit = 0; suit < 4; ++suit)
            row.expected[suit] = ThreeHandedExpected(rules, tally, static_cast<int>(suit), row.bid);
    return rows;
}

BestBid BestThreeHandedBid(const RuleSet& rules, const ChanceTally& tally, int lowest) {
    BestBid best;
    for (const ChanceRow& row : ThreeHandedChanceRows(rules, tally)) {
        if (row.bid < lowest) continue;
        for (std::size_t suit = 0; suit < 4; ++suit)
            if (row.expected[suit] > 0 && (row.bid > best.bid || row.expected[suit] > best.expected))
                best = {row.bid, static_cast<int>(suit), row.chance[suit], row.expected[suit], row.expected[suit]};
    }
    return best;
}

std::vector<CallFigure> ThreeHandedCallFigures(const Auction& auction, const KindCounts& hand, const RuleSet& rules,
                                               std::uint64_t deals, std::uint64_t seed, const std::atomic<bool>* cancel,
                                               int also) {
    const ChanceTally tally = ThreeHandedChance(rules, hand, {}, deals, seed, cancel);
    const int next = auction.MinimumBid();
    const int high = std::max(auction.HighBid(), next - std::max(1, rules.bidStep));
    std::vector<int> bids{next};
    for (const int jump : {20, 30, 50})
        if (high + jump > bids.back()) bids.push_back(high + jump);
    if (also >= next && std::find(bids.begin(), bids.end(), also) == bids.end())
        bids.insert(std::upper_bound(bids.begin(), bids.end(), also), also);
    std::vector<CallFigure> figures{{0, -1, 0.0}};
    for (const int bid : bids) {
        const int suit = BestThreeHandedTrump(rules, tally, bid);
        figures.push_back({bid, suit, ThreeHandedExpected(rules, tally, suit, bid)});
    }
    return figures;
}

BidChoice ChooseThreeHandedBid(const Auction& auction, int seat, const KindCounts& hand, const RuleSet& rules,
                               Level level, std::uint64_t seed, const std::atomic<bool>* cancel) {
    // The seat's place does not change its figures: each call is weighed as the bidder's.
    (void)seat;
    const int next = auction.MinimumBid();
    if (level == Level::Easy) {
        int value = 0;
        int suit = 0;
        for (int s = 0; s < 4; ++s) {
            const int v = MeldOf(rules, hand, s) + 10 * std::max(0, SuitLength(hand, s) - 4);
            if (v > value) value = v, suit = s;
        }
        for (int s = 0; s < 4; ++s) value += 10 * hand[static_cast<std::size_t>(KindOf(s, 0))];
        // About half the card points come with a fair hand.
        value += 120;
        if (value >= next)
            return {next, std::to_string(next) + ": hand valued at " + std::to_string(value) + " with " +
                              SuitWord(suit) + " as trump"};
        return {0, "Pass: hand valued at " + std::to_string(value) + ", under " + std::to_string(next)};
    }
    const ChanceTally tally = ThreeHandedChance(rules, hand, {}, ThreeHandedDeals(level), seed, cancel);
    const int suit = BestThreeHandedTrump(rules, tally, next);
    const double expected = ThreeHandedExpected(rules, tally, suit, next);
    const std::string chance = std::to_string(std::lround(100 * tally.Chance(suit, next))) + "%";
    const std::string average = std::to_string(std::lround(expected));
    if (expected > 0)
        return {next, std::to_string(next) + ": makes it " + chance + " of the time in " + SuitWord(suit) + ", " +
                          average + " on average"};
    return {0, "Pass: " + std::to_string(next) + " makes it " + chance + " of the time, " + average + " on average"};
}

int ChooseThreeHandedTrump(const RuleSet& rules, const KindCounts& hand, int bid, Level level, std::uint64_t seed) {
    if (level == Level::Easy) {
        int best = 0;
        int bestValue = -1;
        for (int suit = 0; suit < 4; ++suit)
            if (const int value = MeldOf(rules, hand, suit) + 10 * SuitLength(hand, suit); value > bestValue)
                best = suit, bestValue = value;
        return best;
    }
    return BestThreeHandedTrump(rules, ThreeHandedChance(rules, hand, {}, ThreeHandedDeals(level), seed), bid);
}

bool ChooseConcession(const RuleSet& rules, const KindCounts& hand, const KindCounts& laidAway, int trump, int bid,
                      Level level, std::uint64_t seed) {
    const KindCounts full = Plus(hand, laidAway);
    const int meld = MeldOf(rules, full, trump);
    if (level == Level::Easy) return meld + PointsOf(rules, laidAway) + 100 < bid;
    // The two others' hands from the cards the bidder does not hold or lay away.
    UnseenDeck deck(Less(WholeDeckOf(rules.form), full));
    Random random(seed, 0xC0);
    ChanceTally tally;
    const int size = rules.form.handCards;
    for (std::uint64_t d = 0; d < ThreeHandedDeals(level); ++d) {
        const std::array<KindCounts, 2> others = deck.DealCounts(random, std::array<int, 2>{size, size});
        Tally(tally, trump, PlayedOut(rules, hand, laidAway, others, trump, meld));
        ++tally.deals;
    }
    // Conceding: the units paid single to each, or the bid lost.
    const double conceding = rules.pointsGame ? -bid : -2.0 * SettlementUnits(rules, bid, trump);
    return ThreeHandedExpected(rules, tally, trump, bid) < conceding;
}

}  // namespace vantrel
