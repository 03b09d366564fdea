#pragma once

#include <string_view>

namespace vantrel {

/// The trick value of a card: A 20, 10 19, K 18, Q 17, J 16, 9 15 in trump,
/// and 10 less outside it, so every trump outranks every other card and
/// otherwise only the rank counts. 0 for a text that is no rank.
int TrickValue(std::string_view rank, bool trump);

/// A trick value of 15 or more marks a trump card.
constexpr bool IsTrumpValue(int trickValue) { return trickValue > 14; }

}  // namespace vantrel
