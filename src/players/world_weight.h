#pragma once

#include <array>

#include "players/seat_view.h"

namespace vantrel {

/// How likely a world (the four hands as they stand now) is, given the cards
/// the other seats chose in it so far, up to a common factor.
///
/// The model: each seat plays a legal card, and at the fourth place of a
/// trick, where it knows who takes it, a seat gives its side's trick a
/// counter (a card of ten points or more, not a trump) when it has one to
/// give, and keeps its counters off the other side's trick when it has a
/// card of less. A card against that habit is three times less likely in a
/// world where the seat had the choice: the world's weight is multiplied by
/// `kAgainstHabit`. A world in which some seat played a card it did not hold
/// or could not play has weight 0. With nothing observed every world weighs 1.
inline constexpr double kAgainstHabit = 1.0 / 3.0;
double WorldWeight(const SeatView& view, const std::array<HandCounts, 4>& hands);

}  // namespace vantrel
