#pragma once

#include <optional>
#include <string>

#include "rules/cards.h"
#include "rules/rule_set.h"

namespace vantrel {

/// How freely the three-handed bidder may lay away its cards. Within the
/// rules no card its shown meld needs goes (what it keeps melds as much),
/// and no trump unless the rules allow it. A hand that cannot lay away that
/// many cards so may lay away trump too, and one that still cannot, any
/// cards, its meld then what it keeps.
enum class LayAwayFreedom { WithinRules, TrumpToo, AnyCards };

/// The first cards, in the deck's order, that may be laid away under a
/// freedom; none where no choice of cards may.
std::optional<KindCounts> FirstLayAway(const RuleSet& rules, const KindCounts& hand, int trump, LayAwayFreedom freedom);

/// The strictest freedom under which the hand can lay away the widow's number of cards.
LayAwayFreedom LayAwayFreedomOf(const RuleSet& rules, const KindCounts& hand, int trump);

/// Whether `cards` may be laid away from `hand` under that freedom; empty
/// when they may, else why not.
std::string WhyNotLaidAway(const RuleSet& rules, const KindCounts& hand, int trump, const KindCounts& cards,
                           LayAwayFreedom freedom);

}  // namespace vantrel
