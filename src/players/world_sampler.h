#pragma once

#include <array>

#include "base/random.h"
#include "players/seat_view.h"

namespace vantrel {

/// A deal of the cards a seat has not seen to the other three hands,
/// consistent with its view: each hand gets the cards it is known to hold and
/// as many more as it has left, none of a kind the rules say it cannot hold.
/// The most constrained cards are placed first, each in a hand drawn in
/// proportion to the room left; after `tries` dead ends the exclusions are
/// dropped and the cards dealt plainly. At a table of three the fourth
/// place holds the cards the bidder laid away, where the seat does not know
/// them: the widow's cards seen go to the bidder or there, and no others'.
template <class HandType>
struct BasicSampledWorld {
    std::array<HandType, 4> hands{};
    bool consistent = true;  // false when the plain deal was the fallback
};
using SampledWorld = BasicSampledWorld<HandCounts>;
using FormSampledWorld = BasicSampledWorld<KindCounts>;
SampledWorld SampleWorld(const SeatView& view, Random& random, int tries = 50);
FormSampledWorld SampleWorld(const FormSeatView& view, Random& random, int tries = 50);

}  // namespace vantrel
