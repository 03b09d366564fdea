#include "game/three_handed_duel.h"

#include "game/game.h"

#include <vector>

#include "players/duel.h"
#include "players/playout_player.h"
#include "players/three_handed_bidding.h"

namespace vantrel {

std::string MakeComputerMove(ThreeHandedHand& hand, Level level, std::uint64_t seed) {
    const int seat = hand.ToAct();
    if (seat < 0) return "The hand is over.";
    const ComputerMove move = ChooseThreeHandedMove(hand, seat, level, seed);
    switch (move.kind) {
        case ComputerMove::Bid:
            return hand.Bid(seat, move.value);
        case ComputerMove::Pass:
            return hand.Pass(seat);
        case ComputerMove::TakeWidow:
            return hand.TakeWidow(seat);
        case ComputerMove::Trump:
            return hand.NameTrump(seat, move.value);
        case ComputerMove::PassCards:
            return hand.LayAway(seat, move.cards);
        case ComputerMove::ThrowIn:
            return hand.Concede(seat);
        case ComputerMove::Play:
            return hand.PlayCard(seat, move.value);
        default:
            return "The hand is over.";
    }
}

namespace {

struct DuelHand {
    double score = 0;
    int bids = 0;
    int made = 0;
};

// One deal three times, A in seat `r` of play `r`: A's score less the mean
// of B's two seats, over the three plays.
DuelHand PlayDeal(const RuleSet& rules, Level a, Level b, std::uint64_t seed, std::uint64_t deal) {
    DuelHand result;
    const FormDeal dealt = ThreeHandedDeal(rules, seed, static_cast<int>(deal + 1));
    for (int seatA = 0; seatA < 3; ++seatA) {
        ThreeHandedHand hand(rules, dealt, static_cast<int>(deal % 3));
        // Each seat's own seed, the same in every play, so that a seat's
        // choices differ only by who sits there.
        for (int step = 0; step < 200 && hand.ToAct() >= 0; ++step) {
            const int seat = hand.ToAct();
            if (!MakeComputerMove(hand, seat == seatA ? a : b, seed ^ (deal * 3 + static_cast<std::uint64_t>(seat)))
                     .empty())
                break;
        }
        if (hand.Phase() != ThreePhase::Scored) continue;  // passed out: nobody scores
        const auto& score = hand.Score().score;
        double others = 0;
        for (int seat = 0; seat < 3; ++seat)
            if (seat != seatA) others += score[static_cast<std::size_t>(seat)] / 2.0;
        result.score += (score[static_cast<std::size_t>(seatA)] - others) / 3;
        if (hand.Bidder() == seatA) {
            ++result.bids;
            result.made += hand.Score().made ? 1 : 0;
        }
    }
    return result;
}

}  // namespace

ThreeHandedDuelResult PlayThreeHandedDuel(const RuleSet& rules, Level a, Level b, std::uint64_t deals,
                                          std::uint64_t seed, unsigned threads) {
    const std::vector<DuelHand> played =
        PlayDeals<DuelHand>(deals, threads, [&](std::uint64_t deal) { return PlayDeal(rules, a, b, seed, deal); });
    ThreeHandedDuelResult result;
    result.deals = deals;
    std::vector<double> scores;
    scores.reserve(played.size());
    for (const DuelHand& hand : played) {
        scores.push_back(hand.score);
        result.bidsA += hand.bids;
        result.madeA += hand.made;
    }
    std::tie(result.score, result.halfWidth) = MeanWithInterval(scores);
    return result;
}

}  // namespace vantrel
