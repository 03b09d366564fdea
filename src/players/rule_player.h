#pragma once

#include "players/seat_view.h"
#include "search/rule_card.h"

namespace vantrel {

/// The rule player's card for a seat's view of a real game: what it sees of
/// the deal is its own hand and the cards still out.
int RuleCard(const SeatView& view);
int RuleCard(const FormSeatView& view);

}  // namespace vantrel
