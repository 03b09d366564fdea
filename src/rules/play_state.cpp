#include "rules/play_state.h"

#include "rules/auction.h"
#include "rules/trick_rules.h"

namespace vantrel {

PlayState::PlayState(const RuleSet& rules, const std::array<HandCounts, 4>& hands, int trump, int leader)
    : rules_(rules), hands_(hands), trump_(trump), leader_(leader & 3) {
    for (int kind = 0; kind < kCardKinds; ++kind) pointsOf_[static_cast<std::size_t>(kind)] = CardPointsOf(rules, kind);
}

PlayState::PlayState(const RuleSet& rules, const std::array<HandCounts, 4>& hands, int trump, int leader,
                     const std::array<int, 2>& points, const std::array<int, 2>& tricks)
    : PlayState(rules, hands, trump, leader) {
    points_ = points;
    tricks_ = tricks;
    played_ = first_ = 4 * (tricks[0] + tricks[1]);
}

KindMask PlayState::Legal() const {
    if (Over()) return 0;
    return LegalPlays(hands_[static_cast<std::size_t>(ToPlay())], Trick(), trump_, rules_.play);
}

std::string PlayState::Play(int kind) {
    if (Over()) return "The hand is over.";
    const int seat = ToPlay();
    std::string why =
        WhyNotLegal(hands_[static_cast<std::size_t>(seat)], Trick(), kind, trump_, rules_.play, SeatName(seat));
    if (why.empty()) Make(kind);
    return why;
}

void PlayState::Make(int kind) {
    Step& step = steps_[static_cast<std::size_t>(played_)];
    step.kind = kind;
    step.leader = leader_;
    step.side = -1;
    hands_[static_cast<std::size_t>(ToPlay())] -= KindBit(kind);
    trick_[static_cast<std::size_t>(trickSize_++)] = kind;
    ++played_;
    if (trickSize_ < 4) return;
    const int winner = (leader_ + TrickWinner(Trick(), trump_, rules_.tricks)) & 3;
    int points = 0;
    for (const int card : trick_) points += pointsOf_[static_cast<std::size_t>(card)];
    if (played_ == 48) points += rules_.lastTrick;
    step.trick = trick_;
    step.side = SideOf(winner);
    step.points = points;
    points_[static_cast<std::size_t>(step.side)] += points;
    ++tricks_[static_cast<std::size_t>(step.side)];
    leader_ = winner;
    trickSize_ = 0;
}

void PlayState::Unmake() {
    if (played_ == first_) return;
    const Step& step = steps_[static_cast<std::size_t>(--played_)];
    if (step.side >= 0) {
        points_[static_cast<std::size_t>(step.side)] -= step.points;
        --tricks_[static_cast<std::size_t>(step.side)];
        trick_ = step.trick;
        trickSize_ = 4;
    }
    leader_ = step.leader;
    --trickSize_;
    hands_[static_cast<std::size_t>(ToPlay())] += KindBit(step.kind);
}

}  // namespace vantrel
