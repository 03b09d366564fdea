#pragma once

#include "rules/cards.h"
#include "rules/rule_set.h"

namespace vantrel {

/// The cards a computer passes after trump is named. To the declarer: its
/// highest trumps, then aces, then its best cards. Back to partner: cards
/// that keep its meld, shedding losers first (nines and jacks outside trump),
/// trumps and aces last.
HandCounts ChoosePass(HandCounts hand, int trump, int count, bool toDeclarer);
/// The same for a hand of any form's deck, its meld counted by the rules.
KindCounts ChoosePass(const RuleSet& rules, const KindCounts& hand, int trump, int count, bool toDeclarer);

}  // namespace vantrel
