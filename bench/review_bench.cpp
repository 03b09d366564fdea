// The hand review's solver beside the search player's, on one thread, and a
// whole hand's review on every core.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "base/random.h"
#include "players/rule_player.h"
#include "players/search_player.h"
#include "review/hand_solver.h"
#include "rules/unseen_deck.h"

namespace vantrel {
namespace {

// A random deal under the usual rules, trump drawn, its first tricks played
// by the rule player, until `tricksLeft` remain.
PlayState Position(std::uint64_t seed, int tricksLeft) {
    Random random(seed, 0);
    const std::array<HandCounts, 4> hands = UnseenDeck(kWholeDeck).Deal(random, std::array<int, 4>{12, 12, 12, 12});
    const int trump = static_cast<int>(random.Below(4));
    const int declarer = static_cast<int>(random.Below(4));
    PlayState state(RuleSet::Standard(), hands, trump, declarer);
    while (state.Played() < 48 - 4 * tricksLeft) state.Make(RuleCard(state, declarer));
    return state;
}

template <class Solve>
void Timed(benchmark::State& bench, int tricksLeft, int positions, Solve solve) {
    std::vector<double> times;
    for (auto _ : bench) {
        for (int position = 0; position < positions; ++position) {
            PlayState state = Position(static_cast<std::uint64_t>(position) + 1, tricksLeft);
            const auto start = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(solve(state));
            times.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
    }
    std::sort(times.begin(), times.end());
    bench.counters["positions"] = static_cast<double>(times.size());
    bench.counters["median_ms"] = times[times.size() / 2];
    bench.counters["p90_ms"] = times[times.size() * 9 / 10];
    bench.counters["max_ms"] = times.back();
}

void SolveFromNineTricks(benchmark::State& bench) {
    HandSolver solver;
    Timed(bench, 9, 40, [&](PlayState& state) { return solver.Solve(state, 0); });
}
BENCHMARK(SolveFromNineTricks)->Iterations(1)->Unit(benchmark::kSecond);

void SolveFromNineTricksSearchPlayersSolver(benchmark::State& bench) {
    Timed(bench, 9, 10, [](PlayState& state) { return SolvePosition(state, 0); });
}
BENCHMARK(SolveFromNineTricksSearchPlayersSolver)->Iterations(1)->Unit(benchmark::kSecond);

void SolveWholeHand(benchmark::State& bench) {
    HandSolver solver;
    Timed(bench, 12, 10, [&](PlayState& state) { return solver.Solve(state, 0); });
}
BENCHMARK(SolveWholeHand)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace vantrel

BENCHMARK_MAIN();
