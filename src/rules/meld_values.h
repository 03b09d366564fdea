#pragma once

#include <array>
#include <string_view>

namespace vantrel {

/// What each meld is worth: the one table every meld counter reads, the
/// designed count card by card, its fast form and the standard count.
namespace meld_values {

/// The ranks that meld around the four suits (A, K, Q, J as rank numbers
/// 0..5), their names and their values; a double set is worth ten times as
/// much by the usual rules and nothing more as designed.
inline constexpr std::array<int, 4> kAroundRanks{0, 2, 3, 4};
inline constexpr std::array<std::string_view, 4> kAroundNames{"Aces", "Kings", "Queens", "Jacks"};
inline constexpr std::array<int, 4> kAround{100, 80, 60, 40};
inline constexpr int kDoubleAroundTimes = 10;

/// A run (A 10 K Q J of one suit); a double run by the usual rules.
inline constexpr int kRun = 150;
inline constexpr int kDoubleRun = 1500;

/// A King and Queen of one suit; in trump (a royal marriage) twice as much.
inline constexpr int kMarriage = 20;
inline constexpr int kRoyalMarriage = 2 * kMarriage;

/// The Queen of Spades with the Jack of Diamonds; both copies of each are a
/// double pinochle, 300 by the usual rules and simply two pinochles as designed.
inline constexpr int kPinochle = 40;
inline constexpr int kDoublePinochle = 300;
inline constexpr int kDesignedDoublePinochle = 2 * kPinochle;

/// Each nine of trump (the dix).
inline constexpr int kNineOfTrump = 10;

}  // namespace meld_values

}  // namespace vantrel
