#pragma once

#include <string>
#include <string_view>

namespace vantrel {

/// The trick value of a card: A 20, 10 19, K 18, Q 17, J 16, 9 15 in trump,
/// and 10 less outside it, so every trump outranks every other card and
/// otherwise only the rank counts. 0 for a text that is no rank.
int TrickValue(std::string_view rank, bool trump);

/// A trick value of 15 or more marks a trump card.
constexpr bool IsTrumpValue(int trickValue) { return trickValue > 14; }

/// Card points a played card carries into its trick: A and 10 count 10,
/// K and Q 5, J and 9 nothing. The deck holds 240.
int CardPoints(std::string_view rank);

/// True for the seats of the South-North partnership.
constexpr bool IsSouthNorth(std::string_view seat) { return seat == "S" || seat == "N"; }

/// The points-per-trick text of the end-of-hand report for one partnership,
/// after its "Points/Tricks = ": the quotient in the standard number text,
/// or "40 Trickless" when it took no trick.
std::string PointsPerTrickText(int points, int tricks);

}  // namespace vantrel
