#pragma once

#include <atomic>
#include <cstdint>

#include "players/seat_view.h"
#include "rules/play_state.h"

namespace vantrel {

/// How hard a computer player thinks.
enum class Level { Easy, Normal, Strong };

/// The search player's budget: how many worlds it samples, how many tricks
/// beyond the current one it searches before a rule-player playout decides,
/// from how many tricks left it solves each world exactly to the end (with
/// the fast solver, over `exactWorlds` worlds), and whether it weighs the
/// worlds by how well they explain the other seats' cards (world_weight.h).
///   Normal: 30 worlds one trick ahead; exact from the last four tricks.
///           Median 1.1 ms, 99th percentile 101 ms a decision on one core.
///   Strong: 150 worlds one trick ahead; exact from the last eight tricks
///           over 30 worlds, twice as many for each trick fewer (up to
///           150); worlds weighed. Median 6 ms, 99th percentile 0.9 s.
struct SearchBudget {
    int worlds = 30;
    int tricksAhead = 1;
    int exactTricks = 4;
    int exactWorlds = 30;
    bool weighted = false;
    /// The cards one world's look ahead may play, its playouts' included:
    /// beyond them (lopsided hands, following switched off, where a world
    /// took millions) the world is weighed to the end of the current trick
    /// only. Under the usual rules fewer than one world in a hundred, at the
    /// first tricks, comes near.
    std::uint64_t worldNodes = 400000;
};
SearchBudget BudgetOf(Level level);

/// The search player's card: the legal card with the best total, over the
/// sampled worlds, of the card points its side takes from here to the end of
/// the hand. The same seed gives the same card; a cancel returns the best
/// card found so far (the rule player's before the first world is done).
struct SearchChoice {
    int card = -1;
    double expected = 0;  // mean card points for its side, to the end of the hand
    int worlds = 0;       // worlds weighed
    int cut = 0;          // of them, those whose search or solve outgrew its budget and was cut back
    /// The mean for each legal card; -1 for the others, and for every card
    /// when there was no choice to weigh.
    PerKind<double> byCard = [] {
        PerKind<double> none{};
        none.fill(-1);
        return none;
    }();
};
SearchChoice SearchCard(const SeatView& view, const SearchBudget& budget, std::uint64_t seed,
                        const std::atomic<bool>* cancel = nullptr);

/// The perfect-information value of a position: the card points the side of
/// `side` takes from here to the end, searched exactly (alpha-beta with a
/// transposition table at each trick's start).
int SolvePosition(PlayState& state, int side);

/// The card a computer plays for a seat's view at a level.
int ComputerCard(const SeatView& view, Level level, std::uint64_t seed, const std::atomic<bool>* cancel = nullptr);

}  // namespace vantrel
