#include "players/search_player.h"

#include <array>
#include <bit>
#include <limits>
#include <optional>
#include <vector>

#include "players/rule_player.h"
#include "players/world_sampler.h"
#include "players/world_weight.h"
#include "search/hand_solver.h"
#include "rules/auction.h"
#include "rules/trick_rules.h"

namespace vantrel {

namespace {

constexpr int kInfinity = 1 << 20;

// The transposition table: what is still to be taken from a trick's start,
// as bounds, kept with the whole position so that a collision cannot mislead.
struct Entry {
    std::uint64_t key = ~std::uint64_t{0};
    std::array<HandCounts, 4> hands{};
    int leader = -1;
    int lower = 0;
    int upper = kInfinity;
};
constexpr std::size_t kTableSize = 1 << 14;
// The positions an exact solve of one world may search: a few milliseconds.
// Beyond them (following off, from eight tricks) the world is searched as one
// that is not solved exactly.
constexpr std::uint64_t kExactWorldNodes = 1000000;
using Table = std::vector<Entry>;

// A perfect-information search of one world. Values are the card points the
// root side takes from the searched position to the end of the hand; below
// `leafAt` cards played a rule-player playout decides instead of the search.
// What is still to be taken from a position does not depend on the world it
// came from, so the worlds of one decision share a table.
class Solver {
public:
    Solver(PlayState& state, int side, int declarer, int leafAt, Table& table)
        : state_(state), side_(side), declarer_(declarer), leafAt_(leafAt), table_(table) {}

    int Value(int alpha, int beta) {
        // Past its budget the search gives up; what it returns then is not
        // used, and nothing of it goes into the table.
        if (++nodes_ > limit_) return 0;
        if (state_.Over()) return state_.Points()[static_cast<std::size_t>(side_)] - base_;
        const bool boundary = state_.Played() % 4 == 0;
        if (state_.Played() >= leafAt_) return Playout();
        const int alphaIn = alpha;
        const int betaIn = beta;
        const int taken = state_.Points()[static_cast<std::size_t>(side_)] - base_;
        Entry found{};
        if (boundary) {
            // The table keeps what is still to be taken, which does not
            // depend on how the position was reached.
            found = Entry{Key(), state_.Hands(), state_.Leader(), 0, kInfinity};
            const Entry& entry = table_[found.key & (kTableSize - 1)];
            if (entry.key == found.key && entry.hands == found.hands && entry.leader == found.leader) {
                found = entry;
                if (found.lower + taken >= beta) return found.lower + taken;
                if (found.upper + taken <= alpha) return found.upper + taken;
                if (found.lower == found.upper) return found.lower + taken;
            }
        }
        const bool maximising = SideOf(state_.ToPlay()) == side_;
        int best = maximising ? -kInfinity : kInfinity;
        for (KindMask moves = state_.Legal(); moves != 0; moves &= moves - 1) {
            state_.Make(std::countr_zero(moves));
            const int value = Value(alpha, beta);
            state_.Unmake();
            if (maximising) {
                best = std::max(best, value);
                alpha = std::max(alpha, value);
            } else {
                best = std::min(best, value);
                beta = std::min(beta, value);
            }
            if (alpha >= beta) break;
        }
        if (boundary && !Exhausted()) {
            const int rest = best - taken;
            if (best <= alphaIn) {
                found.upper = std::min(found.upper, rest);
            } else if (best >= betaIn) {
                found.lower = std::max(found.lower, rest);
            } else {
                found.lower = found.upper = rest;
            }
            table_[found.key & (kTableSize - 1)] = found;
        }
        return best;
    }

    void SetBase() { base_ = state_.Points()[static_cast<std::size_t>(side_)]; }
    void SetLimit(std::uint64_t nodes) { limit_ = nodes; }
    [[nodiscard]] bool Exhausted() const { return nodes_ > limit_; }

private:
    std::uint64_t Key() const {
        std::uint64_t key = static_cast<std::uint64_t>(state_.Leader());
        for (const HandCounts hand : state_.Hands()) {
            key ^= hand + 0x9E3779B97F4A7C15ull + (key << 6) + (key >> 2);
            key *= 0xBF58476D1CE4E5B9ull;
        }
        return key ^ (key >> 31);
    }

    int Playout() {
        int made = 0;
        while (!state_.Over()) {
            state_.Make(RuleCard(state_, declarer_));
            ++made;
        }
        const int value = state_.Points()[static_cast<std::size_t>(side_)] - base_;
        // A playout's cards count against the budget as the search's own do.
        nodes_ += static_cast<std::uint64_t>(made);
        while (made-- > 0) state_.Unmake();
        return value;
    }

