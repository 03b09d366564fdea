#pragma once

#include <span>

#include "rules/cards.h"
#include "rules/play_state.h"
#include "rules/rule_set.h"

namespace vantrel {

/// What the rule player weighs: its own cards, the cards still out in the
/// other hands (all of them together: no seat's cards in particular), the
/// trick, and who declared. The hands are the 48-card deck's counts, or a
/// count a kind of any deck.
template <class Hand>
struct BasicRuleInput {
    Hand own{};
    Hand others{};
    std::span<const int> trick;
    int seat = 0;
    int trump = -1;
    int declarer = 0;
    KindMask legal = 0;
    const RuleSet* rules = nullptr;
};
using RuleInput = BasicRuleInput<HandCounts>;
using FormRuleInput = BasicRuleInput<KindCounts>;

/// The easy player, fast enough to play out hundreds of thousands of hands a
/// second, with a club player's habits where the rules leave a choice:
/// - the declarer pulls trump while it holds at least as many as are out;
/// - it cashes sure winners (a card no card still out can beat in its suit);
/// - it feeds card points (A, 10, K) to a trick its partner is winning;
/// - it wins as cheaply as it can, with the lowest trump that wins;
/// - it throws its least card when the trick is lost.
int RuleCard(const RuleInput& input);
int RuleCard(const FormRuleInput& input);

/// The rule player's card for the seat to play in a hand where every card is
/// known (a simulation); it still looks only at its own hand and what is out.
int RuleCard(const PlayState& state, int declarer);
int RuleCard(const FormPlayState& state, int declarer);

}  // namespace vantrel
