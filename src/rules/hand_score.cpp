#include "rules/hand_score.h"

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

}  // namespace vantrel
