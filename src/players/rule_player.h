#pragma once

#include "search/rule_card.h"

namespace vantrel {

class SeatView;

/// The rule player's card for a seat's view of a real game: what it sees of
/// the deal is its own hand and the cards still out.
int RuleCard(const SeatView& view);

}  // namespace vantrel
