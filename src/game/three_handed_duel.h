#pragma once

#include <cstdint>
#include <string>

#include "game/three_handed_hand.h"
#include "players/search_player.h"

namespace vantrel {

/// The computer's move for the seat to act in a three-handed hand, made:
/// its call, taking the widow, its trump, the cards it lays away, its
/// choice to concede, or its card (Easy: the rule player's; Normal and
/// Strong: weighed over worlds drawn from its view). Empty when made, else
/// why not (the hand over).
std::string MakeComputerMove(ThreeHandedHand& hand, Level level, std::uint64_t seed);

/// A duplicate match of three-handed hands: each deal is played three
/// times, player A in each seat in turn and B in the two others, every
/// move the computer's at the players' levels.
struct ThreeHandedDuelResult {
    std::uint64_t deals = 0;
    double score = 0;      // A's hand score less the mean of B's two seats, per hand
    double halfWidth = 0;  // of its 95% interval
    int bidsA = 0;         // hands A won the auction in
    int madeA = 0;
};
ThreeHandedDuelResult PlayThreeHandedDuel(const RuleSet& rules, Level a, Level b, std::uint64_t deals,
                                          std::uint64_t seed, unsigned threads = 0);

}  // namespace vantrel
