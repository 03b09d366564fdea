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

/// What a form's meld is worth, each by how many times the hand holds it
/// (index 1 once, up to the deck's copies; 0 is nothing).
struct Table {
    std::array<int, 5> run;
    std::array<std::array<int, 5>, 4> around;  // in the order of kAroundRanks
    std::array<int, 5> pinochle;
    int royalMarriage;
    int marriage;
    int nineOfTrump;
};

/// The 48-card deck: the values above.
inline constexpr Table kSingleDeck{
    {0, kRun, kDoubleRun, 0, 0},
    {{{0, kAround[0], kDoubleAroundTimes* kAround[0], 0, 0},
      {0, kAround[1], kDoubleAroundTimes* kAround[1], 0, 0},
      {0, kAround[2], kDoubleAroundTimes* kAround[2], 0, 0},
      {0, kAround[3], kDoubleAroundTimes* kAround[3], 0, 0}}},
    {0, kPinochle, kDoublePinochle, 0, 0},
    kRoyalMarriage,
    kMarriage,
    kNineOfTrump,
};

/// The 80-card deck, counted in its own points (a counter is 1): single,
/// double, triple and quadruple.
inline constexpr Table kDoubleDeck{
    {0, 15, 150, 225, 300},
    {{{0, 10, 100, 150, 200}, {0, 8, 80, 120, 160}, {0, 6, 60, 90, 120}, {0, 4, 40, 60, 80}}},
    {0, 4, 30, 60, 90},
    4,
    2,
    0,
};

}  // namespace meld_values

}  // namespace vantrel
