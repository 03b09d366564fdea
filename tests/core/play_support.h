#pragma once

// Random positions of the engines' hand in play, and the plain search that
// judges their solvers.
#include <algorithm>
#include <array>
#include <bit>

#include "base/random.h"
#include "rules/auction.h"
#include "rules/play_state.h"
#include "rules/unseen_deck.h"

namespace vantrel::testing {

// A deal of the pinochle deck from a generator.
inline std::array<HandCounts, 4> RandomDeal(Random& random) {
    return UnseenDeck(kWholeDeck).Deal(random, std::array<int, 4>{12, 12, 12, 12});
}

inline int RandomLegal(KindMask legal, Random& random) {
    KindMask m = legal;
    for (int pick = static_cast<int>(random.Below(static_cast<std::uint32_t>(std::popcount(legal)))); pick > 0; --pick)
        m &= m - 1;
    return std::countr_zero(m);
}

// Every line of play, without pruning: what `side` takes to the end, in a
// hand of either deck.
template <class State>
int Exhaustive(State& state, int side) {
    if (state.Over()) return state.Points()[static_cast<std::size_t>(side)];
    // The ledger's sides: partners, or the bidder against the two others.
    const bool ours = state.Ledger().SideOfSeat(state.ToPlay()) == side;
    int best = ours ? -1 : 1 << 20;
    for (KindMask m = state.Legal(); m != 0; m &= m - 1) {
        state.Make(std::countr_zero(m));
        const int value = Exhaustive(state, side);
        state.Unmake();
        best = ours ? std::max(best, value) : std::min(best, value);
    }
    return best;
}

}  // namespace vantrel::testing