    PlayState& state_;
    int side_;
    int declarer_;
    int leafAt_;
    int base_ = 0;
    std::uint64_t nodes_ = 0;
    std::uint64_t limit_ = ~std::uint64_t{0};
    Table& table_;
};

// The world's hand in play as the view has it: the hands as they stood when
// the current trick began, then the trick's cards made again.
PlayState WorldState(const SeatView& view, std::array<HandCounts, 4> hands) {
    const std::span<const int> trick = view.Trick();
    for (std::size_t i = 0; i < trick.size(); ++i)
        hands[static_cast<std::size_t>((view.Leader() + static_cast<int>(i)) & 3)] += KindBit(trick[i]);
    PlayState state(view.Rules(), hands, view.Trump(), view.Leader(), view.Points(), view.Tricks());
    for (const int card : trick) state.Make(card);
    return state;
}

}  // namespace

SearchBudget BudgetOf(Level level) {
    if (level == Level::Strong) return {150, 1, 8, 30, true};
    return {30, 1, 4, 30, false};
}

int SolvePosition(PlayState& state, int side) {
    Table table(kTableSize);
    Solver solver(state, side & 1, 0, 49, table);
    solver.SetBase();
    return solver.Value(-kInfinity, kInfinity);
}

SearchChoice SearchCard(const SeatView& view, const SearchBudget& budget, std::uint64_t seed,
                        const std::atomic<bool>* cancel) {
    SearchChoice choice;
    const KindMask legal = LegalPlays(view.Hand(), view.Trick(), view.Trump(), view.Rules().play);
    choice.card = RuleCard(view);
    if (std::popcount(legal) <= 1) return choice;
    std::array<double, kCardKinds> total{};
    const int side = SideOf(view.Seat());
    const int tricksLeft = 12 - view.CardsPlayed() / 4;
    const int trickEnd = (view.CardsPlayed() / 4 + 1) * 4;
    const bool exact = tricksLeft <= budget.exactTricks;
    // Each trick fewer to solve makes a solve about a third as long: the
    // worlds double with each, up to the worlds of the search.
    const int worlds = exact
                           ? std::min(budget.worlds, budget.exactWorlds << std::min(8, budget.exactTricks - tricksLeft))
                           : budget.worlds;
    // Exact solves share one fast solver, whose table outlives the worlds:
    // their last tricks often meet the same cards.
    std::optional<HandSolver> solver;
    if (exact) solver.emplace(19);
    Table table;  // made when a world is searched, not solved
    const int ahead = trickEnd + 4 * budget.tricksAhead;
    // Once two worlds have outgrown a budget the position is a hard one, and
    // the worlds after them get an eighth as much: under the usual rules a
    // decision seldom meets even one.
    std::uint64_t exactNodes = kExactWorldNodes;
    std::uint64_t aheadCards = budget.worldNodes;
    int exactCut = 0;
    int aheadCut = 0;
    double weights = 0;
    for (int w = 0; w < worlds; ++w) {
        if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) break;
        Random random(seed, static_cast<std::uint64_t>(w));
        const SampledWorld world = SampleWorld(view, random);
        const double weight = budget.weighted ? WorldWeight(view, world.hands) : 1.0;
        if (weight <= 0) continue;
        PlayState state = WorldState(view, world.hands);
        // A world that outgrows its budget (lopsided hands, following switched
        // off, where a world took millions of positions) is weighed the
        // cheaper way: the exact solve gives way to the look ahead, the look
        // ahead to each card played out by the rule players.
        PerKind<int> values{};
        bool solved = false;
        if (exact) {
            solver->Budget(exactNodes);
            values = solver->CardValues(state, cancel);
            solved = values[static_cast<std::size_t>(std::countr_zero(legal))] >= 0;
            if (!solved && !solver->OverBudget()) break;  // cancelled
            if (!solved && ++exactCut == 2) exactNodes = kExactWorldNodes / 8;
        }
        if (!solved) {
            if (table.empty()) table.resize(kTableSize);
            // Each legal card's value to a search from after it.
            auto weigh = [&](Solver& search) {
                search.SetBase();
                for (KindMask moves = legal; moves != 0 && !search.Exhausted(); moves &= moves - 1) {
                    state.Make(std::countr_zero(moves));
                    values[static_cast<std::size_t>(std::countr_zero(moves))] = search.Value(-kInfinity, kInfinity);
                    state.Unmake();
                }
            };
            Solver search(state, side, view.Declarer(), ahead, table);
            search.SetLimit(aheadCards);
            weigh(search);
            if (search.Exhausted()) {
                if (++aheadCut == 2) aheadCards = budget.worldNodes / 8;
                Solver playout(state, side, view.Declarer(), state.Played() + 1, table);
                weigh(playout);
            }
            choice.cut += exact || search.Exhausted();
        }
        for (KindMask moves = legal; moves != 0; moves &= moves - 1) {
            const auto kind = static_cast<std::size_t>(std::countr_zero(moves));
            total[kind] += weight * values[kind];
        }
        weights += weight;
        ++choice.worlds;
    }
    if (choice.worlds == 0) return choice;
    double best = -1;
    for (KindMask moves = legal; moves != 0; moves &= moves - 1) {
        const int kind = std::countr_zero(moves);
        if (total[static_cast<std::size_t>(kind)] > best)
            best = total[static_cast<std::size_t>(kind)], choice.card = kind;
    }
    choice.expected = best / weights;
    for (KindMask moves = legal; moves != 0; moves &= moves - 1) {
        const auto kind = static_cast<std::size_t>(std::countr_zero(moves));
        choice.byCard[kind] = total[kind] / weights;
    }
    return choice;
}

int ComputerCard(const SeatView& view, Level level, std::uint64_t seed, const std::atomic<bool>* cancel) {
    if (level == Level::Easy) return RuleCard(view);
    return SearchCard(view, BudgetOf(level), seed, cancel).card;
}

}  // namespace vantrel
