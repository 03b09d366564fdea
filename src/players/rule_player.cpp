#include "players/rule_player.h"

#include "rules/trick_rules.h"

namespace vantrel {

namespace {

template <class HandType>
int RuleCardFor(const BasicSeatView<HandType>& view) {
    const KindMask legal = LegalPlaysFromHeld(HeldKinds(view.Hand()), StateOf(view.Trick(), view.Trump()), view.Trump(),
                                              view.Rules().play);
    return RuleCard(BasicRuleInput<HandType>{view.Hand(), view.Unseen(), view.Trick(), view.Seat(), view.Trump(),
                                             view.Declarer(), legal, &view.Rules()});
}

}  // namespace

int RuleCard(const SeatView& view) { return RuleCardFor(view); }
int RuleCard(const FormSeatView& view) { return RuleCardFor(view); }

}  // namespace vantrel
