#include "players/duel.h"

#include <atomic>
#include <bit>
#include <cmath>
#include <mutex>
#include <thread>
#include <tuple>
#include <vector>

#include "analysis/hand_analysis.h"
#include "players/playout_player.h"
#include "players/rule_player.h"
#include "players/seat_view.h"
#include "rules/auction.h"
#include "rules/card_records.h"
#include "rules/hand_score.h"
#include "rules/meld_rules.h"
#include "rules/play_state.h"
#include "rules/unseen_deck.h"

namespace vantrel {

namespace {

struct Contract {
    int declarer = 0;
    int trump = 0;
    int bid = 0;
};

Contract FixedContract(const std::array<HandCounts, 4>& hands) {
    Contract contract{0, 0, -1};
    for (int seat = 0; seat < 4; ++seat) {
        const auto figures = OwnFiguresOf(CardsOfHand(hands[static_cast<std::size_t>(seat)]).data());
        for (int suit = 0; suit < 4; ++suit)
            if (figures[static_cast<std::size_t>(suit)].bidValue > contract.bid)
                contract = {seat, suit, figures[static_cast<std::size_t>(suit)].bidValue};
    }
    return contract;
}

// The 80-card deck's contract, fixed by the deal: the seat and suit with the
// most meld in that trump and two counters for each card of the suit, at the
// standing bid. (The designed bid value knows the 48-card deck alone.)
Contract FixedContract(const RuleSet& rules, const std::array<KindCounts, 4>& hands) {
    const auto [seat, suit] = StrongestSuit(rules, hands, 2);
    return {seat, suit, rules.standingBid};
}

// A hand's meld and the cards it shows, for either deck.
int MeldIn(const RuleSet& rules, HandCounts hand, int trump) { return MeldOf(rules, hand, trump); }
int MeldIn(const RuleSet& rules, const KindCounts& hand, int trump) { return MeldOf(rules, hand, trump); }
HandCounts ShownBy(const RuleSet&, HandCounts hand, int trump) { return StandardMeldReport(hand, trump).Shown(); }
KindCounts ShownBy(const RuleSet& rules, const KindCounts& hand, int trump) {
    return MeldReportOf(rules, hand, trump).ShownCounts();
}

// One play of the deal with pair A in seats South and North when `aSouthNorth`.
// Returns each side's card points and hand score.
template <class HandType>
std::array<std::array<int, 2>, 2> PlayOnce(const RuleSet& rules, const std::array<HandType, 4>& hands,
                                           const Contract& contract, DuelPlayer a, DuelPlayer b, bool aSouthNorth,
                                           std::uint64_t seed) {
    std::vector<BasicSeatView<HandType>> views;
    std::array<int, 2> meld{};
    for (int seat = 0; seat < 4; ++seat) {
        views.emplace_back(rules, seat, hands[static_cast<std::size_t>(seat)], contract.trump, contract.declarer);
        meld[static_cast<std::size_t>(SideOf(seat))] +=
            MeldIn(rules, hands[static_cast<std::size_t>(seat)], contract.trump);
    }
    for (int seat = 0; seat < 4; ++seat)
        for (auto& view : views)
            view.Shown(seat, ShownBy(rules, hands[static_cast<std::size_t>(seat)], contract.trump));
    BasicPlayState<HandType> state(rules, hands, contract.trump, contract.declarer);
    Random random(seed, 0x5EED);
    while (!state.Over()) {
        const int seat = state.ToPlay();
        const DuelPlayer player = (SideOf(seat) == 0) == aSouthNorth ? a : b;
        const auto& view = views[static_cast<std::size_t>(seat)];
        int card = 0;
        if (player == DuelPlayer::Random) {
            const KindMask legal = state.Legal();
            int pick = static_cast<int>(random.Below(static_cast<std::uint32_t>(std::popcount(legal))));
            KindMask m = legal;
            while (pick-- > 0) m &= m - 1;
            card = std::countr_zero(m);
        } else {
            const Level level = player == DuelPlayer::Easy     ? Level::Easy
                                : player == DuelPlayer::Normal ? Level::Normal
                                                               : Level::Strong;
            card = ComputerCard(view, level, seed + static_cast<std::uint64_t>(state.Played()));
        }
        state.Make(card);
        for (auto& v : views) v.Observe(card);
    }
    HandTally tally;
    tally.declarerSide = SideOf(contract.declarer);
    tally.bid = contract.bid;
    tally.meld = meld;
    tally.cardPoints = state.Points();
    tally.tricks = state.Tricks();
    const HandScore score = ScoreHand(rules, tally);
    return {state.Points(), score.score};
}

}  // namespace

DuelDeal PlayDuelDeal(const RuleSet& rules, DuelPlayer a, DuelPlayer b, std::uint64_t seed, std::uint64_t deal) {
    const std::uint64_t playSeed = seed * 1000003 + deal;
    std::array<std::array<int, 2>, 2> first{};
    std::array<std::array<int, 2>, 2> second{};
    if (rules.form == GameForm{}) {
        const std::array<HandCounts, 4> hands = DealHands(seed, deal);
        const Contract contract = FixedContract(hands);
        first = PlayOnce(rules, hands, contract, a, b, true, playSeed);    // A South-North
        second = PlayOnce(rules, hands, contract, a, b, false, playSeed);  // A East-West
    } else {
        Random random(seed, deal);
        const std::array<KindCounts, 4> hands = DealOf(rules.form, random).hands;
        const Contract contract = FixedContract(rules, hands);
        first = PlayOnce(rules, hands, contract, a, b, true, playSeed);
        second = PlayOnce(rules, hands, contract, a, b, false, playSeed);
    }
    DuelDeal result;
    result.cardPoints = ((first[0][0] - first[0][1]) + (second[0][1] - second[0][0])) / 2.0;
    result.handScore = ((first[1][0] - first[1][1]) + (second[1][1] - second[1][0])) / 2.0;
    return result;
}

DuelResult PlayDuel(const RuleSet& rules, DuelPlayer a, DuelPlayer b, std::uint64_t deals, std::uint64_t seed,
                    unsigned threads) {
    const std::vector<DuelDeal> results =
        PlayDeals<DuelDeal>(deals, threads, [&](std::uint64_t d) { return PlayDuelDeal(rules, a, b, seed, d); });
    DuelResult result;
    result.deals = deals;
    if (deals == 0) return result;
    auto spread = [&](double DuelDeal::*field, double& mean, double& halfWidth) {
        std::vector<double> values;
        values.reserve(results.size());
        for (const DuelDeal& r : results) values.push_back(r.*field);
        std::tie(mean, halfWidth) = MeanWithInterval(values);
    };
    spread(&DuelDeal::cardPoints, result.cardPoints, result.cardPointsHalfWidth);
    spread(&DuelDeal::handScore, result.handScore, result.handScoreHalfWidth);
    return result;
}

std::pair<double, double> MeanWithInterval(const std::vector<double>& values) {
    if (values.empty()) return {0, 0};
    double sum = 0;
    double squares = 0;
    for (const double value : values) sum += value, squares += value * value;
    const double n = static_cast<double>(values.size());
    const double mean = sum / n;
    const double variance = values.size() > 1 ? std::max(0.0, (squares - n * mean * mean) / (n - 1)) : 0;
    return {mean, 1.96 * std::sqrt(variance / n)};
}

std::pair<int, int> StrongestSuit(const RuleSet& rules, const std::array<KindCounts, 4>& hands, int perCard) {
    std::pair<int, int> chosen{0, 0};
    int most = -1;
    for (int seat = 0; seat < 4; ++seat)
        for (int suit = 0; suit < 4; ++suit) {
            const KindCounts& hand = hands[static_cast<std::size_t>(seat)];
            const int value = MeldOf(rules, hand, suit) + perCard * SuitLength(hand, suit);
            if (value > most) most = value, chosen = {seat, suit};
        }
    return chosen;
}

}  // namespace vantrel
