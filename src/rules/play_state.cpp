#include "rules/play_state.h"

#include "rules/auction.h"
#include "rules/trick_rules.h"

namespace vantrel {

PlayState::PlayState(const RuleSet& rules, const std::array<HandCounts, 4>& hands, int trump, int leader)
    : rules_(rules), hands_(hands), ledger_(rules, trump, leader) {}

PlayState::PlayState(const RuleSet& rules, const std::array<HandCounts, 4>& hands, int trump, int leader,
                     const std::array<int, 2>& points, const std::array<int, 2>& tricks)
    : rules_(rules), hands_(hands), ledger_(rules, trump, leader, points, tricks) {}

KindMask PlayState::Legal() const {
    if (Over()) return 0;
    return LegalPlays(hands_[static_cast<std::size_t>(ToPlay())], Trick(), Trump(), rules_.play);
}

std::string PlayState::Play(int kind) {
    if (Over()) return "The hand is over.";
    const int seat = ToPlay();
    std::string why =
        WhyNotLegal(hands_[static_cast<std::size_t>(seat)], Trick(), kind, Trump(), rules_.play, SeatName(seat));
    if (why.empty()) Make(kind);
    return why;
}

}  // namespace vantrel
