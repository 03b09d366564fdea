// The hand review: the perfect-information solver against plain search and
// the search player's solver.
#include <gtest/gtest.h>

#include "play_support.h"
#include "players/search_player.h"
#include "review/hand_solver.h"

namespace vantrel {
namespace {
using testing::Exhaustive;
using testing::RandomDeal;
using testing::RandomLegal;

// The rule sets a solve must be exact under: the usual rules, the design's
// card values (whose equal points let cards merge), tricks by rank alone,
// and play with every obligation switched off.
std::vector<RuleSet> SolverRuleSets() {
    RuleSet designedPoints = RuleSet::Standard();
    designedPoints.cardPoints = CardValues::Designed;
    RuleSet rankAlone = RuleSet::Standard();
    rankAlone.tricks = TrickRules::RankAlone;
    RuleSet free = RuleSet::Standard();
    free.play = {false, false, false, false};
    return {RuleSet::Standard(), designedPoints, rankAlone, free};
}

// A random position of a random deal with `tricksLeft` tricks to play and
// `inTrick` cards of the current trick on the table.
PlayState RandomPosition(const RuleSet& rules, Random& random, int tricksLeft, int inTrick) {
    PlayState state(rules, RandomDeal(random), static_cast<int>(random.Below(5)) - 1,
                    static_cast<int>(random.Below(4)));
    while (state.Played() < 48 - 4 * tricksLeft + inTrick) state.Make(RandomLegal(state.Legal(), random));
    return state;
}

TEST(Solver, IsExactOnEndgamesAndItsCardValuesAgree) {
    // One solver for every position, so that what one deal leaves in the
    // table must not mislead the next.
    HandSolver solver(12);
    Random random(41, 0);
    const std::vector<RuleSet> ruleSets = SolverRuleSets();
    for (std::size_t set = 0; set < ruleSets.size(); ++set)
        for (int tricksLeft : {1, 2, 3, 4})
            for (int position = 0; position < 24; ++position) {
                PlayState state = RandomPosition(ruleSets[set], random, tricksLeft, position % 4);
                const int side = position / 4 % 2;
                const int before = state.Points()[static_cast<std::size_t>(side)];
                const std::string where = "rule set " + std::to_string(set) + ", " + std::to_string(tricksLeft) +
                                          " tricks left, position " + std::to_string(position);
                ASSERT_EQ(solver.Solve(state, side) + before, Exhaustive(state, side)) << where;
                // The best card is worth what the position is worth, and
                // each card what the position after it is worth.
                const int mover = SideOf(state.ToPlay());
                const int moverBefore = state.Points()[static_cast<std::size_t>(mover)];
                const PerKind<int> values = solver.CardValues(state);
                int best = -1;
                for (KindMask moves = state.Legal(); moves != 0; moves &= moves - 1) {
                    const int card = std::countr_zero(moves);
                    state.Make(card);
                    EXPECT_EQ(values[static_cast<std::size_t>(card)] + moverBefore, Exhaustive(state, mover))
                        << where << ", " << KindText(card);
                    state.Unmake();
                    best = std::max(best, values[static_cast<std::size_t>(card)]);
                }
                EXPECT_EQ(best, solver.Solve(state, mover)) << where;
            }
    EXPECT_GT(solver.Merged(), 0u) << "no position merged two cards";
}

TEST(Solver, ATableSharedByManyDealsNeverMisleads) {
    // The last tricks of different deals often hold the same cards, under
    // another trump or other rules: what the shared table learnt of one
    // must not be taken for the other's. Judged against a solver of its own
    // for each position.
    HandSolver shared;
    Random random(47, 0);
    const std::vector<RuleSet> ruleSets = SolverRuleSets();
    for (int position = 0; position < 6000; ++position) {
        const PlayState state = RandomPosition(ruleSets[static_cast<std::size_t>(position % 4)], random,
                                               2 + position % 2, position / 4 % 4);
        HandSolver own(6);
        ASSERT_EQ(shared.Solve(state, position % 2), own.Solve(state, position % 2)) << "position " << position;
    }
}

TEST(Solver, AgreesWithTheSearchPlayersSolverFromSixToNineTricks) {
    // The search player's solver has no zero windows, no merging and no
    // bound from the points still out: where the two agree on positions
    // from deeper in the hand, neither shortcut changed a value. Fewer
    // positions the deeper they go, as the old solver slows tenfold a trick.
    HandSolver solver;
    Random random(43, 0);
    RuleSet designedPoints = RuleSet::Standard();
    designedPoints.cardPoints = CardValues::Designed;
    for (const auto [tricksLeft, positions] : {std::pair{6, 240}, {7, 60}, {8, 12}, {9, 3}})
        for (int position = 0; position < positions; ++position) {
            PlayState state = RandomPosition(position % 3 == 2 ? designedPoints : RuleSet::Standard(), random,
                                             tricksLeft, position % 4);
            const int side = position / 4 % 2;
            PlayState copy = state;
            ASSERT_EQ(solver.Solve(state, side), SolvePosition(copy, side))
                << tricksLeft << " tricks left, position " << position;
        }
}

}  // namespace
}  // namespace vantrel
