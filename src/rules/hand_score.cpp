#include "rules/hand_score.h"

#include <algorithm>

namespace vantrel {

HandScore ScoreHand(const RuleSet& rules, const HandTally& hand) {
    HandScore score;
    const auto d = static_cast<std::size_t>(hand.declarerSide & 1);
    const std::size_t o = 1 - d;
    if (hand.thrownIn) {
        score.meldCounts = {true, true};
        score.taken[o] = hand.meld[o];
        score.score[d] = -hand.bid;
        score.score[o] = hand.meld[o];
        score.thrownIn = true;
        score.margin = -hand.bid;
        return score;
    }
    for (std::size_t side : {d, o}) {
        score.meldCounts[side] =
            (!rules.meldNeedsTrick || hand.tricks[side] > 0) && hand.cardPoints[side] >= rules.meldCounters;
        score.taken[side] = hand.cardPoints[side] + (score.meldCounts[side] ? hand.meld[side] : 0);
    }
    score.margin = score.taken[d] - hand.bid;
    score.made = score.margin >= 0;
    score.score[d] = DeclarersScore(score.taken[d], hand.bid);
    score.score[o] = score.taken[o];
    return score;
}

std::string HandScore::Result() const {
    if (thrownIn) return "Thrown in";
    return margin > 0    ? "Made by " + std::to_string(margin)
           : margin == 0 ? std::string("Made exactly")
                         : "Set by " + std::to_string(-margin);
}

int GameWinner(const RuleSet& rules, const std::array<int, 2>& totals, int declarerSide, bool made) {
    const int d = declarerSide & 1;
    const bool declarersOut = totals[static_cast<std::size_t>(d)] >= rules.gameTarget;
    const bool defendersOut = totals[static_cast<std::size_t>(1 - d)] >= rules.gameTarget;
    if (declarersOut && defendersOut) return made ? d : 1 - d;
    if (declarersOut) return d;
    if (defendersOut) return 1 - d;
    return -1;
}

int SettlementUnits(const RuleSet& rules, int bid, int trump) {
    constexpr std::array<int, 7> kUnits{3, 5, 10, 15, 20, 25, 30};  // 300, 350, ... 600 and over
    const int step = std::clamp((bid - 300) / 50, 0, static_cast<int>(kUnits.size()) - 1);
    const int units = kUnits[static_cast<std::size_t>(step)];
    return rules.spadesDouble && trump == 2 ? 2 * units : units;
}

ThreeHandScore ScoreThreeHanded(const RuleSet& rules, const ThreeHandTally& hand) {
    ThreeHandScore score;
    const int bidder = std::clamp(hand.bidder, 0, 2);
    const auto b = static_cast<std::size_t>(bidder);
    const auto counts = [&](std::size_t seat) {
        return (!rules.meldNeedsTrick || hand.tricks[seat] > 0) && hand.cardPoints[seat] >= rules.meldCounters;
    };
    score.conceded = hand.conceded;
    if (!hand.conceded) {
        score.taken = hand.cardPoints[b] + (counts(b) ? hand.meld[b] : 0);
        score.margin = score.taken - hand.bid;
        score.made = score.margin >= 0;
    }
    if (!rules.pointsGame) {
        // Units change hands between the bidder and each opponent.
        const int units = SettlementUnits(rules, hand.bid, hand.trump);
        const int each = score.made ? -units : hand.conceded ? units : 2 * units;
        for (std::size_t seat = 0; seat < 3; ++seat)
            if (seat != b) {
                score.score[seat] = each;
                score.score[b] -= each;
            }
        return score;
    }
    score.score[b] = score.made ? score.taken : -hand.bid;
    for (std::size_t seat = 0; seat < 3; ++seat) {
        if (seat == b) continue;
        const int meld = rules.bidderMeldsOnly ? 0 : hand.meld[seat];
        if (hand.conceded)
            score.score[seat] = meld + (rules.concedeToEach ? hand.bid : 0);
        else
            score.score[seat] = hand.cardPoints[seat] + (counts(seat) ? meld : 0);
    }
    return score;
}

std::string ThreeHandScore::Result() const {
    if (conceded) return "Conceded";
    HandScore partnership;
    partnership.margin = margin;
    return partnership.Result();
}

int ThreeHandedWinner(const RuleSet& rules, const std::array<int, 3>& totals, int bidder, bool made) {
    if (!rules.pointsGame) return -1;
    const int b = std::clamp(bidder, 0, 2);
    if (made && totals[static_cast<std::size_t>(b)] >= rules.gameTarget) return b;
    int winner = -1;
    for (int step = 1; step <= 2; ++step) {
        const int seat = (b + step) % 3;
        const int total = totals[static_cast<std::size_t>(seat)];
        if (total >= rules.gameTarget && (winner < 0 || total > totals[static_cast<std::size_t>(winner)]))
            winner = seat;
    }
    return winner;
}

}  // namespace vantrel
